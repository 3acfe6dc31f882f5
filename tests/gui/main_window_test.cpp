// The main window before any connection: its controls, its look at start-up
// and what works without the box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "form_log.h"
#include "image_list.h"
#include "make_entries.h"
#include "window_under_test.h"

namespace {

using olmira::Destination;
using olmira::ListEntry;
using olmira::Source;

TEST(MainWindow, HasEveryControlUnderItsName) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    const std::pair<const char*, const char*> controls[] = {
        {"ToolBar", "QToolBar"},
        {"tbExit", "QToolButton"},
        {"tbConnect", "QToolButton"},
        {"tbSetup", "QToolButton"},
        {"tbLog", "QToolButton"},
        {"panelMain", "QWidget"},
        {"panelSource", "QWidget"},
        {"splitterSourceDest", "QSplitter"},
        {"panelDest", "QWidget"},
        {"Label1", "QLabel"},
        {"Label2", "QLabel"},
        {"cbSourceMedia", "QComboBox"},
        {"cbDestMedia", "QComboBox"},
        {"bChgSourceRootFolder", "QPushButton"},
        {"bChgDestRootFolder", "QPushButton"},
        {"ToolBarSource", "QToolBar"},
        {"ToolBarDest", "QToolBar"},
        {"tbSourceProperties", "QToolButton"},
        {"ToolButton2", "QToolButton"},
        {"ToolButton4", "QToolButton"},
        {"tbSourceRefresh", "QToolButton"},
        {"tbDestRefresh", "QToolButton"},
        {"tbSourceFolderUp", "QToolButton"},
        {"tbDestFolderUp", "QToolButton"},
        {"tbCopyFile", "QToolButton"},
        {"tbSourceDelete", "QToolButton"},
        {"tbDestDelete", "QToolButton"},
        {"labelSourceFolder", "QLabel"},
        {"labelDestFolder", "QLabel"},
        {"labelSourceFree", "QLabel"},
        {"labelDestFree", "QLabel"},
        {"SourceList", "QTreeView"},
        {"DestList", "QTreeView"},
        {"StatusBar", "QStatusBar"},
        {"StatusText", "QLabel"},
        {"labelSelection", "QLabel"},
        {"CopyShortcut", "QShortcut"},
        {"MoveShortcut", "QShortcut"},
        {"CancelShortcut", "QShortcut"},
        {"RenameShortcut", "QShortcut"},
        {"NewFolderShortcut", "QShortcut"},
        {"DeleteShortcut", "QShortcut"},
        {"PropertiesShortcut", "QShortcut"},
        {"formLog", "QWidget"},
        {"memoLog", "QPlainTextEdit"},
    };
    for (const auto& [name, type] : controls) {
        const QObject* control = test.Window().findChild<QObject*>(QString::fromUtf8(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_TRUE(control->inherits(type)) << name << " is no " << type;
    }
    EXPECT_NE(test.Window().findChild<QAction*>(QStringLiteral("ToolButton3")), nullptr);
    EXPECT_EQ(test.Window().objectName(), QStringLiteral("formMain"));
}

TEST(MainWindow, StartsDisconnectedWithTheConnectHintNamingTheHost) {
    WindowUnderTest test(WindowUnderTest::BoxIni("box.example"));
    EXPECT_EQ(test.Window().windowTitle(), QStringLiteral("OlmiraAV Remote File Manager"));
    EXPECT_EQ(test.Window().size(), QSize(608, 428));
    EXPECT_EQ(test.Window().font().pointSize(), 8);
    EXPECT_FALSE(test.Enabled("panelSource"));
    EXPECT_FALSE(test.Enabled("panelDest"));
    EXPECT_TRUE(test.Enabled("tbSetup"));
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("nicht verbunden"));
    EXPECT_EQ(test.Text("labelDestFolder"), QStringLiteral("nicht verbunden"));
    EXPECT_EQ(test.ConnectImage(), 0);
    EXPECT_EQ(test.Hint("tbConnect"), QStringLiteral("Verbindung zu box.example herstellen"));
    EXPECT_EQ(test.Text("StatusText"), QString());
    EXPECT_EQ(test.Child<QComboBox>("cbSourceMedia").count(), 0);
    EXPECT_TRUE(test.Captions("SourceList").isEmpty());
    EXPECT_FALSE(test.Child<QTimer>("Timer").isActive());
    EXPECT_EQ(test.Child<QTimer>("Timer").interval(), 250);
    EXPECT_FALSE(test.Child<QWidget>("formLog").isVisible());
    EXPECT_TRUE(test.Boxes().shown.empty());
}

TEST(MainWindow, ToolButtonsShowTheirHintsAndImagesAndTakeFocusFromTheKeyboard) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    struct Button {
        const char* name;
        const char* hint;
        int image;
    };
    const Button buttons[] = {
        {"tbExit", "Programm beenden", 2},
        {"tbSetup", "Konfiguration", 3},
        {"tbLog", "Log einblenden", 10},
        {"tbSourceProperties", "Eigenschaften (Alt+Eingabe)", 4},
        {"ToolButton2", "Eigenschaften (Alt+Eingabe)", 4},
        {"tbSourceDelete", "Löschen (Entf)", 12},
        {"tbDestDelete", "Löschen (Entf)", 12},
        {"ToolButton4", "Verschieben nach rechts (F6)", 9},
        {"tbSourceRefresh", "Aktualisieren", 5},
        {"tbDestRefresh", "Aktualisieren", 5},
        {"tbSourceFolderUp", "ein Verzeichnis höher wechseln", 8},
        {"tbDestFolderUp", "ein Verzeichnis höher wechseln", 8},
        {"tbCopyFile", "Datei / Verzeichnis kopieren (F5)", 11},
        {"tbConnect", nullptr, 0},
    };
    for (const Button& expected : buttons) {
        QToolButton& button = test.Child<QToolButton>(expected.name);
        if (expected.hint != nullptr) {
            EXPECT_EQ(button.toolTip(), QString::fromUtf8(expected.hint)) << expected.name;
        }
        EXPECT_EQ(ButtonImage(button), expected.image) << expected.name;
        EXPECT_FALSE(button.icon().isNull()) << expected.name;
        EXPECT_TRUE(button.focusPolicy() & Qt::TabFocus) << expected.name;
    }
    QPushButton& go = test.Child<QPushButton>("bChgSourceRootFolder");
    EXPECT_EQ(go.text(), QStringLiteral("go"));
    EXPECT_EQ(go.size(), QSize(20, 20));
}

