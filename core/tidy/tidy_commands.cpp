#include "tidy/tidy_commands.h"

#include <charconv>

#include "conversation/shell_command.h"
#include "copy/name_pattern.h"

namespace olmira {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kSizeLabel = "Size:";
constexpr std::string_view kModifyLabel = "Modify:";
// "2026-12-09 07:27:11"
constexpr std::size_t kDateLength = 10;
constexpr std::size_t kTimeLength = 8;

std::string_view SkipBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(kBlanks);
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

// What follows label on a line that starts with it, blanks ahead of both
// skipped: stat indents "Size:" and not "Modify:". The "File:" line, which
// holds the name, starts with neither.
std::optional<std::string_view> Labelled(const ReplyLines& lines, std::string_view label) {
    for (const std::string_view line : lines) {
        const std::string_view text = SkipBlanks(line);
        if (text.starts_with(label)) {
            return SkipBlanks(text.substr(label.size()));
        }
    }
    return std::nullopt;
}

std::optional<std::int64_t> LeadingFigure(std::string_view text) {
    std::int64_t value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || stop == text.data() || value < 0) {
        return std::nullopt;
    }
    return value;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool HasShape(std::string_view text, std::string_view shape) {
    if (text.size() != shape.size()) {
        return false;
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == '9' ? !IsDigit(text[i]) : text[i] != shape[i]) {
            return false;
        }
    }
    return true;
}

std::string MakeFolderCommand(std::string_view folder, std::string_view newName) {
    return std::string(kMakeFolderStart) +
           ShellWord(std::string(kMediaRoot) + std::string(folder) + std::string(newName));
}

std::string RenameCommand(std::string_view folder, std::string_view name,
                          std::string_view newName) {
    return std::string(kRenameStart) + MediaPattern(folder, BareName(name)) + " " +
           ShellWord(std::string(kMediaRoot) + std::string(folder) + std::string(newName));
}

std::string StatCommand(std::string_view folder, std::string_view name) {
    return std::string(kStatStart) + MediaPattern(folder, name);
}

std::optional<EntryStatus> ParseStatus(const ReplyLines& lines) {
    const std::optional<std::string_view> size = Labelled(lines, kSizeLabel);
    const std::optional<std::string_view> modify = Labelled(lines, kModifyLabel);
    if (!size || !modify) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> bytes = LeadingFigure(*size);
    const std::string_view stamp = modify->substr(0, kDateLength + 1 + kTimeLength);
    if (!bytes || !HasShape(stamp, "9999-99-99 99:99:99")) {
        return std::nullopt;
    }
    return EntryStatus{*bytes, std::string(stamp)};
}

std::string GermanDate(std::string_view modified) {
    if (!HasShape(modified.substr(0, kDateLength), "9999-99-99")) {
        return std::string(modified);
    }
    return std::string(modified.substr(8, 2)) + "." + std::string(modified.substr(5, 2)) + "." +
           std::string(modified.substr(0, 4)) + std::string(modified.substr(kDateLength));
}

}  // namespace olmira
