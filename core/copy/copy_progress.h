#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conversation/reply_lines.h"

namespace olmira {

// Percentage of size done, truncated; may exceed 100. 0 for a size of 0.
std::int64_t BarPosition(std::int64_t transferredKB, std::int64_t sizeKB);

// kB per second over one poll of intervalMs; negative when the copy shrank.
std::int64_t TransferRate(std::int64_t transferredKB, std::int64_t lastKB, int intervalMs);

// The pause between polls: a hand-edited setting below one second would
// flood the box with listings.
int PollIntervalMs(int updateIntervall);

// The lines of a tool's own error messages among reply lines, each from
// prefix (e.g. "rm: ") on: a message may follow a prompt on the same line.
// The echoes of our own command lines are left out.
std::vector<std::string> ToolMessages(const ReplyLines& replyLines, std::string_view prefix);
// Messages as one text, separator between them.
std::string Joined(const std::vector<std::string>& messages, std::string_view separator);

}  // namespace olmira