TEST(MainWindow, PanesSitBesideEachOtherEvenlyWide) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    const QSplitter& splitter = test.Child<QSplitter>("splitterSourceDest");
    EXPECT_EQ(splitter.widget(0)->objectName(), QStringLiteral("panelSource"));
    EXPECT_EQ(splitter.widget(1)->objectName(), QStringLiteral("panelDest"));
    EXPECT_NEAR(splitter.sizes().value(0), splitter.sizes().value(1), 1);
    EXPECT_EQ(splitter.handleWidth(), 3);
    EXPECT_TRUE(test.Child<QComboBox>("cbDestMedia").isEditable());
}

TEST(MainWindow, EntryListsAreReportsWithNameSizeAndDateColumns) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    for (const auto* name : {"SourceList", "DestList"}) {
        EntryListView& list = test.Child<EntryListView>(name);
        test.Window().SetEntries(
            name == std::string("SourceList") ? Source : Destination,
            olmira::test_support::MakeEntries({{"./", olmira::EntryKind::ThisFolder, ""},
                                               {"a.ts", olmira::EntryKind::File, "4"}}));
        const QAbstractItemModel& model = *list.model();
        EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
        EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Größe [kB]"));
        EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Datum"));
        EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_TRUE(list.isSortingEnabled());
        EXPECT_TRUE(list.uniformRowHeights());
    }
}

TEST(MainWindow, ListsAndDriveBoxesShowDecodedNamesButHandBackTheBoxsBytes) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    TformMain& window = test.Window();
    const std::string latin1Name = "W\xe4lder/";
    const std::string utf8Name =
        "Gr\xc3\xb6\xc3\x9f"
        "e.ts";
    window.SetEntries(Source, olmira::test_support::MakeEntries(
                                  {{"./", olmira::EntryKind::ThisFolder, ""},
                                   {latin1Name, olmira::EntryKind::Folder, ""},
                                   {utf8Name, olmira::EntryKind::File, "1234567"}}));
    EXPECT_EQ(test.Captions("SourceList"),
              (QStringList{"./", QStringLiteral("Wälder/"), QStringLiteral("Größe.ts")}));
    // The size in kB as listed, grouped in thousands.
    EXPECT_EQ(test.Cell("SourceList", 2, 1), QStringLiteral("1.234.567"));

    EXPECT_FALSE(window.SelectedEntry(Source));
    ASSERT_TRUE(test.Select("SourceList", QStringLiteral("Wälder/")));
    EXPECT_EQ(window.SelectedEntry(Source), (ListEntry{latin1Name, olmira::EntryKind::Folder, ""}));
    ASSERT_TRUE(test.Select("SourceList", QStringLiteral("Größe.ts")));
    EXPECT_EQ(window.SelectedEntry(Source),
              (ListEntry{utf8Name, olmira::EntryKind::File, "1234567"}));

    EXPECT_FALSE(window.SelectedDrive(Destination));
    window.AddDrive(Destination, "hdd/");
    window.AddDrive(Destination, "M\xfcll/");
    window.SelectFirstDrive(Destination);
    EXPECT_EQ(window.SelectedDrive(Destination), "hdd/");
    QComboBox& drives = test.Child<QComboBox>("cbDestMedia");
    drives.setCurrentIndex(1);
    EXPECT_EQ(drives.currentText(), QStringLiteral("Müll/"));
    EXPECT_EQ(window.SelectedDrive(Destination), "M\xfcll/");

    window.ClearDriveBox(Destination);
    EXPECT_EQ(drives.count(), 0);
    EXPECT_EQ(drives.currentText(), QString());
    window.ClearEntryList(Source);
    EXPECT_TRUE(test.Captions("SourceList").isEmpty());
}

