#include "cli/console_progress.h"

#include <unistd.h>

ConsoleProgress::ConsoleProgress(std::ostream& out, olmira::HeadlessWindow& window)
    : out_(out), window_(window), terminal_(isatty(STDERR_FILENO) == 1) {
    window_.onProgress = [this](const olmira::HeadlessWindow::ProgressView& progress) {
        Show(progress);
    };
}

ConsoleProgress::~ConsoleProgress() {
    window_.onProgress = nullptr;
    if (lineOpen_) {
        out_ << '\n';
    }
}

void ConsoleProgress::Show(const olmira::HeadlessWindow::ProgressView& progress) {
    const olmira::CopyProgressUpdate& now = progress.updates.back();
    out_ << (terminal_ ? "\r" : "") << progress.start.source << ": " << now.transferredKB << " von "
         << progress.start.sizeKB << " kB, " << now.bar << " %, "
         << (now.rateKBs ? std::to_string(*now.rateKBs) : std::string("?")) << " kB/s";
    if (terminal_) {
        out_ << "\x1b[K" << std::flush;
        lineOpen_ = true;
    } else {
        out_ << '\n';
    }
}
