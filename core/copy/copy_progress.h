#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conversation/reply_lines.h"

namespace olmira {

// The progress listing's entry line among the replies collected since the
// copy started: the line before the last prompt line, line 1 (the echo of the
// copy command) not counted as a prompt line. Empty when there is none.
std::string_view ProgressLine(const ReplyLines& replyLines, std::string_view marker);

// text as a signed 32-bit decimal number; 0 when it is not one.
std::int32_t ReadInt32(std::string_view text);

// The kB a progress line reports: its first field, 0 for an error line.
std::int64_t TransferredKB(std::string_view progressLine);

// Percentage of size done, truncated; may exceed 100. 0 for a size of 0.
std::int64_t BarPosition(std::int64_t transferredKB, std::int64_t sizeKB);

// kB per second over one poll of intervalMs; negative when the copy shrank.
std::int64_t TransferRate(std::int64_t transferredKB, std::int64_t lastKB, int intervalMs);

// The pause between polls: a hand-edited setting below one second would
// flood the box with listings.
int PollIntervalMs(int updateIntervall);

// The lines of cp's own error messages among reply lines, each from "cp: "
// on (a message may follow a prompt on the same line). The echoes of the
// copy's own command lines are left out.
std::vector<std::string> CpMessages(const ReplyLines& replyLines);
// The same for another tool's messages, prefix being e.g. "rm: ".
std::vector<std::string> ToolMessages(const ReplyLines& replyLines, std::string_view prefix);
// Messages as one text, separator between them.
std::string Joined(const std::vector<std::string>& messages, std::string_view separator);

}  // namespace olmira
