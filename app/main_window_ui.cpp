#include "main_window_ui.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "entry_list_model.h"
#include "entry_list_view.h"
#include "image_list.h"
#include "latch_tool_button.h"
#include "session/list_entry.h"
#include "session/session_window.h"

namespace {

constexpr int kSourcePaneWidth = 298;
constexpr int kSplitterWidth = 3;
constexpr int kGoButtonSize = 20;
const char* const kImageProperty = "imageIndex";

// What tells the two panes' controls apart.
struct PaneNames {
    const char* panel;
    const char* captionLabel;
    const char* caption;
    const char* media;
    const char* go;
    const char* toolBar;
    const char* properties;
    const char* propertiesHint;
    const char* refresh;
    const char* folderUp;
    const char* remove;
    const char* folder;
    const char* freeSpace;
    const char* list;
};

constexpr const char* kPropertiesHint = "Eigenschaften (Alt+Eingabe)";

constexpr std::array<PaneNames, 2> kPaneNames{{
    {"panelSource", "Label1", "Laufwerk Quelle:", "cbSourceMedia", "bChgSourceRootFolder",
     "ToolBarSource", "tbSourceProperties", kPropertiesHint, "tbSourceRefresh", "tbSourceFolderUp",
     "tbSourceDelete", "labelSourceFolder", "labelSourceFree", "SourceList"},
    {"panelDest", "Label2", "Laufwerk Ziel:", "cbDestMedia", "bChgDestRootFolder", "ToolBarDest",
     "ToolButton2", kPropertiesHint, "tbDestRefresh", "tbDestFolderUp", "tbDestDelete",
     "labelDestFolder", "labelDestFree", "DestList"},
}};

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

QToolBar* FlatToolBar(QWidget* parent, const char* name) {
    auto* bar = Named(new QToolBar(parent), name);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    return bar;
}

// A flat picture button that the keyboard reaches too.
QToolButton* AddToolButton(QToolBar& bar, QToolButton* button, const char* name,
                           const ImageList& images, int image, const char* hint) {
    Named(button, name);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->setToolTip(QString::fromUtf8(hint));
    SetButtonImage(*button, images, image);
    bar.addWidget(button);
    return button;
}

QToolButton* AddToolButton(QToolBar& bar, const char* name, const ImageList& images, int image,
                           const char* hint) {
    return AddToolButton(bar, new QToolButton(&bar), name, images, image, hint);
}

QWidget* BuildPane(PaneUi& pane, const PaneNames& names, const ImageList& images, QWidget* parent) {
    pane.panel = Named(new QWidget(parent), names.panel);
    auto* layout = new QVBoxLayout(pane.panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    layout->addWidget(
        Named(new QLabel(QString::fromUtf8(names.caption), pane.panel), names.captionLabel));

    auto* driveRow = new QHBoxLayout();
    pane.media = Named(new QComboBox(pane.panel), names.media);
    pane.media->setEditable(true);
    pane.media->setInsertPolicy(QComboBox::NoInsert);
    pane.media->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    pane.go = Named(new QPushButton(QStringLiteral("go"), pane.panel), names.go);
    pane.go->setFixedSize(kGoButtonSize, kGoButtonSize);
    driveRow->addWidget(pane.media);
    driveRow->addWidget(pane.go);
    layout->addLayout(driveRow);

    pane.toolBar = FlatToolBar(pane.panel, names.toolBar);
    pane.properties = AddToolButton(*pane.toolBar, names.properties, images, ImageProperties,
                                    names.propertiesHint);
    layout->addWidget(pane.toolBar);

    auto* folderRow = new QHBoxLayout();
    pane.folder =
        Named(new QLabel(QString::fromUtf8(olmira::kNotConnected), pane.panel), names.folder);
    pane.freeSpace = Named(new QLabel(pane.panel), names.freeSpace);
    pane.freeSpace->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    folderRow->addWidget(pane.folder, 1);
    folderRow->addWidget(pane.freeSpace);
    layout->addLayout(folderRow);

    pane.entries = new EntryListModel(images, pane.panel);
    pane.list = Named(new EntryListView(pane.panel), names.list);
    pane.list->setContextMenuPolicy(Qt::CustomContextMenu);
    pane.list->setModel(pane.entries);
    pane.list->StretchColumn(EntryListModel::NameColumn);
    layout->addWidget(pane.list, 1);
    return pane.panel;
}

// The refresh and folder-up buttons, behind the pane's own first buttons.
void AddNavigationButtons(PaneUi& pane, const PaneNames& names, const ImageList& images) {
    pane.refresh =
        AddToolButton(*pane.toolBar, names.refresh, images, ImageRefresh, "Aktualisieren");
    pane.toolBar->addSeparator();
    pane.folderUp = AddToolButton(*pane.toolBar, names.folderUp, images, ImageFolderUp,
                                  "ein Verzeichnis höher wechseln");
    // Only a listing below a drive's root has a folder to go up to.
    pane.folderUp->setEnabled(false);
}

// The delete button, last in the pane's bar.
void AddDeleteButton(PaneUi& pane, const PaneNames& names, const ImageList& images) {
    pane.toolBar->addSeparator();
    pane.remove = AddToolButton(*pane.toolBar, names.remove, images, ImageDelete, "Löschen (Entf)");
}

// The bar's own buttons, without the one Qt adds for overflowing bars.
QList<QWidget*> PictureButtons(const QToolBar& bar) {
    QList<QWidget*> buttons;
    for (QToolButton* button : bar.findChildren<QToolButton*>()) {
        if (button->property(kImageProperty).isValid()) {
            buttons << button;
        }
    }
    return buttons;
}

}  // namespace

void SetButtonImage(QToolButton& button, const ImageList& images, int index) {
    button.setIcon(images.Icon(index));
    button.setProperty(kImageProperty, index);
}

int ButtonImage(const QToolButton& button) {
    return button.property(kImageProperty).toInt();
}

void MainWindowUi::Build(QMainWindow& window, const ImageList& images) {
    window.setWindowIcon(QIcon(QStringLiteral(":/images/program.svg")));
    BuildToolBar(window, images);
    BuildPanes(window, images);
    BuildStatusBar(window);
    ChainFocus();
}

void MainWindowUi::BuildToolBar(QMainWindow& window, const ImageList& images) {
    toolBar = FlatToolBar(&window, "ToolBar");
    tbExit = AddToolButton(*toolBar, "tbExit", images, ImageExit, "Programm beenden");
    toolBar->addSeparator()->setObjectName(QStringLiteral("ToolButton3"));
    // The window names the host in the hint once the settings are read.
    tbConnect = AddToolButton(*toolBar, "tbConnect", images, ImageConnect, "");
    tbSetup = AddToolButton(*toolBar, "tbSetup", images, ImageSetup, "Konfiguration");
    tbLog = AddToolButton(*toolBar, new LatchToolButton(toolBar), "tbLog", images, ImageLog,
                          "Log einblenden");
    tbJobs = AddToolButton(*toolBar, "tbJobs", images, ImageTools, "Aufträge auf der Box (Strg+J)");
    window.addToolBar(Qt::TopToolBarArea, toolBar);
}

void MainWindowUi::BuildPanes(QMainWindow& window, const ImageList& images) {
    panelMain = Named(new QWidget(&window), "panelMain");
    splitterSourceDest = Named(new QSplitter(Qt::Horizontal, panelMain), "splitterSourceDest");
    splitterSourceDest->setHandleWidth(kSplitterWidth);
    splitterSourceDest->setChildrenCollapsible(false);
    for (std::size_t i = 0; i < panes.size(); ++i) {
        splitterSourceDest->addWidget(
            BuildPane(panes[i], kPaneNames[i], images, splitterSourceDest));
    }

    PaneUi& source = panes[0];
    tbMoveFile = AddToolButton(*source.toolBar, "ToolButton4", images, ImageTools,
                               "Verschieben nach rechts (F6)");
    AddNavigationButtons(source, kPaneNames[0], images);
    source.toolBar->addSeparator();
    tbCopyFile = AddToolButton(*source.toolBar, "tbCopyFile", images, ImageCopy,
                               "Datei / Verzeichnis kopieren (F5)");
    AddNavigationButtons(panes[1], kPaneNames[1], images);
    for (std::size_t i = 0; i < panes.size(); ++i) {
        AddDeleteButton(panes[i], kPaneNames[i], images);
    }

    // Both panes share what a larger window gives, as they started even.
    splitterSourceDest->setStretchFactor(0, 1);
    splitterSourceDest->setStretchFactor(1, 1);
    splitterSourceDest->setSizes({kSourcePaneWidth, kSourcePaneWidth});
    auto* layout = new QVBoxLayout(panelMain);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitterSourceDest);
    window.setCentralWidget(panelMain);
}

