#pragma once

#include <cstdint>
#include <vector>

#include "session/entry_dates.h"
#include "session/list_entry.h"

namespace olmira {

enum class SortKey : std::uint8_t { Name, Size, Date };

// How both panes order their entries.
struct EntrySort {
    SortKey key = SortKey::Name;
    bool descending = false;

    bool operator==(const EntrySort&) const = default;
};

// The entries' indices in the order a pane shows them: "./" and "../" on
// top, then the folders, then the files, each group by key. Names compare
// by their bytes, sizes as numbers, dates as the box listed them (by entry
// index), an entry without one as the oldest. Entries alike in key stay in name order,
// ascending either way; folders have no size, so by size they go by name.
std::vector<std::uint32_t> SortedIndices(const EntryList& entries, const EntryDates& dates,
                                         EntrySort sort);

}  // namespace olmira
