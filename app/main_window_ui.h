#pragma once

#include <array>

#include "session/pane.h"

class EntryListModel;
class EntryListView;
class ImageList;
class QComboBox;
class QLabel;
class QMainWindow;
class QPushButton;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;
class QWidget;

// The controls of one pane, the same for both.
struct PaneUi {
    QWidget* panel = nullptr;
    QComboBox* media = nullptr;
    QPushButton* go = nullptr;
    QToolBar* toolBar = nullptr;
    QToolButton* properties = nullptr;
    QToolButton* refresh = nullptr;
    QToolButton* folderUp = nullptr;
    QToolButton* remove = nullptr;
    QLabel* folder = nullptr;
    // The free space of the listed drive, beside the folder.
    QLabel* freeSpace = nullptr;
    EntryListView* list = nullptr;
    EntryListModel* entries = nullptr;
    // A listing is on its way: the entries shown are the last folder's.
    bool listingPending = false;
};

// The main window's controls, each with the object name it is known by.
struct MainWindowUi {
    QToolBar* toolBar = nullptr;
    QToolButton* tbExit = nullptr;
    QToolButton* tbConnect = nullptr;
    QToolButton* tbSetup = nullptr;
    QToolButton* tbLog = nullptr;
    // Opens the job list.
    QToolButton* tbJobs = nullptr;
    QWidget* panelMain = nullptr;
    QSplitter* splitterSourceDest = nullptr;
    std::array<PaneUi, 2> panes;
    QToolButton* tbCopyFile = nullptr;
    // Object name "ToolButton4".
    QToolButton* tbMoveFile = nullptr;
    QStatusBar* statusBar = nullptr;
    QLabel* statusText = nullptr;
    // What the active pane has selected.
    QLabel* labelSelection = nullptr;
    // What the box's job does now; a click opens the job list. Hidden
    // while no job runs.
    QToolButton* labelJobs = nullptr;

    // Builds the controls into window; their pictures come from images.
    void Build(QMainWindow& window, const ImageList& images);

    // The pane's controls, nullptr for a value that names no pane.
    PaneUi* Find(olmira::Pane pane);
    const PaneUi* Find(olmira::Pane pane) const;

private:
    void BuildToolBar(QMainWindow& window, const ImageList& images);
    void BuildPanes(QMainWindow& window, const ImageList& images);
    void BuildStatusBar(QMainWindow& window);
    void ChainFocus() const;
};

// Shows picture index of images on button and remembers the index, which
// the connect button's state is read from.
void SetButtonImage(QToolButton& button, const ImageList& images, int index);
int ButtonImage(const QToolButton& button);
