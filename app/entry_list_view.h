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

signals:
    void openRequested();
    void folderUpRequested();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
