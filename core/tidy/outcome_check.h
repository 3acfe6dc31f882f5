#pragma once

#include <optional>
#include <string>
#include <vector>

#include "session/list_entry.h"

namespace olmira {

// A new folder or a rename is done once the listing that follows holds the
// new name: the box may make another name of it without a word (a line that
// loses each byte's 8th bit turns "Müll" into "MC<ll"), and mkdir and mv
// report nothing then.

// A name the change is to bring about.
struct AskedName {
    // The user's bytes.
    std::string name;
    EntryKind kind = EntryKind::File;
    // What a problem with it begins with: "Der Ordner „Müll“ wurde nicht angelegt".
    std::string notDone;
};

struct NamesCheck {
    // The folder changed, below the media root.
    std::string folder;
    std::vector<AskedName> asked;
    // The folder's listing before the change.
    SharedEntries before;
    // The names the change takes away: a rename's old ones.
    std::vector<std::string> gone;
};

struct CheckedNames {
    // One for each asked name the listing does not hold as a new entry,
    // saying what the box shows instead.
    std::vector<std::string> problems;
    // How the listing shows the first asked name, when it holds it.
    std::optional<std::string> caption;
};

// What after, the folder's listing that follows the change, holds of the
// asked names: each one must be an entry of its kind that the listing
// before did not have (a "?" standing for a byte the box cannot show).
CheckedNames CheckNames(const NamesCheck& check, const EntryList& after);

}  // namespace olmira
