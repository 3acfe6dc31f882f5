#include "entry_list_model.h"

#include "image_list.h"
#include "text_codec.h"

EntryListModel::EntryListModel(const ImageList& images, QObject* parent)
    : QAbstractTableModel(parent), images_(images) {}

void EntryListModel::SetEntries(olmira::SharedEntries entries) {
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

void EntryListModel::Clear() {
    SetEntries(olmira::NoEntries());
}

bool EntryListModel::HasRow(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < entries_->size();
}

std::optional<olmira::ListEntry> EntryListModel::EntryAt(int row) const {
    if (!HasRow(row)) {
        return std::nullopt;
    }
    return (*entries_)[static_cast<std::size_t>(row)];
}

int EntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_->size());
}

int EntryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

Qt::ItemFlags EntryListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (HasRow(index.row())) {
        const olmira::EntryKind kind = entries_->Kind(static_cast<std::size_t>(index.row()));
        if (kind == olmira::EntryKind::ThisFolder || kind == olmira::EntryKind::ParentFolder) {
            flags &= ~Qt::ItemIsSelectable;
        }
    }
    return flags;
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
    if (!HasRow(index.row())) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    const bool name = index.column() == NameColumn;
    switch (role) {
        case Qt::DisplayRole:
            return DecodeText(name ? entries_->Caption(row) : entries_->Size(row));
        case Qt::DecorationRole:
            return name ? QVariant(images_.Icon(EntryImage(entries_->Kind(row)))) : QVariant();
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
