#include "copy/copy_progress.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "copy/copy_commands.h"
#include "session/listing.h"
#include "tidy/tidy_commands.h"

namespace olmira {

namespace {

constexpr int kMinPollIntervalMs = 1000;

// The echo names the command before any message text in its names; a real
// message may name a path that holds a command's words further on.
bool IsEchoOfOurCommand(std::string_view line, std::size_t messageStart) {
    for (const std::string_view command : {kDiskUsageStart, kMoveStart, kRemoveStart, kFindStart,
                                           kMakeFolderStart, kRenameStart, kStatStart}) {
        if (line.find(command) < messageStart) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::int64_t BarPosition(std::int64_t transferredKB, std::int64_t sizeKB) {
    if (sizeKB == 0) {
        return 0;
    }
    const double ratio = static_cast<double>(transferredKB) / static_cast<double>(sizeKB);
    return static_cast<std::int64_t>(std::trunc(ratio * 100.0));
}

std::int64_t TransferRate(std::int64_t transferredKB, std::int64_t lastKB, int intervalMs) {
    const double perMs = static_cast<double>(transferredKB - lastKB) / intervalMs;
    return static_cast<std::int64_t>(std::trunc(perMs * 1000.0));
}

int PollIntervalMs(int updateIntervall) {
    return std::max(updateIntervall, kMinPollIntervalMs);
}

std::vector<std::string> ToolMessages(const ReplyLines& replyLines, std::string_view prefix) {
    std::vector<std::string> messages;
    for (const std::string_view line : replyLines) {
        const std::size_t start = line.find(prefix);
        if (start != std::string::npos && !IsEchoOfOurCommand(line, start)) {
            messages.emplace_back(line.substr(start));
        }
    }
    return messages;
}

std::string Joined(const std::vector<std::string>& messages, std::string_view separator) {
    std::string text;
    for (const std::string& message : messages) {
        if (!text.empty()) {
            text += separator;
        }
        text += message;
    }
    return text;
}

}  // namespace olmira
