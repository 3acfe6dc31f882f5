#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace olmira {

// The most a line of ours holds: busybox ash's line editor keeps the first
// 1,024 bytes of a line and silently drops the rest.
inline constexpr std::size_t kMaxLineBytes = 1000;

// The longest command line sent at all, in pieces: a few paths up to the
// box's own limit of 4,096 bytes each and the words around them.
inline constexpr std::size_t kMaxCommandBytes = 3 * 4096;

// The lines that make the box's shell run command exactly as it stands.
// Usually that is the command itself. A command longer than a line, or one
// with bytes of 128 and above while the box's input is not binary (a telnetd
// may strip their eighth bit then), is built up in a shell variable by lines
// that each fit and carry only 7-bit bytes where needed, and the last line
// runs it with eval. Both bash and busybox ash read all of these alike.
std::vector<std::string> FitCommand(std::string_view command, bool binaryInput);

// Why command cannot be sent at all, in German; empty when it can.
std::string CommandRefusal(std::string_view command);

}  // namespace olmira
