#include "form_copy_progress.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "preferred_font.h"
#include "text_codec.h"

namespace {

constexpr QSize kClientSize(324, 146);
constexpr int kLabelHeight = 16;

}  // namespace

TformCopyProgress::TformCopyProgress(QWidget* owner)
    : QWidget(owner,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("formCopyProgress"));
    setWindowTitle(QStringLiteral("Kopieren auf der Box"));
    setFont(PreferredFont(QStringLiteral("Verdana"), 8));
    setFixedSize(kClientSize);
    setFocusPolicy(Qt::StrongFocus);

    labelCopyWhat_ = AddLabel("labelCopyWhat", QStringLiteral("Kopiere ???"), {3, 3, 315, 20});
    QFont title = labelCopyWhat_->font();
    title.setPointSize(10);
    title.setBold(true);
    labelCopyWhat_->setFont(title);
    labelCopyWhat_->setAlignment(Qt::AlignCenter);
    AddLabel("Label1", QStringLiteral("Quelle"), {3, 33, 40, kLabelHeight});
    labelSource_ =
        AddLabel("labelSource", QStringLiteral("labelSource"), {45, 33, 245, kLabelHeight}, true);
    AddLabel("Label2", QStringLiteral("Ziel"), {3, 53, 40, kLabelHeight});
    labelDest_ =
        AddLabel("labelDest", QStringLiteral("labelDest"), {45, 53, 245, kLabelHeight}, true);
    AddLabel("Label3", QStringLiteral("Gesamt (kB)"), {5, 75, 93, kLabelHeight});
    AddLabel("Label4", QStringLiteral("Übertragen (kB)"), {100, 75, 103, kLabelHeight});
    AddLabel("Label5", QStringLiteral("Rate (kB/s)"), {205, 75, 85, kLabelHeight});
    labelSize_ =
        AddLabel("labelSize", QStringLiteral("labelSize"), {5, 95, 73, kLabelHeight}, true);
    labelTransfer_ = AddLabel("labelTransfer", QStringLiteral("labelTransfer"),
                              {100, 95, 95, kLabelHeight}, true);
    labelAVG_ = AddLabel("labelAVG", QStringLiteral("labelAVG"), {205, 95, 73, kLabelHeight}, true);
    for (QLabel* number : {labelSize_, labelTransfer_, labelAVG_}) {
        number->setAlignment(Qt::AlignCenter);
    }

    copyProgress_ = new QProgressBar(this);
    copyProgress_->setObjectName(QStringLiteral("CopyProgress"));
    copyProgress_->setOrientation(Qt::Vertical);
    copyProgress_->setTextVisible(false);
    copyProgress_->setRange(0, 100);
    copyProgress_->setValue(50);
    copyProgress_->setGeometry(295, 29, 24, 83);

    auto* cancel = new QPushButton(QStringLiteral("Abbrechen (Esc)"), this);
    cancel->setObjectName(QStringLiteral("bCancel"));
    cancel->setGeometry(5, 118, 150, 24);
    connect(cancel, &QPushButton::clicked, this, &TformCopyProgress::cancelRequested);
    auto* background = new QPushButton(QStringLiteral("Im &Hintergrund"), this);
    background->setObjectName(QStringLiteral("bBackground"));
    background->setGeometry(169, 118, 150, 24);
    connect(background, &QPushButton::clicked, this, &TformCopyProgress::backgroundRequested);
}

QLabel* TformCopyProgress::AddLabel(const char* name, const QString& text, QRect place, bool bold) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

void TformCopyProgress::Start(const olmira::CopyProgressStart& start) {
    labelCopyWhat_->setText(QStringLiteral("Daten werden kopiert..."));
    labelSource_->setText(DecodeText(start.source));
    labelDest_->setText(DecodeText(start.dest));
    labelSize_->setText(QString::number(start.sizeKB));
    labelTransfer_->setText(QStringLiteral("0"));
    labelAVG_->setText(QStringLiteral("?"));
    copyProgress_->setValue(0);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

// A copy that grew beyond its listed size shows a full bar. A job of
// several entries names the one on its way and where it stands among them.
void TformCopyProgress::Update(const olmira::CopyProgressUpdate& update) {
    if (update.itemCount > 0) {
        labelCopyWhat_->setText(QStringLiteral("%1 (%2 von %3)")
                                    .arg(DecodeText(update.item),
                                         QString::number(update.itemNumber),
                                         QString::number(update.itemCount)));
        labelSource_->setText(DecodeText(update.source));
    }
    labelTransfer_->setText(QString::number(update.transferredKB));
    copyProgress_->setValue(static_cast<int>(std::clamp<std::int64_t>(update.bar, 0, 100)));
    labelAVG_->setText(update.rateKBs ? QString::number(*update.rateKBs) : QStringLiteral("?"));
    repaint();
}

void TformCopyProgress::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit backgroundRequested();
}

void TformCopyProgress::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        emit cancelRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}
