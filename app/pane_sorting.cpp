#include "pane_sorting.h"

#include <QHeaderView>
#include <algorithm>

#include "entry_list_model.h"
#include "entry_list_view.h"
#include "window_state.h"

void SortPanesAlike(const std::array<PaneUi, 2>& panes, WindowState& state) {
    const int column = std::clamp(state.SortColumn(), 0, EntryListModel::ColumnCount - 1);
    std::array<QHeaderView*, 2> headers{};
    for (std::size_t i = 0; i < panes.size(); ++i) {
        headers[i] = panes[i].list->header();
        headers[i]->setSortIndicator(column, state.SortOrder());
        panes[i].list->setSortingEnabled(true);
    }
    for (QHeaderView* header : headers) {
        QObject::connect(header, &QHeaderView::sortIndicatorChanged, header,
                         [headers, &state](int section, Qt::SortOrder order) {
                             for (QHeaderView* other : headers) {
                                 if (other->sortIndicatorSection() != section ||
                                     other->sortIndicatorOrder() != order) {
                                     other->setSortIndicator(section, order);
                                 }
                             }
                             state.SetSort(section, order);
                         });
    }
}
