#include "conversation/command_fit.h"

#include <algorithm>
#include <cstdio>

namespace olmira {

namespace {

// Where the command is built up; nothing of ours uses the name otherwise.
constexpr std::string_view kVariable = "olmirafm_line";

bool HasEightBitByte(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 128; });
}

// One byte as printf's format reads it back: plain ASCII as it is, anything
// the quotes, printf or the wire could change as an octal escape; "-" too,
// which would be taken for an option where it opens the format.
std::string PrintfByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7f &&
        std::string_view("'\\%-").find(c) == std::string_view::npos) {
        return std::string(1, c);
    }
    char octal[5];
    std::snprintf(octal, sizeof octal, "\\%03o", byte);
    return octal;
}

// One byte inside single quotes, where only the quote itself needs care.
std::string QuotedByte(char c) {
    return c == '\'' ? std::string("'\\''") : std::string(1, c);
}

// The assignment lines, each within kMaxLineBytes: the first sets the
// variable, the others append to it.
std::vector<std::string> Assignments(std::string_view command, bool sevenBit) {
    const std::string first = std::string(kVariable) + "=";
    const std::string next = first + "$" + std::string(kVariable);
    const std::string_view open = sevenBit ? "$(printf '" : "'";
    const std::string_view close = sevenBit ? "')" : "'";
    std::vector<std::string> lines;
    std::string line;
    for (const char c : command) {
        const std::string byte = sevenBit ? PrintfByte(c) : QuotedByte(c);
        if (!line.empty() && line.size() + byte.size() + close.size() > kMaxLineBytes) {
            lines.push_back(line.append(close));
            line.clear();
        }
        if (line.empty()) {
            line = (lines.empty() ? first : next);
            line += open;
        }
        line += byte;
    }
    lines.push_back(line.append(close));
    return lines;
}

}  // namespace

std::vector<std::string> FitCommand(std::string_view command) {
    const bool sevenBit = HasEightBitByte(command);
    if (!sevenBit && command.size() <= kMaxLineBytes) {
        return {std::string(command)};
    }
    std::vector<std::string> lines = Assignments(command, sevenBit);
    lines.push_back("eval \"$" + std::string(kVariable) + "\"");
    return lines;
}

bool PreparesCommand(std::string_view line) {
    return line.starts_with(kVariable) && line.substr(kVariable.size()).starts_with("=");
}

std::string CommandRefusal(std::string_view command) {
    if (command.size() <= kMaxCommandBytes) {
        return {};
    }
    return "Der Befehl ist mit " + std::to_string(command.size()) +
           " Bytes zu lang für die Box; ein Pfad darf höchstens 4096 Bytes lang sein.";
}

}  // namespace olmira
