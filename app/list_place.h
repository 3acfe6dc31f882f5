#pragma once

#include <string>
#include <vector>

class EntryListModel;
class EntryListView;

// Where the user was in a pane's list: the selected entries, the current
// one and how far the list was scrolled. A folder listed afresh, as when a
// job put an entry into it, shows the same entries chosen at the same place.
struct ListPlace {
    std::vector<std::string> selected;
    std::string current;
    int scroll = 0;
};

ListPlace TakePlace(const EntryListView& list, const EntryListModel& model);
// Entries gone since are left out.
void RestorePlace(EntryListView& list, const EntryListModel& model, const ListPlace& place);
