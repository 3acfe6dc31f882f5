#include "session/listing.h"

#include <algorithm>

#include "jobs/runner_commands.h"

namespace olmira {

namespace {

constexpr std::size_t kFirstEntryLine = 1;  // after the echo

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool IsFolderLine(std::string_view line) {
    return !line.empty() && line.back() == '/';
}

// An entry line's size field and name. The size may be padded in front;
// the name is all that follows the blank after it, so names with blanks,
// at the end too, stay whole.
struct EntryFields {
    std::string_view size;
    std::string_view name;
};

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Only a line that starts with a size in digits is an entry: neither the
// summary line ("total 24") nor any part of a command's echo is one.
bool SplitEntry(std::string_view line, EntryFields& fields) {
    while (!line.empty() && IsBlank(line.front())) {
        line.remove_prefix(1);
    }
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || space + 1 == line.size()) {
        return false;
    }
    fields.size = line.substr(0, space);
    fields.name = line.substr(space + 1);
    return AllDigits(fields.size);
}

// ordinal counts the entry lines in reply order, both groups' alike.
void AddEntries(const ReplyLines& lines, bool folders, EntryList& out, ListedOrder* order) {
    std::uint32_t ordinal = 0;
    for (std::size_t i = kFirstEntryLine; i + 1 < lines.size(); ++i) {
        const std::string_view line = lines[i];
        EntryFields fields;
        if (!SplitEntry(line, fields)) {
            continue;
        }
        ++ordinal;
        // A running job's temporary copies are no recordings (yet).
        if (IsFolderLine(line) != folders || IsTemporaryName(fields.name)) {
            continue;
        }
        if (folders) {
            out.Add(EntryKind::Folder, fields.name);
        } else {
            out.Add(EntryKind::File, fields.name, fields.size);
        }
        if (order != nullptr) {
            order->lineOf.push_back(ordinal - 1);
        }
    }
    if (order != nullptr) {
        order->lines = ordinal;
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

std::vector<std::string> DriveEntries(const ReplyLines& replyLines) {
    std::vector<std::string> drives;
    for (std::size_t i = 1; i < replyLines.size(); ++i) {
        if (!replyLines[i].empty()) {
            drives.push_back(std::string(replyLines[i]) + "/");
        }
    }
    return drives;
}

std::vector<std::string> ListingMessages(const ReplyLines& replyLines) {
    constexpr std::string_view kLsPrefix = "ls: ";
    std::vector<std::string> messages;
    for (std::size_t i = 1; i < replyLines.size(); ++i) {
        if (replyLines[i].starts_with(kLsPrefix)) {
            messages.emplace_back(replyLines[i]);
        }
    }
    return messages;
}

EntryList ListingEntries(const ReplyLines& replyLines, int folderDepth, ListedOrder* order) {
    EntryList entries(replyLines.SharedText());
    entries.reserve(replyLines.size() + 2);
    entries.Add(EntryKind::ThisFolder, "./");
    if (folderDepth > 1) {
        entries.Add(EntryKind::ParentFolder, "../");
    }
    if (order != nullptr) {
        order->lineOf.assign(entries.size(), kNotListed);
        order->lineOf.reserve(replyLines.size() + 2);
    }
    AddEntries(replyLines, true, entries, order);
    AddEntries(replyLines, false, entries, order);
    return entries;
}

}  // namespace olmira
