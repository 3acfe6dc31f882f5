#pragma once

#include <QAbstractTableModel>
#include <optional>
#include <string_view>
#include <vector>

#include "session/list_entry.h"

class ImageList;

// The rows of a pane's entry list. Entries keep the bytes the box sent;
// they are decoded only for the rows the view asks about, so a folder of
// 100,000 entries is shown without converting 100,000 names up front.
class EntryListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn = 0, SizeColumn = 1, ColumnCount = 2 };

    explicit EntryListModel(const ImageList& images, QObject* parent = nullptr);

    void SetEntries(olmira::SharedEntries entries);
    void Clear();
    // A copy of the row's entry; none for a row outside the list.
    std::optional<olmira::ListEntry> EntryAt(int row) const;
    // The first row showing caption, -1 for none.
    int RowOf(std::string_view caption) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // "./" and "../" can be current but never selected.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const ImageList& images_;
    bool HasRow(int row) const;

    olmira::SharedEntries entries_ = olmira::NoEntries();
};
