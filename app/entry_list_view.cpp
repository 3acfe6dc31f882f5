#include "entry_list_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

EntryListView::EntryListView(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
}

int EntryListView::CurrentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

std::vector<int> EntryListView::SelectedRows() const {
    std::vector<int> rows;
    if (selectionModel() == nullptr) {
        return rows;
    }
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void EntryListView::StretchColumn(int column) {
    QHeaderView& columns = *header();
    for (int i = 0; i < columns.count(); ++i) {
        columns.setSectionResizeMode(
            i, i == column ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
    }
    // Wider contents raise the minimum width, which the window then keeps.
    connect(&columns, &QHeaderView::sectionResized, this, [this, column](int resized) {
        if (resized != column) {
            updateGeometry();
        }
    });
}

QSize EntryListView::minimumSizeHint() const {
    const QHeaderView& columns = *header();
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int i = 0; i < columns.count(); ++i) {
        width += columns.sectionResizeMode(i) == QHeaderView::Stretch ? columns.minimumSectionSize()
                                                                      : columns.sectionSize(i);
    }
    QSize hint = QTreeView::minimumSizeHint();
    hint.setWidth(std::max(hint.width(), width));
    return hint;
}

void EntryListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit openRequested();
    }
}

void EntryListView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit openRequested();
            break;
        case Qt::Key_Backspace:
            emit folderUpRequested();
            break;
        case Qt::Key_Delete:
            if (event->modifiers() != Qt::NoModifier) {
                QTreeView::keyPressEvent(event);
                return;
            }
            emit deleteRequested();
            break;
        case Qt::Key_Insert:
            if (event->modifiers() != Qt::NoModifier) {
                QTreeView::keyPressEvent(event);
                return;
            }
            ToggleCurrentAndStepDown();
            break;
        default:
            QTreeView::keyPressEvent(event);
            return;
    }
    event->accept();
}

// The last row stays current.
void EntryListView::ToggleCurrentAndStepDown() {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        return;
    }
    if (current.flags().testFlag(Qt::ItemIsSelectable)) {
        selectionModel()->select(current, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
    }
    const QModelIndex next = current.siblingAtRow(current.row() + 1);
    if (next.isValid()) {
        selectionModel()->setCurrentIndex(next, QItemSelectionModel::NoUpdate);
        scrollTo(next);
    }
}
