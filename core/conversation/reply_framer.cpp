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

void ReplyFramer::EndLine() {
    const std::string_view line = lines_.OpenLine();
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

void ReplyFramer::Clear() {
    lines_.clear();
    promptSeen_ = false;
}

}  // namespace olmira
