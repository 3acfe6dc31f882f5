#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "conversation/reply_lines.h"
#include "session/entry_dates.h"
#include "session/list_entry.h"

namespace olmira {

using TStrArray = std::vector<std::string>;

// Removes leading and trailing characters with codes up to 32.
std::string_view Trim(std::string_view text);

// Splits at every single space: "a  b" gives a, "", b; "a " gives a alone;
// "" gives one empty field.
TStrArray SplitFields(std::string_view text);

// The drive names of a drive-list reply: every line after the echo of the
// command, each with "/" appended. Empty lines name no drive.
std::vector<std::string> DriveEntries(const ReplyLines& replyLines);

// The entries of a pane's list for a folder-listing reply: the echo, the
// summary line, one line per entry ("<size kB> <name>", a folder's name
// ending in "/") and the prompt. A line counts as an entry by its form, a
// size in digits first, wherever it stands. "./" comes first, "../" below a drive's
// root, then the folders and then the files, each in reply order. A name is
// all that follows the size and its one blank, trailing blanks included.
// order, if given, learns where each entry stood, for its date.
EntryList ListingEntries(const ReplyLines& replyLines, int folderDepth,
                         ListedOrder* order = nullptr);

// What ls said instead of, or beside, a folder's entries ("ls: cannot access
// '/var/media/hdd/x/': No such file or directory"): the reply lines that
// start with "ls: ". An entry's line starts with its size, so a name that
// holds "ls: " is never taken for a message.
std::vector<std::string> ListingMessages(const ReplyLines& replyLines);

}  // namespace olmira
