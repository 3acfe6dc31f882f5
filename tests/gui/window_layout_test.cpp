// How the main window uses its room: the lists take what the window gives,
// the bars keep their height, sizes and dates show in full at any size, and
// the folder-up buttons are usable only where there is a folder to go up to.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QSplitter>
#include <QToolBar>
#include <map>
#include <string>

#include "entry_list_model.h"
#include "make_entries.h"
#include "window_under_test.h"

namespace {

using olmira::ListEntry;

constexpr const char* kLists[] = {"SourceList", "DestList"};
constexpr int kSizeColumn = EntryListModel::SizeColumn;
constexpr int kDateColumn = EntryListModel::DateColumn;

// Sizes as long as the box gives them, up to recordings of hundreds of GB,
// and their dates.
void ListRecordings(TformMain& window) {
    for (const olmira::Pane pane : {olmira::Source, olmira::Destination}) {
        window.SetEntries(pane,
                          olmira::test_support::MakeEntries(
                              {{"./", olmira::EntryKind::ThisFolder, ""},
                               {"../", olmira::EntryKind::ParentFolder, ""},
                               {"Serien/", olmira::EntryKind::Folder, ""},
                               {"Der lange Film.ts", olmira::EntryKind::File, "307200"},
                               {"Die ganze Staffel.ts", olmira::EntryKind::File, "123456789"}}));
        auto dates = std::make_shared<olmira::EntryDates>(5);
        for (std::size_t entry = 2; entry < 5; ++entry) {
            dates->Set(entry, "2026-12-09 14:03");
        }
        window.SetDates(pane, dates);
    }
}

// Lets the layouts follow a change of size.
void Settle() {
    QTest::qWait(0);
}

// The size and date columns are wide enough for their widest texts, the
// date column ends at the view's right edge, and the name column takes
// everything left of them.
void ExpectSizesShownInFull(WindowUnderTest& test, const std::string& when) {
    for (const char* name : kLists) {
        const EntryListView& list = test.Child<EntryListView>(name);
        const QHeaderView& header = *list.header();
        const QAbstractItemView& view = list;
        EXPECT_EQ(header.sectionViewportPosition(EntryListModel::NameColumn), 0) << name << when;
        EXPECT_EQ(header.sectionViewportPosition(kDateColumn) + header.sectionSize(kDateColumn),
                  list.viewport()->width())
            << name << when;
        for (const int column : {kSizeColumn, kDateColumn}) {
            EXPECT_GE(header.sectionSize(column), view.sizeHintForColumn(column))
                << name << when << " column " << column;
            EXPECT_GE(header.sectionSize(column), header.sectionSizeHint(column))
                << name << when << " column " << column;
        }
    }
}

TEST(WindowLayout, SizesShowInFullInBothPanesAtEveryWindowSize) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    ListRecordings(test.Window());
    Settle();
    ExpectSizesShownInFull(test, " at the start");

    const QSize windowSizes[] = {{1200, 900}, {700, 500}, {300, 200}, {1, 1}};
    for (const QSize& size : windowSizes) {
        test.Window().resize(size);
        Settle();
        ExpectSizesShownInFull(test, " in a window of " + std::to_string(size.width()) + "x" +
                                         std::to_string(size.height()));
    }

    test.Window().resize(608, 428);
    QSplitter& splitter = test.Child<QSplitter>("splitterSourceDest");
    const std::pair<const char*, QList<int>> splits[] = {
        {" with the splitter far left", {0, 5000}},
        {" with the splitter far right", {5000, 0}},
    };
    for (const auto& [when, sizes] : splits) {
        splitter.setSizes(sizes);
        Settle();
        ExpectSizesShownInFull(test, when);
    }
}

TEST(WindowLayout, SizesAreRightAligned) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    ListRecordings(test.Window());
    for (const char* name : kLists) {
        const QAbstractItemModel& model = *test.Child<EntryListView>(name).model();
        const auto alignment = model.index(3, kSizeColumn).data(Qt::TextAlignmentRole).toInt();
        EXPECT_TRUE(alignment & Qt::AlignRight) << name;
    }
}

TEST(WindowLayout, ListsShareTheRoomALargerWindowGivesAndTheBarsKeepTheirHeight) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    EXPECT_FALSE(test.Window().windowIcon().isNull());
    const char* const fixedHeights[] = {
        "ToolBar",        "Label1",        "Label2",      "cbSourceMedia",
        "cbDestMedia",    "ToolBarSource", "ToolBarDest", "labelSourceFolder",
        "labelDestFolder"};
    std::map<std::string, QSize> before;
    for (const char* name : fixedHeights) {
        before[name] = test.Child<QWidget>(name).size();
    }
    for (const char* name : {"panelSource", "panelDest", "SourceList", "DestList"}) {
        before[name] = test.Child<QWidget>(name).size();
    }

    const QSize larger(1000, 800);
    const QSize growth = larger - test.Window().size();
    test.Window().resize(larger);
    Settle();

    for (const char* name : fixedHeights) {
        EXPECT_EQ(test.Child<QWidget>(name).height(), before[name].height()) << name;
    }
    for (const char* name : kLists) {
        EXPECT_EQ(test.Child<QWidget>(name).height(), before[name].height() + growth.height())
            << name;
    }
    // The panes share the new width evenly.
    for (const char* name : {"panelSource", "panelDest"}) {
        EXPECT_NEAR(test.Child<QWidget>(name).width(), before[name].width() + growth.width() / 2, 1)
            << name;
    }
}

// Enabled only while a folder below a drive's root is listed: not after
// logging in, where no folder is shown yet, and not again after
// reconnecting, whatever was shown before.
TEST(FolderUpButtons, AreEnabledOnlyWhereAFolderBelowADrivesRootIsShown) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    const auto expectFolderUp = [&test](bool source, bool destination, const char* when) {
        EXPECT_EQ(test.Enabled("tbSourceFolderUp"), source) << when;
        EXPECT_EQ(test.Enabled("tbDestFolderUp"), destination) << when;
    };

    ASSERT_TRUE(test.ConnectAndLogIn());
    expectFolderUp(false, false, "after logging in");

    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Filme/"));
    expectFolderUp(false, false, "at a drive's root");
    test.DoubleClick("SourceList", "Filme/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Serien/"));
    expectFolderUp(true, false, "below a drive's root");

    test.Click("tbConnect");
    ASSERT_TRUE(test.ConnectAndLogIn());
    expectFolderUp(false, false, "after logging in again");
}

}  // namespace