void MainWindowUi::BuildStatusBar(QMainWindow& window) {
    statusBar = Named(new QStatusBar(&window), "StatusBar");
    statusText = Named(new QLabel(statusBar), "StatusText");
    // a long text is cut, rather than widening the window
    statusText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar->addWidget(statusText, 1);
    labelSelection = Named(new QLabel(statusBar), "labelSelection");
    statusBar->addPermanentWidget(labelSelection);
    labelJobs = Named(new QToolButton(statusBar), "labelJobs");
    labelJobs->setAutoRaise(true);
    labelJobs->setToolButtonStyle(Qt::ToolButtonTextOnly);
    labelJobs->setToolTip(QStringLiteral("Aufträge auf der Box (Strg+J)"));
    labelJobs->hide();
    statusBar->addPermanentWidget(labelJobs);
    window.setStatusBar(statusBar);
}

// Tab goes from one pane's list straight to the other's.
void MainWindowUi::ChainFocus() const {
    const PaneUi& source = panes[0];
    const PaneUi& destination = panes[1];
    QList<QWidget*> order{tbExit, tbConnect, tbSetup, tbLog, tbJobs, source.media, source.go};
    order << PictureButtons(*source.toolBar) << source.list << destination.list << destination.media
          << destination.go << PictureButtons(*destination.toolBar);
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

PaneUi* MainWindowUi::Find(olmira::Pane pane) {
    return const_cast<PaneUi*>(std::as_const(*this).Find(pane));
}

const PaneUi* MainWindowUi::Find(olmira::Pane pane) const {
    switch (pane) {
        case olmira::Source:
            return &panes[0];
        case olmira::Destination:
            return &panes[1];
        default:
            return nullptr;
    }
}
