#pragma once

#include <QTreeView>

// A pane's entry list: a report view of whole rows. A double click anywhere
// in it or Enter asks to open the selected entry, Backspace to go one folder
// up; Tab leaves it like any other control.
class EntryListView final : public QTreeView {
    Q_OBJECT

public:
    explicit EntryListView(QWidget* parent = nullptr);

    // The row of the selected entry, or -1 when none is selected.
    int SelectedRow() const;

    // column takes the width the others leave; they are always as wide as
    // their contents, at any size of the view. Call it once the model is set.
    void StretchColumn(int column);

    // Never narrower than the columns need to show in full.
    QSize minimumSizeHint() const override;

signals:
    void openRequested();
    void folderUpRequested();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
