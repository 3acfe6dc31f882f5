#include "entry_list_model.h"

#include <QLocale>
#include <utility>

#include "image_list.h"
#include "text_codec.h"
#include "tidy/tidy_commands.h"

namespace {

// "307.204" for the box's "307204"; what is no number stays as the box sent it.
QString SizeText(std::string_view size) {
    const QString text = DecodeText(size).trimmed();
    bool number = false;
    const qlonglong kB = text.toLongLong(&number);
    static const QLocale german(QLocale::German, QLocale::Germany);
    return number ? german.toString(kB) : text;
}

olmira::SortKey KeyOf(int column) {
    switch (column) {
        case EntryListModel::SizeColumn:
            return olmira::SortKey::Size;
        case EntryListModel::DateColumn:
            return olmira::SortKey::Date;
        default:
            return olmira::SortKey::Name;
    }
}

}  // namespace

EntryListModel::EntryListModel(const ImageList& images, QObject* parent)
    : QAbstractTableModel(parent), images_(images) {}

void EntryListModel::SetEntries(olmira::SharedEntries entries) {
    beginResetModel();
    entries_ = std::move(entries);
    dates_ = olmira::NoDates();
    order_ = olmira::SortedIndices(*entries_, *dates_, sort_);
    endResetModel();
}

void EntryListModel::SetDates(olmira::SharedDates dates) {
    dates_ = std::move(dates);
    if (sort_.key == olmira::SortKey::Date) {
        Reorder();
    }
    if (!order_.empty()) {
        emit dataChanged(index(0, DateColumn), index(rowCount() - 1, DateColumn));
    }
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
    return (*entries_)[EntryIndex(row)];
}

std::string_view EntryListModel::CaptionAt(int row) const {
    return HasRow(row) ? entries_->Caption(EntryIndex(row)) : std::string_view();
}

int EntryListModel::RowOf(std::string_view caption) const {
    for (std::size_t row = 0; row < order_.size(); ++row) {
        if (entries_->Caption(order_[row]) == caption) {
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
        const olmira::EntryKind kind = entries_->Kind(EntryIndex(index.row()));
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
    const std::size_t entry = EntryIndex(index.row());
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            if (column == DateColumn) {
                return QString::fromLatin1(olmira::GermanDate((*dates_)[entry]));
            }
            return column == NameColumn ? DecodeText(entries_->Caption(entry))
                                        : SizeText(entries_->Size(entry));
        case Qt::DecorationRole:
            return column == NameColumn ? QVariant(images_.Icon(EntryImage(entries_->Kind(entry))))
                                        : QVariant();
        // The name in full where the column cuts it short.
        case Qt::ToolTipRole:
            return column == NameColumn ? QVariant(DecodeText(entries_->Caption(entry)))
                                        : QVariant();
        case Qt::TextAlignmentRole:
            return column == SizeColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        default:
            return {};
    }
}

QVariant EntryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case SizeColumn:
            return QStringLiteral("Größe [kB]");
        case DateColumn:
            return QStringLiteral("Datum");
        default:
            return QStringLiteral("Name");
    }
}

void EntryListModel::sort(int column, Qt::SortOrder order) {
    const olmira::EntrySort sort{KeyOf(column), order == Qt::DescendingOrder};
    if (sort == sort_) {
        return;
    }
    sort_ = sort;
    Reorder();
}

void EntryListModel::Reorder() {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<std::uint32_t> before =
        std::exchange(order_, olmira::SortedIndices(*entries_, *dates_, sort_));
    MovePersistentIndexes(before);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// Each index the view keeps (its selection, its current row) follows its
// entry to the entry's new row.
void EntryListModel::MovePersistentIndexes(const std::vector<std::uint32_t>& before) {
    std::vector<int> rowOf(order_.size());
    for (std::size_t row = 0; row < order_.size(); ++row) {
        rowOf[order_[row]] = static_cast<int>(row);
    }
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& kept : from) {
        to.append(index(rowOf[before[static_cast<std::size_t>(kept.row())]], kept.column()));
    }
    changePersistentIndexList(from, to);
}
