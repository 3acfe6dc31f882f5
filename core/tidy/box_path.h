#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "session/list_entry.h"

namespace olmira {

// What a path is used for: reading (listing, measuring, the source of a
// copy, a destination folder) may name a drive's root; changing (deleting,
// renaming, moving away) must name an entry below it.
enum class PathUse { Read, Change };

// Why the program refuses to touch path, or nullopt when it may. path is
// relative to the media root, as the panes name folders ("hdd/Filme/", a
// folder may end in "/"). Refused, before any line goes to the box: an empty
// path, an absolute one, one with a "." or ".." part or an empty part in the
// middle ("hdd//x"), one with a control character (a line break would end
// the command line early), and for PathUse::Change a drive's root ("usb/").
// The texts are German and name the path.
std::optional<std::string> PathRefusal(std::string_view path, PathUse use);

// Why name cannot be the new name of an entry in a folder that lists
// entries, or nullopt: empty, ".", "..", a "/" in it, a control character
// in it, or the name of a listed entry (a folder's caption without its "/").
std::optional<std::string> NameRefusal(std::string_view name, const EntryList& entries);

// Why renaming the entry listed as caption to newName could replace another
// entry: mv overwrites without asking, and where the box's ls shows "?" for
// bytes it cannot show, another entry listed so may already be newName.
std::optional<std::string> RenameRefusal(std::string_view newName, std::string_view caption,
                                         const EntryList& entries);

}  // namespace olmira
