#include "copy/box_figures.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <utility>
#include <vector>

#include "conversation/shell_command.h"

namespace olmira {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kDfHeaderStart = "Filesystem";
constexpr std::size_t kMountsFields = 6;  // device mountpoint type options dump pass

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// Nothing but decimal digits; a figure too large for 64 bits is no figure.
std::optional<std::int64_t> Figure(std::string_view digits) {
    if (digits.empty() || !IsDigit(digits.front())) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// GNU df prints a negative "Available" when root has eaten into the
// reserved blocks.
std::optional<std::int64_t> SignedFigure(std::string_view text) {
    if (text.starts_with('-')) {
        const std::optional<std::int64_t> magnitude = Figure(text.substr(1));
        return magnitude ? std::optional<std::int64_t>(-*magnitude) : std::nullopt;
    }
    return Figure(text);
}

// The words of a line between runs of blanks; df pads its columns.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t start = line.find_first_not_of(kBlanks);
    while (start != std::string_view::npos) {
        const std::size_t stop = std::min(line.find_first_of(kBlanks, start), line.size());
        words.push_back(line.substr(start, stop - start));
        start = line.find_first_not_of(kBlanks, stop);
    }
    return words;
}

bool IsDfHeader(std::string_view line) {
    const std::vector<std::string_view> words = Words(line);
    return !words.empty() && words.front() == kDfHeaderStart;
}

// The figures of the data below a df header at line first. A device name
// too long for its column stands alone, and its figures follow on the next
// line. A mount point may hold blanks, so the figures are counted from the
// device on.
std::optional<DiskSpace> DfData(const ReplyLines& lines, std::size_t first) {
    std::vector<std::string_view> words = Words(lines[first]);
    if (words.size() == 1 && first + 1 < lines.size()) {
        const std::vector<std::string_view> figures = Words(lines[first + 1]);
        words.insert(words.end(), figures.begin(), figures.end());
    }
    if (words.size() < 4) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> total = Figure(words[1]);
    const std::optional<std::int64_t> available = SignedFigure(words[3]);
    if (!total || !Figure(words[2]) || !available) {
        return std::nullopt;
    }
    return DiskSpace{*total, *available};
}

// A mount point as /proc/mounts escapes it: "\040" for a blank, "\134" for
// a backslash and so on.
std::string Unescaped(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool escape = field[i] == '\\' && i + 3 < field.size() &&
                            IsOctalDigit(field[i + 1]) && IsOctalDigit(field[i + 2]) &&
                            IsOctalDigit(field[i + 3]);
        if (escape) {
            text.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                             (field[i + 3] - '0')));
            i += 3;
        } else {
            text.push_back(field[i]);
        }
    }
    return text;
}

// Unsigned, so that the smallest int64 has one too.
std::uint64_t Magnitude(std::int64_t value) {
    const std::uint64_t bits = static_cast<std::uint64_t>(value);
    return value < 0 ? ~bits + 1 : bits;
}

// A line of du: its figure, blanks (du's tab, or the blanks a box's
// terminal expands it to) and the path; nullopt for any other line.
struct DuLine {
    std::int64_t kB = 0;
    std::string_view path;
};

std::optional<DuLine> ReadDuLine(std::string_view line) {
    const std::size_t blank = line.find_first_of(kBlanks);
    if (blank == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> figure = Figure(line.substr(0, blank));
    if (!figure) {
        return std::nullopt;
    }
    const std::size_t start = line.find_first_not_of(kBlanks, blank);
    return DuLine{*figure,
                  start == std::string_view::npos ? std::string_view() : line.substr(start)};
}

bool Holds(std::string_view mountPoint, std::string_view path) {
    if (!path.starts_with(mountPoint)) {
        return false;
    }
    return path.size() == mountPoint.size() || mountPoint.ends_with('/') ||
           path[mountPoint.size()] == '/';
}

}  // namespace

std::optional<DiskSpace> ParseDiskSpace(const ReplyLines& lines) {
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (!IsDfHeader(lines[i])) {
            continue;
        }
        if (const std::optional<DiskSpace> space = DfData(lines, i + 1)) {
            return space;
        }
    }
    return std::nullopt;
}

