#include "form_log.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "preferred_font.h"

namespace {

// How long one turn of the event loop may spend on the log.
constexpr qint64 kAppendBudgetMs = 8;

}  // namespace

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
    pending_.push_back(block);
    AppendLater();
}

// A posted call, not a timer: the event loop serves what was posted before
// it first, input and painting included.
void TformLog::AppendLater() {
    if (!appendQueued_) {
        appendQueued_ = true;
        QMetaObject::invokeMethod(this, &TformLog::AppendSome, Qt::QueuedConnection);
    }
}

void TformLog::AppendSome() {
    appendQueued_ = false;
    QElapsedTimer spent;
    spent.start();
    while (!pending_.empty() && spent.elapsed() < kAppendBudgetMs) {
        memoLog_->appendPlainText(pending_.front());
        pending_.pop_front();
    }
    if (!pending_.empty()) {
        AppendLater();
    }
}
