#include "session/listing.h"

namespace olmira {

namespace {

constexpr std::size_t kFirstEntryLine = 2;  // after the echo and the summary line

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool IsFolderLine(std::string_view line) {
    return !line.empty() && line.back() == '/';
}

// An entry line's size field and name. The name is all that follows the
// first space after the size, so names with spaces stay whole.
struct EntryFields {
    std::string_view size;
    std::string_view name;
};

bool SplitEntry(std::string_view line, EntryFields& fields) {
    const std::string_view trimmed = Trim(line);
    const std::size_t space = trimmed.find(' ');
    if (space == std::string_view::npos) {
        return false;
    }
    fields.size = trimmed.substr(0, space);
    fields.name = trimmed.substr(space + 1);
    return true;
}

void AddEntries(const std::vector<std::string>& lines, bool folders, std::vector<ListEntry>& out) {
    for (std::size_t i = kFirstEntryLine; i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i];
        EntryFields fields;
        if (IsFolderLine(line) != folders || !SplitEntry(line, fields)) {
            continue;
        }
        if (folders) {
            out.push_back({std::string(fields.name), ImageFolder, {}});
        } else {
            out.push_back({std::string(fields.name), ImageFile, std::string(fields.size)});
        }
    }
}

}  // namespace

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

TStrArray SplitFields(std::string_view text) {
    TStrArray fields;
    do {
        const std::size_t space = text.find(' ');
        if (space == std::string_view::npos) {
            fields.emplace_back(text);
            text = {};
        } else {
            fields.emplace_back(text.substr(0, space));
            text.remove_prefix(space + 1);
        }
    } while (!text.empty());
    return fields;
}

std::vector<std::string> DriveEntries(const std::vector<std::string>& replyLines) {
    std::vector<std::string> drives;
    for (std::size_t i = 1; i < replyLines.size(); ++i) {
        if (!replyLines[i].empty()) {
            drives.push_back(replyLines[i] + "/");
        }
    }
    return drives;
}

std::vector<ListEntry> ListingEntries(const std::vector<std::string>& replyLines, int folderDepth) {
    std::vector<ListEntry> entries;
    entries.reserve(replyLines.size() + 2);
    entries.push_back({"./", ImageRefresh, {}});
    if (folderDepth > 1) {
        entries.push_back({"../", ImageFolderUp, {}});
    }
    AddEntries(replyLines, true, entries);
    AddEntries(replyLines, false, entries);
    return entries;
}

}  // namespace olmira
