#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace olmira {

// The most a line of ours holds: busybox ash's line editor keeps the first
// 1,024 bytes of a line and silently drops the rest.
inline constexpr std::size_t kMaxLineBytes = 1000;

// The longest command line sent at all, in pieces: two paths up to the box's
// own limit of 4,096 bytes, each byte of them escaped at worst, and the words
// around them.
inline constexpr std::size_t kMaxCommandBytes = 2 * 2 * 4096 + 1000;

// The lines that make the box's shell run command exactly as it stands.
// Usually that is the command itself. A command longer than a line, or one
// with bytes of 128 and above, is built up in a shell variable by lines that
// each fit and carry only 7-bit bytes where needed, and the last line runs it
// with eval. Both bash and busybox ash read all of these alike.
//
// Bytes of 128 and above never reach the box's line editor as they are: a
// telnetd not in binary mode may strip their eighth bit, and bash's line
// editor in a UTF-8 locale drops a byte that is not valid UTF-8 (a Latin-1
// name) even in binary mode.
std::vector<std::string> FitCommand(std::string_view command);

// Whether line is one of those that build a command up for eval.
bool PreparesCommand(std::string_view line);

// Why command cannot be sent at all, in German; empty when it can.
std::string CommandRefusal(std::string_view command);

}  // namespace olmira
