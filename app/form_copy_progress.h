#pragma once

#include <QWidget>

#include "copy/copy_window.h"

class QLabel;
class QProgressBar;

// The small window that follows a large copy: the total, the kB copied so
// far, the rate and a vertical bar. It has a title but no close box, stays
// on top and is not modal; Esc or its cancel button asks to cancel the
// copy, its background button lets the job go on without it.
class TformCopyProgress final : public QWidget {
    Q_OBJECT

public:
    explicit TformCopyProgress(QWidget* owner);

    void Start(const olmira::CopyProgressStart& start);
    void Update(const olmira::CopyProgressUpdate& update);

signals:
    void cancelRequested();
    void backgroundRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // A window manager that gives it a close box anyway: closing it leaves
    // the job to the box, as its background button does.
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* AddLabel(const char* name, const QString& text, QRect place, bool bold = false);

    QLabel* labelCopyWhat_;
    QLabel* labelSource_;
    QLabel* labelDest_;
    QLabel* labelSize_;
    QLabel* labelTransfer_;
    QLabel* labelAVG_;
    QProgressBar* copyProgress_;
};
