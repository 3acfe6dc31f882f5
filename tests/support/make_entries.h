#pragma once

#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

#include "session/list_entry.h"

namespace olmira::test_support {

// A pane's entries as a listing would give them.
inline SharedEntries MakeEntries(std::initializer_list<ListEntry> entries) {
    return std::make_shared<const EntryList>(entries);
}

inline SharedEntries MakeEntries(const std::vector<ListEntry>& entries) {
    return std::make_shared<const EntryList>(std::span<const ListEntry>(entries));
}

}  // namespace olmira::test_support