TEST(MainWindow, GetPaneControlsGivesEachPanesControlsAndNoneForOtherValues) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    const TformMain::PaneControls source = test.Window().GetPaneControls(Source);
    EXPECT_EQ(source.label, &test.Child<QLabel>("labelSourceFolder"));
    EXPECT_EQ(source.list, &test.Child<EntryListView>("SourceList"));
    EXPECT_EQ(source.folderUp, &test.Child<QToolButton>("tbSourceFolderUp"));
    const TformMain::PaneControls destination = test.Window().GetPaneControls(Destination);
    EXPECT_EQ(destination.label, &test.Child<QLabel>("labelDestFolder"));
    EXPECT_EQ(destination.list, &test.Child<EntryListView>("DestList"));
    EXPECT_EQ(destination.folderUp, &test.Child<QToolButton>("tbDestFolderUp"));
    for (const int other : {0, 3, -1}) {
        const TformMain::PaneControls none = test.Window().GetPaneControls(olmira::Pane(other));
        EXPECT_EQ(none.label, nullptr);
        EXPECT_EQ(none.list, nullptr);
    }
}

TEST(MainWindow, AnEmptyHostGivesTwoBlanksInTheHintAndTheMissingHostMessage) {
    WindowUnderTest test("[Network]\r\nolmira_User=root\r\n");
    EXPECT_EQ(test.Hint("tbConnect"), QStringLiteral("Verbindung zu  herstellen"));
    test.Click("tbConnect");
    ASSERT_EQ(test.Boxes().shown.size(), 1u);
    EXPECT_EQ(test.Boxes().shown[0].title, QStringLiteral("Olmira Remote File Manager"));
    EXPECT_EQ(test.Boxes().shown[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(test.Boxes().shown[0].text,
              QStringLiteral("Kein Host in den Konfigurationsdaten hinterlegt!"));
    EXPECT_EQ(test.ConnectImage(), 0);
}

// /proc/self/mem is a regular file whose start cannot be read, even by root.
TEST(MainWindow, AnUnreadableMappingFileIsReportedOnceTheWindowIsUp) {
    WindowUnderTest test(WindowUnderTest::BoxIni() +
                         "[Allgemein]\r\nepg_mapping=../../proc/self/mem\r\n");
    ASSERT_TRUE(WaitUntil([&] { return !test.Boxes().shown.empty(); }));
    ASSERT_EQ(test.Boxes().shown.size(), 1u);
    EXPECT_EQ(test.Boxes().shown[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(test.Boxes().shown[0].text.startsWith("Datei "));
    EXPECT_TRUE(test.Boxes().shown[0].text.endsWith(" kann nicht geöffnet werden."));
    EXPECT_EQ(test.Hint("tbConnect"), QStringLiteral("Verbindung zu 127.0.0.1 herstellen"));
    EXPECT_FALSE(test.Enabled("panelSource"));
}

TEST(MainWindow, HandlerErrorsEndInTheErrorBoxNotInTheEventLoop) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    test.Window().SetPaneEnabled(Source, true);
    test.Window().SetEntries(
        Source, olmira::test_support::MakeEntries({{"./", olmira::EntryKind::ThisFolder, ""},
                                                   {"Filme/", olmira::EntryKind::Folder, ""}}));
    ASSERT_TRUE(test.Select("SourceList", QStringLiteral("Filme/")));
    QTest::keyClick(&test.Child<EntryListView>("SourceList"), Qt::Key_Return);
    ASSERT_EQ(test.Boxes().shown.size(), 1u);
    EXPECT_EQ(test.Boxes().shown[0].icon, QMessageBox::Critical);
    EXPECT_EQ(test.Boxes().shown[0].text, QStringLiteral("Not Connected."));
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("nicht verbunden"));
}

// As in two-pane file managers: Tab and Shift+Tab anywhere in a pane go to
// the other pane's list, the tool bar's buttons left out.
TEST(MainWindow, TabMovesBetweenThePanesLists) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    test.Window().activateWindow();
    for (const olmira::Pane pane : {Source, Destination}) {
        test.Window().SetPaneEnabled(pane, true);
    }
    const struct {
        const char* from;
        const char* to;
    } cases[] = {
        {"SourceList", "DestList"},      {"DestList", "SourceList"},
        {"cbSourceMedia", "DestList"},   {"bChgDestRootFolder", "SourceList"},
        {"tbSourceRefresh", "DestList"}, {"tbDestRefresh", "SourceList"},
    };
    for (const auto& c : cases) {
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            auto& from = test.Child<QWidget>(c.from);
            from.setFocus();
            ASSERT_TRUE(WaitUntil([&] { return from.hasFocus(); })) << c.from;
            QTest::keyClick(QApplication::focusWidget(), key);
            EXPECT_TRUE(WaitUntil([&] { return test.Child<QWidget>(c.to).hasFocus(); }))
                << c.from << " " << key;
        }
    }
}

