#pragma once

#include <optional>
#include <string_view>

#include "session/list_entry.h"

namespace olmira {

// The folder or file that name (a bare name given from elsewhere, such as a
// script's argument, rather than a row of a pane) stands for in listing:
// the entry listed as name itself, as a pane would select it; otherwise the
// one entry that the box's ls shows with "?" for bytes of name it cannot
// show (ListedAs). That one carries name as its caption (a folder's with
// its "/"), so the command lines hold the bytes given, not a "?" that the
// box's shell could match to a neighbour. nullopt when no entry fits;
// throws olmira::Error when several do.
std::optional<ListEntry> FindGiven(std::string_view name, const EntryList& listing);

}  // namespace olmira
