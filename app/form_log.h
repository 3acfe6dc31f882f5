#pragma once

#include <QString>
#include <QWidget>
#include <deque>

class QPlainTextEdit;

// The raw log: every block received from the box, as it came. A tool window
// of the main window, hidden until the log button shows it; closing it only
// hides it, so the log survives.
class TformLog final : public QWidget {
    Q_OBJECT

public:
    explicit TformLog(QWidget* owner);

    // Adds block as a new entry that starts on a new line. The text field
    // takes it from the event loop a moment later, a few blocks at a time:
    // a listing of 100,000 lines would otherwise hold the window for the
    // best part of a second while the text field makes a paragraph of each.
    void AppendLog(const QString& block);
    QPlainTextEdit& Memo() const { return *memoLog_; }
    // Whether blocks wait for the text field.
    bool Pending() const { return !pending_.empty(); }

private:
    void AppendSome();
    void AppendLater();

    QPlainTextEdit* memoLog_;
    std::deque<QString> pending_;
    bool appendQueued_ = false;
};