TEST(LogWindow, TogglesWithTheLogButtonEvenAfterItsOwnCloseBox) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    QToolButton& button = test.Child<QToolButton>("tbLog");
    QWidget& log = test.Child<QWidget>("formLog");
    EXPECT_TRUE(log.windowFlags() & Qt::Tool);
    EXPECT_EQ(log.windowTitle(), QStringLiteral("Log"));
    EXPECT_EQ(log.geometry(), QRect(174, 185, 442, 265));

    test.Click("tbLog");
    EXPECT_TRUE(log.isVisible());
    EXPECT_TRUE(button.isChecked());
    EXPECT_EQ(button.toolTip(), QStringLiteral("Log ausblenden"));

    log.close();
    EXPECT_FALSE(log.isVisible());
    EXPECT_TRUE(button.isChecked());
    EXPECT_EQ(button.toolTip(), QStringLiteral("Log ausblenden"));

    test.Click("tbLog");
    EXPECT_FALSE(log.isVisible());
    EXPECT_FALSE(button.isChecked());
    EXPECT_EQ(button.toolTip(), QStringLiteral("Log einblenden"));

    test.Click("tbLog");
    EXPECT_TRUE(log.isVisible());
    EXPECT_TRUE(button.isChecked());
}

TEST(LogWindow, EachBlockStartsANewLineAndKeepsItsOwnLineBreaks) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    test.Window().AppendLog("login: ");
    test.Window().AppendLog("root\r\nPassword:");
    test.Window().AppendLog("W\xe4lder\r");
    const QPlainTextEdit& memo = test.Child<QPlainTextEdit>("memoLog");
    ASSERT_TRUE(WaitUntil([&test] { return !test.Window().LogWindow().Pending(); }));
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("login: \nroot\nPassword:\nWälder\n"));
    EXPECT_FALSE(memo.isReadOnly());
    EXPECT_EQ(memo.lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(memo.maximumBlockCount(), 0);
}

TEST(Images, EveryPictureIsDrawnAt16PixelsAndDiffersFromTheOthers) {
    const ImageList images;
    std::vector<QImage> drawn;
    for (int i = 0; i < ImageList::kCount; ++i) {
        const QImage image = images.Icon(i).pixmap(QSize(16, 16)).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16)) << i;
        int opaque = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
            }
        }
        EXPECT_GT(opaque, 30) << "image " << i << " is nearly empty";
        for (std::size_t j = 0; j < drawn.size(); ++j) {
            EXPECT_NE(image, drawn[j]) << "images " << i << " and " << j;
        }
        drawn.push_back(image);
    }
    EXPECT_TRUE(images.Icon(ImageList::kCount).isNull());
    EXPECT_FALSE(images.Icon(0).pixmap(QSize(48, 48)).isNull());
}

TEST(MainWindow, ExitWhileDisconnectedEndsTheEventLoop) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    EXPECT_EQ(ExitCodeAfterClicking(test, "tbExit"), 0);
    EXPECT_TRUE(test.Boxes().shown.empty());
}

}  // namespace
