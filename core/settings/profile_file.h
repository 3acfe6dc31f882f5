#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace olmira {

// An INI file held as its lines, so that an update rewrites only the lines it
// changes and every other byte of the file stays as it was. Section and key
// names match regardless of ASCII letter case; bytes are never decoded.
class ProfileFile {
public:
    static ProfileFile FromText(std::string_view text);
    // A file that is missing or cannot be read has no sections: every read
    // gives its default.
    static ProfileFile ReadFrom(const std::string& path);

    // The value trimmed of blanks, without one pair of enclosing quotes, cut to
    // 2047 bytes. A key with nothing after "=" gives an empty text; only a
    // missing section or key gives the default.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // "0x1388" and "$1388" are hexadecimal, anything else decimal with an
    // optional sign; what is empty, not a number or beyond 32 bits gives the
    // default.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;

    // Replaces the key's line where it stands; a new key goes after the last
    // non-blank line of its section, a new section at the end of the file.
    // Lines written here end in CR LF.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);

    std::string ToText() const;

private:
    struct Line {
        std::string Text;
        std::string End;
        // Trimmed, for the "key=value" lines only.
        bool HasValue = false;
        std::string Key;
        std::string Value;
    };
    struct Section {
        // The lines before the first header form a section without a name
        // that no lookup finds.
        bool HasHeader = false;
        std::string Name;
        std::vector<Line> Lines;
    };

    static Line ParseLine(std::string_view text, std::string_view end);
    const Section* FindSection(std::string_view name) const;
    Section& SectionToWrite(std::string_view name);
    const Line* FindValue(std::string_view section, std::string_view key) const;
    void EndLastLine();

    std::vector<Section> sections_;
};

std::string ReadProfileString(const std::string& iniPath, std::string_view section,
                              std::string_view key, std::string_view defaultValue);
std::int32_t ReadProfileInteger(const std::string& iniPath, std::string_view section,
                                std::string_view key, std::int32_t defaultValue);

// Reads the file afresh, applies the edit and replaces the file in one step.
// Throws Error "nach <iniPath> kann nicht geschrieben werden" when the file
// cannot be replaced, or exists but cannot be read (writing then would drop
// its other settings); the file is then left as it was.
void UpdateProfileFile(const std::string& iniPath, const std::function<void(ProfileFile&)>& edit);
void WriteProfileString(const std::string& iniPath, std::string_view section, std::string_view key,
                        std::string_view value);
void WriteProfileInteger(const std::string& iniPath, std::string_view section, std::string_view key,
                         std::int32_t value);

}  // namespace olmira
