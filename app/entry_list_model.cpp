#include "entry_list_model.h"

#include "image_list.h"
#include "text_codec.h"

EntryListModel::EntryListModel(const ImageList& images, QObject* parent)
    : QAbstractTableModel(parent), images_(images) {}

void EntryListModel::SetEntries(std::vector<olmira::ListEntry> entries) {
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

void EntryListModel::Clear() {
    SetEntries({});
}

const olmira::ListEntry* EntryListModel::EntryAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= entries_.size()) {
        return nullptr;
    }
    return &entries_[static_cast<std::size_t>(row)];
}

int EntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int EntryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
    const olmira::ListEntry* entry = EntryAt(index.row());
    if (entry == nullptr) {
        return {};
    }
    const bool name = index.column() == NameColumn;
    switch (role) {
        case Qt::DisplayRole:
            return DecodeText(name ? entry->caption : entry->size);
        case Qt::DecorationRole:
            return name ? QVariant(images_.Icon(entry->image)) : QVariant();
        case Qt::TextAlignmentRole:
            return name ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant EntryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    return section == NameColumn ? QStringLiteral("Name") : QStringLiteral("Größe [kB]");
}
