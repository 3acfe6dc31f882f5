#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "conversation/reply_lines.h"

namespace olmira {

// What the echo of these command lines holds, so that their words are not
// taken for the messages of the programs they run.
inline constexpr std::string_view kMakeFolderStart = "mkdir ";
inline constexpr std::string_view kRenameStart = "mv ";
inline constexpr std::string_view kStatStart = "stat -L ";

// As with the copy's commands, folders are pane folders below the media
// root ending in "/" and names are captions as the box listed them (a
// folder's with its "/", "?" standing for a byte the box could not show);
// a new name is the user's, bytes as they are, never a pattern.

// Makes the folder newName in folder.
std::string MakeFolderCommand(std::string_view folder, std::string_view newName);
// Renames the entry name of folder to newName in the same folder.
std::string RenameCommand(std::string_view folder, std::string_view name, std::string_view newName);
// The entry's status, links followed, in the form `stat` prints by default.
std::string StatCommand(std::string_view folder, std::string_view name);

// An entry's exact size and the time it was last changed.
struct EntryStatus {
    std::int64_t bytes = 0;
    // "2026-12-09 07:27:11", the box's local time, fractions and zone dropped.
    std::string modified;
};

// The "Size:" and "Modify:" lines of a `stat` reply, as coreutils and
// busybox print them; nullopt when either is missing (e.g. "stat: can't
// stat ...").
std::optional<EntryStatus> ParseStatus(const ReplyLines& lines);

// Whether text has digits where shape has "9" and the same byte elsewhere.
bool HasShape(std::string_view text, std::string_view shape);

// "2026-12-09 07:27:11" -> "09.12.2026 07:27:11", and so a date without
// seconds; other text stays as it is.
std::string GermanDate(std::string_view modified);

}  // namespace olmira
