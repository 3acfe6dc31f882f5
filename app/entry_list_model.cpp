#include "entry_list_model.h"

#include <QLocale>

#include "image_list.h"
#include "text_codec.h"

namespace {

// "307.204" for the box's "307204"; what is no number stays as the box sent it.
QString SizeText(std::string_view size) {
    const QString text = DecodeText(size).trimmed();
    bool number = false;
    const qlonglong kB = text.toLongLong(&number);
    static const QLocale german(QLocale::German, QLocale::Germany);
    return number ? german.toString(kB) : text;
}

}  // namespace

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

int EntryListModel::RowOf(std::string_view caption) const {
    for (std::size_t row = 0; row < entries_->size(); ++row) {
        if (entries_->Caption(row) == caption) {
            return static_cast<int>(row);
        }
    }
    return -1;
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
            return name ? DecodeText(entries_->Caption(row)) : SizeText(entries_->Size(row));
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
