#pragma once

#include <QWidget>

class QPlainTextEdit;

// The raw log: every block received from the box, as it came. A tool window
// of the main window, hidden until the log button shows it; closing it only
// hides it, so the log survives.
class TformLog final : public QWidget {
    Q_OBJECT

public:
    explicit TformLog(QWidget* owner);

    // Adds block as a new entry that starts on a new line.
    void AppendLog(const QString& block);
    QPlainTextEdit& Memo() const { return *memoLog_; }

private:
    QPlainTextEdit* memoLog_;
};