std::string FileSystemType(const ReplyLines& lines, std::string_view path) {
    std::string type;
    std::size_t longest = 0;
    for (const std::string_view line : lines) {
        // Six fields ending in two figures: the echo and the prompt don't
        // have that shape.
        const std::vector<std::string_view> fields = Words(line);
        if (fields.size() != kMountsFields || !Figure(fields[4]) || !Figure(fields[5])) {
            continue;
        }
        const std::string mountPoint = Unescaped(fields[1]);
        if (!mountPoint.starts_with('/') || !Holds(mountPoint, path)) {
            continue;
        }
        if (mountPoint.size() >= longest) {
            longest = mountPoint.size();
            type = fields[2];
        }
    }
    return type;
}

bool IsFatFileSystem(std::string_view type) {
    return type == "vfat" || type == "msdos" || type == "fat";
}

std::vector<ReplyLines> SizeReplies(const ReplyLines& lines) {
    std::vector<ReplyLines> parts;
    ReplyLines part;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i] == kSizeEnd) {
            parts.push_back(std::exchange(part, {}));
        } else {
            part.push_back(lines[i]);
        }
    }
    return parts;
}

std::optional<std::int64_t> ParseDuFigure(const ReplyLines& lines) {
    for (const std::string_view line : lines) {
        if (const std::optional<DuLine> du = ReadDuLine(line)) {
            return du->kB;
        }
    }
    return std::nullopt;
}

std::vector<std::optional<std::int64_t>> ParseDuFigures(const ReplyLines& lines,
                                                        const std::vector<std::string>& paths) {
    std::vector<std::optional<std::int64_t>> figures(paths.size());
    for (const std::string_view line : lines) {
        const std::optional<DuLine> du = ReadDuLine(line);
        if (!du || !du->path.starts_with(kMediaRoot)) {
            continue;
        }
        const auto named =
            std::find(paths.begin(), paths.end(), du->path.substr(kMediaRoot.size()));
        if (named != paths.end()) {
            figures[static_cast<std::size_t>(named - paths.begin())] = du->kB;
        }
    }
    return figures;
}

std::optional<std::int64_t> ParseCount(const ReplyLines& lines) {
    for (const std::string_view line : lines) {
        const std::size_t first = line.find_first_not_of(kBlanks);
        const std::size_t last = line.find_last_not_of(kBlanks);
        if (first == std::string_view::npos) {
            continue;
        }
        if (const std::optional<std::int64_t> count =
                Figure(line.substr(first, last + 1 - first))) {
            return count;
        }
    }
    return std::nullopt;
}

std::string GermanThousands(std::int64_t value) {
    const std::uint64_t magnitude = Magnitude(value);
    char digits[20];
    const char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const std::string_view text(digits, static_cast<std::size_t>(end - digits));
    std::string grouped = value < 0 ? "-" : "";
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i > 0 && (text.size() - i) % 3 == 0) {
            grouped.push_back('.');
        }
        grouped.push_back(text[i]);
    }
    return grouped;
}

std::string GermanSize(std::int64_t kB) {
    static constexpr std::string_view kUnits[] = {"MB", "GB", "TB"};
    constexpr std::uint64_t kStep = 1024;
    const std::uint64_t magnitude = Magnitude(kB);
    const std::string sign = kB < 0 ? "-" : "";
    if (magnitude < kStep) {
        return sign + std::to_string(magnitude) + " kB";
    }
    // In tenths of the unit, rounded; a unit is left once it would show 1024.
    std::uint64_t divisor = kStep;
    std::size_t unit = 0;
    auto tenths = [&magnitude, &divisor] {
        return magnitude / divisor * 10 + ((magnitude % divisor) * 10 + divisor / 2) / divisor;
    };
    while (tenths() >= kStep * 10 && unit + 1 < std::size(kUnits)) {
        divisor *= kStep;
        ++unit;
    }
    const std::uint64_t shown = tenths();
    return sign + GermanThousands(static_cast<std::int64_t>(shown / 10)) + "," +
           std::to_string(shown % 10) + " " + std::string(kUnits[unit]);
}

}  // namespace olmira
