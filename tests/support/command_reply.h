#pragma once

#include <string_view>
#include <vector>

#include "conversation/reply_lines.h"

namespace olmira::test_support {

// The reply lines of one command: its echo, what it printed, the prompt.
inline ReplyLines CommandReply(std::string_view command,
                               const std::vector<std::string_view>& output) {
    ReplyLines lines{command};
    for (const std::string_view line : output) {
        lines.push_back(line);
    }
    lines.push_back("root@box:~# ");
    return lines;
}

}  // namespace olmira::test_support
