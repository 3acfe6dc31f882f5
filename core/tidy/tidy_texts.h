#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "session/list_entry.h"

namespace olmira {

// „name“, as the messages about entries quote them.
std::string Quoted(std::string_view name);

// "1 Eintrag", "3 Einträge".
std::string EntriesText(std::size_t count);

// The question before a delete names what the user selected; the info
// files that go along are only counted.
std::string DeleteQuestion(const std::vector<ListEntry>& selected, std::size_t infoFiles);

}  // namespace olmira
