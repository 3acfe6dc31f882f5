#include "list_place.h"

#include <QScrollBar>
#include <string_view>
#include <unordered_set>

#include "entry_list_model.h"
#include "entry_list_view.h"

ListPlace TakePlace(const EntryListView& list, const EntryListModel& model) {
    ListPlace place;
    for (const int row : list.SelectedRows()) {
        place.selected.emplace_back(model.CaptionAt(row));
    }
    place.current = model.CaptionAt(list.CurrentRow());
    place.scroll = list.verticalScrollBar()->value();
    return place;
}

// One pass over the rows, a range for each run of selected ones: a folder
// of 100,000 entries with all of them selected is restored at once.
void RestorePlace(EntryListView& list, const EntryListModel& model, const ListPlace& place) {
    const std::unordered_set<std::string_view> chosen(place.selected.begin(), place.selected.end());
    QItemSelection selection;
    int runStart = -1;
    int currentRow = -1;
    const int rows = model.rowCount();
    for (int row = 0; row <= rows; ++row) {
        const std::string_view caption = row < rows ? model.CaptionAt(row) : std::string_view();
        const bool selected = row < rows && chosen.contains(caption);
        if (selected && runStart < 0) {
            runStart = row;
        } else if (!selected && runStart >= 0) {
            selection.select(model.index(runStart, 0),
                             model.index(row - 1, model.columnCount() - 1));
            runStart = -1;
        }
        if (row < rows && currentRow < 0 && !place.current.empty() && caption == place.current) {
            currentRow = row;
        }
    }
    QItemSelectionModel& selectionModel = *list.selectionModel();
    if (currentRow >= 0) {
        selectionModel.setCurrentIndex(model.index(currentRow, 0), QItemSelectionModel::NoUpdate);
    }
    selectionModel.select(selection, QItemSelectionModel::ClearAndSelect);
    list.verticalScrollBar()->setValue(place.scroll);
}
