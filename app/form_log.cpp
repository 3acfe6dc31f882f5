#include "form_log.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "preferred_font.h"

TformLog::TformLog(QWidget* owner) : QWidget(owner, Qt::Tool), memoLog_(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("formLog"));
    setWindowTitle(QStringLiteral("Log"));
    setFont(PreferredFont(QStringLiteral("MS Sans Serif"), 8));
    setGeometry(174, 185, 442, 265);

    memoLog_->setObjectName(QStringLiteral("memoLog"));
    memoLog_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memoLog_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoLog_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The log grows for the whole run; an undo history of it would double
    // its memory for nothing.
    memoLog_->setUndoRedoEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memoLog_);
}

void TformLog::AppendLog(const QString& block) {
    memoLog_->appendPlainText(block);
}
