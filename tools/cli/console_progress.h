#pragma once

#include <ostream>

#include "front/headless_window.h"

// Shows a copy's progress window as text: one line that updates itself on a
// terminal, a line per update elsewhere. Detaches from the window when gone.
class ConsoleProgress {
public:
    ConsoleProgress(std::ostream& out, olmira::HeadlessWindow& window);
    ~ConsoleProgress();
    ConsoleProgress(const ConsoleProgress&) = delete;
    ConsoleProgress& operator=(const ConsoleProgress&) = delete;

private:
    void Show(const olmira::HeadlessWindow::ProgressView& progress);

    std::ostream& out_;
    olmira::HeadlessWindow& window_;
    bool terminal_;
    bool lineOpen_ = false;
};
