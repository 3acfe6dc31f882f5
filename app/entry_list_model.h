#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "session/entry_order.h"
#include "session/list_entry.h"

class ImageList;

// The rows of a pane's entry list. Entries keep the bytes the box sent;
// they are decoded only for the rows the view asks about, so a folder of
// 100,000 entries is shown without converting 100,000 names up front. Rows
// follow the sort the view's header chose (see olmira::SortedIndices).
class EntryListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn = 0, SizeColumn = 1, DateColumn = 2, ColumnCount = 3 };

    explicit EntryListModel(const ImageList& images, QObject* parent = nullptr);

    // A new listing comes without dates, which come by themselves later.
    void SetEntries(olmira::SharedEntries entries);
    void SetDates(olmira::SharedDates dates);
    void Clear();
    // A copy of the row's entry; none for a row outside the list.
    std::optional<olmira::ListEntry> EntryAt(int row) const;
    // The row's caption as the box sent it; empty for a row outside the list.
    std::string_view CaptionAt(int row) const;
    // The first row showing caption, -1 for none.
    int RowOf(std::string_view caption) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // "./" and "../" can be current but never selected.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Keeps the selection and the current row on their entries.
    void sort(int column, Qt::SortOrder order) override;

private:
    const ImageList& images_;
    bool HasRow(int row) const;
    std::size_t EntryIndex(int row) const { return order_[static_cast<std::size_t>(row)]; }
    // Sorts afresh; the selection and the current row follow their entries.
    void Reorder();
    void MovePersistentIndexes(const std::vector<std::uint32_t>& before);

    olmira::SharedEntries entries_ = olmira::NoEntries();
    olmira::SharedDates dates_ = olmira::NoDates();
    olmira::EntrySort sort_;
    // The entry each row shows.
    std::vector<std::uint32_t> order_;
};
