#include "settings/profile_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <optional>

#include "error.h"
#include "settings/text_lines.h"
#include "settings/whole_file.h"

namespace olmira {

namespace {

constexpr std::size_t kMaxValueLength = 2047;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::uint64_t kInt32Max = 2147483647;

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// "[name]", possibly indented; whatever follows the first "]" is ignored.
std::optional<std::string_view> HeaderName(std::string_view text) {
    const std::string_view line = Trimmed(text);
    const std::size_t close = line.find(']');
    if (!line.starts_with('[') || close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trimmed(line.substr(1, close - 1));
}

std::string_view WithoutEnclosingQuotes(std::string_view value) {
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// Nothing but digits of the base; no sign, no blanks.
std::optional<std::uint64_t> Digits(std::string_view digits, int base) {
    std::uint64_t number = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, number, base);
    if (digits.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return number;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    bool negative = false;
    std::optional<std::uint64_t> magnitude;
    if (text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X"))) {
        magnitude = Digits(text.substr(2), 16);
    } else if (text.starts_with('$')) {
        magnitude = Digits(text.substr(1), 16);
    } else {
        negative = text.starts_with('-');
        if (negative || text.starts_with('+')) {
            text.remove_prefix(1);
        }
        magnitude = Digits(text, 10);
    }
    if (!magnitude || *magnitude > kInt32Max + (negative ? 1 : 0)) {
        return std::nullopt;
    }
    const auto value = static_cast<std::int64_t>(*magnitude);
    return static_cast<std::int32_t>(negative ? -value : value);
}

template <typename Sections>
auto FindNamedSection(Sections& sections, std::string_view name) {
    return std::find_if(sections.begin(), sections.end(), [name](const auto& section) {
        return section.HasHeader && EqualsIgnoringCase(section.Name, name);
    });
}

template <typename Lines>
auto FindKeyLine(Lines& lines, std::string_view key) {
    return std::find_if(lines.begin(), lines.end(), [key](const auto& line) {
        return line.HasValue && EqualsIgnoringCase(line.Key, key);
    });
}

Error WriteError(const std::string& iniPath) {
    return Error("nach " + iniPath + " kann nicht geschrieben werden");
}

}  // namespace

ProfileFile::Line ProfileFile::ParseLine(std::string_view text, std::string_view end) {
    Line line;
    line.Text = text;
    line.End = end;
    const std::size_t equals = text.find('=');
    if (equals != std::string_view::npos && !HeaderName(text)) {
        line.HasValue = true;
        line.Key = Trimmed(text.substr(0, equals));
        line.Value = Trimmed(text.substr(equals + 1));
    }
    return line;
}

ProfileFile ProfileFile::FromText(std::string_view text) {
    ProfileFile profile;
    profile.sections_.emplace_back();
    for (const TextLine& textLine : SplitTextLines(text)) {
        if (const auto name = HeaderName(textLine.Text)) {
            Section& section = profile.sections_.emplace_back();
            section.HasHeader = true;
            section.Name = *name;
        }
        profile.sections_.back().Lines.push_back(ParseLine(textLine.Text, textLine.End));
    }
    return profile;
}

ProfileFile ProfileFile::ReadFrom(const std::string& path) {
    return FromText(ReadWholeFile(path).Bytes);
}

const ProfileFile::Line* ProfileFile::FindValue(std::string_view section,
                                                std::string_view key) const {
    const auto found = FindNamedSection(sections_, section);
    if (found == sections_.end()) {
        return nullptr;
    }
    const auto line = FindKeyLine(found->Lines, key);
    return line == found->Lines.end() ? nullptr : &*line;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    const Line* line = FindValue(section, key);
    if (line == nullptr) {
        return std::string(defaultValue);
    }
    return std::string(WithoutEnclosingQuotes(line->Value).substr(0, kMaxValueLength));
}

std::int32_t ProfileFile::ReadInteger(std::string_view section, std::string_view key,
                                      std::int32_t defaultValue) const {
    return ParseInteger(ReadString(section, key, "")).value_or(defaultValue);
}

// Appending after an unended last line would glue the new line onto it.
void ProfileFile::EndLastLine() {
    std::vector<Line>& lines = sections_.back().Lines;
    if (!lines.empty() && lines.back().End.empty()) {
        lines.back().End = kLineEnd;
    }
}

ProfileFile::Section& ProfileFile::SectionToWrite(std::string_view name) {
    const auto found = FindNamedSection(sections_, name);
    if (found != sections_.end()) {
        return *found;
    }
    EndLastLine();
    Section& section = sections_.emplace_back();
    section.HasHeader = true;
    section.Name = name;
    // Appended piece by piece: GCC 12 warns wrongly (-Wrestrict) on "[" + name.
    std::string header(1, '[');
    header.append(name).push_back(']');
    section.Lines.push_back(ParseLine(header, kLineEnd));
    return section;
}

void ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    Line line = ParseLine(std::string(key) + "=" + std::string(value), kLineEnd);
    std::vector<Line>& lines = SectionToWrite(section).Lines;
    const auto existing = FindKeyLine(lines, key);
    if (existing != lines.end()) {
        *existing = std::move(line);
        return;
    }
    // Blank lines that separate this section from the next stay behind the
    // new key; the header is never blank, so there is always a last filled
    // line.
    const auto lastFilled = std::find_if(lines.rbegin(), lines.rend(),
                                         [](const Line& l) { return !Trimmed(l.Text).empty(); });
    if (lastFilled->End.empty()) {
        lastFilled->End = kLineEnd;
    }
    lines.insert(lastFilled.base(), std::move(line));
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

std::string ProfileFile::ToText() const {
    std::string text;
    for (const Section& section : sections_) {
        for (const Line& line : section.Lines) {
            text.append(line.Text).append(line.End);
        }
    }
    return text;
}

std::string ReadProfileString(const std::string& iniPath, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    return ProfileFile::ReadFrom(iniPath).ReadString(section, key, defaultValue);
}

std::int32_t ReadProfileInteger(const std::string& iniPath, std::string_view section,
                                std::string_view key, std::int32_t defaultValue) {
    return ProfileFile::ReadFrom(iniPath).ReadInteger(section, key, defaultValue);
}

void UpdateProfileFile(const std::string& iniPath, const std::function<void(ProfileFile&)>& edit) {
    const WholeFile current = ReadWholeFile(iniPath);
    const bool missing = current.ErrorNumber == ENOENT || current.ErrorNumber == ENOTDIR;
    if (current.ErrorNumber != 0 && !missing) {
        throw WriteError(iniPath);
    }
    ProfileFile profile = ProfileFile::FromText(current.Bytes);
    edit(profile);
    if (!ReplaceWholeFile(iniPath, profile.ToText())) {
        throw WriteError(iniPath);
    }
}

void WriteProfileString(const std::string& iniPath, std::string_view section, std::string_view key,
                        std::string_view value) {
    UpdateProfileFile(iniPath,
                      [&](ProfileFile& profile) { profile.WriteString(section, key, value); });
}

void WriteProfileInteger(const std::string& iniPath, std::string_view section, std::string_view key,
                         std::int32_t value) {
    UpdateProfileFile(iniPath,
                      [&](ProfileFile& profile) { profile.WriteInteger(section, key, value); });
}

}  // namespace olmira
