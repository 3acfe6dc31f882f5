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

// How the listing shows name: as itself or, where the box's ls prints "?"
// for bytes it cannot show, as the one entry whose caption matches it;
// name itself when none or several do.
std::string ListedCaption(std::string_view name, const EntryList& entries);

}  // namespace olmira
