#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "session/list_entry.h"

namespace olmira {

// A listed name without the "/" that marks a folder.
std::string_view BareName(std::string_view caption);

// Whether the box's shell, given caption as a pattern in which every "?"
// matches one byte, would match the entry listed as other. Both are
// captions of the same listing form; folder marks are ignored.
bool MatchesListedName(std::string_view caption, std::string_view other);

// How many of the listed entries (not "./" and "../") the caption matches.
std::size_t CountMatches(std::string_view caption, const EntryList& entries);

// Whether the box's ls could show byte as shown: as itself, or as "?" when
// it cannot show it. Every printable ASCII character it shows as itself.
bool ByteListedAs(char byte, char shown);

// Whether the box's ls could list the bytes of name (given from elsewhere,
// never a pattern) as caption; folder marks are ignored.
bool ListedAs(std::string_view name, std::string_view caption);

// Whether entries list a folder or file that name may stand for: one its
// "?" match as a pattern does (name is a caption), or one listed as its
// bytes (a name given from elsewhere).
bool ListsName(std::string_view name, const EntryList& entries);

}  // namespace olmira
