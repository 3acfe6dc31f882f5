#pragma once

#include <initializer_list>
#include <memory>

#include "session/list_entry.h"

namespace olmira::test_support {

// A pane's entries as a listing would give them.
inline SharedEntries MakeEntries(std::initializer_list<ListEntry> entries) {
    return std::make_shared<const EntryList>(entries);
}

}  // namespace olmira::test_support
