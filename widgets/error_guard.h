#pragma once

#include <QString>
#include <functional>
#include <string>

class MessageBoxes;
class QWidget;

// The text the error box shows: a full stop is added unless the text already
// ends in a character that sorts at or before it ("Not Connected" gets one,
// "Connection refused." keeps its own).
std::string ErrorBoxText(std::string text);

// Runs every handler of the window, so that no error reaches Qt's event
// loop: an error ends the handler where it stands and is shown in the
// program's error box.
class ErrorGuard {
public:
    ErrorGuard(MessageBoxes& boxes, QWidget& parent) : boxes_(boxes), parent_(parent) {}

    void Run(const std::function<void()>& handler) const;
    void ShowError(const std::string& text) const;

private:
    MessageBoxes& boxes_;
    QWidget& parent_;
};
