#include "conversation/shell_command.h"

#include <algorithm>

namespace olmira {

namespace {

bool StandsUnquoted(char c) {
    const bool letterOrDigit =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    return letterOrDigit || std::string_view("._/+,:@%-").find(c) != std::string_view::npos;
}

bool EscapedInQuotes(char c) {
    return std::string_view("\\\"$`").find(c) != std::string_view::npos;
}

}  // namespace

std::string ShellWord(std::string_view path) {
    if (!path.empty() && std::all_of(path.begin(), path.end(), StandsUnquoted)) {
        return std::string(path);
    }
    std::string word = "\"";
    for (const char c : path) {
        if (EscapedInQuotes(c)) {
            word += '\\';
        }
        word += c;
    }
    word += '"';
    return word;
}

std::string ShellPattern(std::string_view path) {
    std::string word;
    for (std::size_t start = 0;;) {
        const std::size_t mark = path.find('?', start);
        const std::string_view part = path.substr(start, mark - start);
        if (!part.empty()) {
            word += ShellWord(part);
        }
        if (mark == std::string_view::npos) {
            break;
        }
        word += '?';
        start = mark + 1;
    }
    return word.empty() ? ShellWord(path) : word;
}

std::string MediaPattern(std::string_view folder, std::string_view name) {
    std::string path(kMediaRoot);
    path += folder;
    path += name;
    return ShellPattern(path);
}

std::string ListingCommand(std::string_view path) {
    return "ls -1Aps " + MediaPattern(path);
}

}  // namespace olmira
