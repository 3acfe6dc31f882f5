#include "conversation/reply_framer.h"

namespace olmira {

bool ReplyFramer::HoldsPrompt(std::string_view line) const {
    return !marker_.empty() && line.size() > marker_.size() && line.starts_with(marker_);
}

bool ReplyFramer::Feed(std::string_view block) {
    while (!block.empty()) {
        const std::size_t end = block.find_first_of("\r\n");
        lines_.AppendToOpenLine(block.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        if (block[end] == '\r') {
            EndLine();
        }
        block.remove_prefix(end + 1);
    }
    return promptSeen_ || HoldsPrompt(lines_.OpenLine());
}

// A line end while what has come is a true beginning of the line sent, as
// long as a terminal line at least, is the editor's wrap; so is one before
// anything came, where an editor that scrolls sideways redraws the line.
// Anything else ends the echo's line, however the editor drew it.
bool ReplyFramer::InsideEcho(std::string_view openLine) {
    constexpr std::size_t kNarrowestWrap = 16;
    if (echo_.empty()) {
        return false;
    }
    // Padding NULs are no part of what was typed.
    std::string typed(openLine);
    std::erase(typed, '\0');
    const bool wrapped = typed.size() >= kNarrowestWrap && typed.size() < echo_.size() &&
                         std::string_view(echo_).starts_with(typed);
    if (typed.empty() || wrapped) {
        return true;
    }
    echo_.clear();
    return false;
}

void ReplyFramer::EndLine() {
    const std::string_view line = lines_.OpenLine();
    if (InsideEcho(line)) {
        return;
    }
    if (const std::optional<JobNotice> notice = ParseJobNotice(line)) {
        endedJobs_.push_back(*notice);
        lines_.DropOpenLine();
        return;
    }
    promptSeen_ = promptSeen_ || HoldsPrompt(line);
    lines_.EndLine();
}

std::optional<JobEnd> ReplyFramer::JobEnded(int job) const {
    for (const JobNotice& notice : endedJobs_) {
        if (notice.job == job) {
            return notice.end;
        }
    }
    return std::nullopt;
}

void ReplyFramer::EndReply() {
    lines_.EndLine();
    promptSeen_ = false;
}

void ReplyFramer::ForgetPrompt() {
    if (HoldsPrompt(lines_.OpenLine())) {
        lines_.DropOpenLine();
    }
}

void ReplyFramer::Clear() {
    lines_.clear();
    promptSeen_ = false;
}

}  // namespace olmira
