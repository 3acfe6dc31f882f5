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

// The long form's names are no use (a link's shows its target too), so sed
// keeps a line's date alone, and only of a line that starts with a mode:
// the rest of a name with a line break in it yields no date. In the C
// locale "." takes any byte. The loop names the folder once, so its path
// may be as long as for any other command.
std::string DatesCommand(std::string_view path) {
    static constexpr std::string_view kDateOnly =
        R"('s/^[-bcdlps][-rwxsStT]\{9\}[^:]*\([0-9]\{4\}-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]\).*/\1/p')";
    return "for ofm_folder in " + MediaPattern(path) +
           R"(; do ls -An --full-time "$ofm_folder" 2>/dev/null | LC_ALL=C sed -n )" +
           std::string(kDateOnly) + "; done";
}

}  // namespace olmira
