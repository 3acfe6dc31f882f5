#pragma once

#include <QTreeView>
#include <vector>

// A pane's entry list: a report view of whole rows. A double click anywhere
// in it or Enter asks to open the current entry, Backspace to go one folder
// up, Delete to delete the selected entries; Tab leaves it like any other
// control. Several entries are selected with Ctrl and Shift and the mouse,
// Shift and the arrow keys, Ctrl+A or Insert, which toggles the current
// entry and steps to the next one; rows the model makes unselectable ("./"
// and "../") are never part of it.
class EntryListView final : public QTreeView {
    Q_OBJECT

public:
    explicit EntryListView(QWidget* parent = nullptr);

    // The row of the current entry, or -1 when there is none.
    int CurrentRow() const;
    // The selected rows, top to bottom.
    std::vector<int> SelectedRows() const;

    // column takes the width the others leave; they are always as wide as
    // their contents, at any size of the view. Call it once the model is set.
    void StretchColumn(int column);

    // Never narrower than the columns need to show in full.
    QSize minimumSizeHint() const override;

signals:
    void openRequested();
    void folderUpRequested();
    void deleteRequested();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ToggleCurrentAndStepDown();
};
