// Sorting the panes by a click on a list's header.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include "make_entries.h"
#include "temp_folder.h"
#include "window_under_test.h"

namespace {

using olmira::Destination;
using olmira::EntryKind;
using olmira::Source;

// A folder below a drive's root as a listing gives it: folders, then files,
// each in the box's order.
olmira::SharedEntries Listing() {
    return olmira::test_support::MakeEntries({
        {"./", EntryKind::ThisFolder, ""},
        {"../", EntryKind::ParentFolder, ""},
        {"Serien/", EntryKind::Folder, ""},
        {"Alt/", EntryKind::Folder, ""},
        {"b.ts", EntryKind::File, "900"},
        {"a.ts", EntryKind::File, "10000"},
        {"c.crid", EntryKind::File, "4"},
    });
}

// The dates that come after the listing, by entry.
olmira::SharedDates Dates() {
    auto dates = std::make_shared<olmira::EntryDates>(7);
    dates->Set(2, "2026-01-05 10:00");
    dates->Set(3, "2019-03-01 08:00");
    dates->Set(4, "2026-12-09 14:03");
    dates->Set(5, "2024-05-05 05:05");
    return dates;
}

// As after a login: the panes take clicks.
void ShowListing(WindowUnderTest& test) {
    for (const olmira::Pane pane : {Source, Destination}) {
        test.Window().SetPaneEnabled(pane, true);
        test.Window().SetEntries(pane, Listing());
        test.Window().SetDates(pane, Dates());
    }
}

TEST(SortHeader, AClickSortsBothPanesAndTheNextRunKeepsIt) {
    const olmira::test_support::TempFolder folder;
    const std::string state = folder.File("fenster.ini");
    const QStringList byName{"./", "../", "Alt/", "Serien/", "a.ts", "b.ts", "c.crid"};
    const QStringList byDate{"./", "../", "Alt/", "Serien/", "c.crid", "a.ts", "b.ts"};
    const QStringList byDateDown{"./", "../", "Serien/", "Alt/", "b.ts", "a.ts", "c.crid"};
    const QStringList bySize{"./", "../", "Alt/", "Serien/", "c.crid", "b.ts", "a.ts"};
    {
        WindowUnderTest test(WindowUnderTest::BoxIni(), state);
        ShowListing(test);
        EXPECT_EQ(test.Captions("SourceList"), byName);
        EXPECT_EQ(test.Cell("SourceList", 5, 2), QStringLiteral("09.12.2026 14:03"));
        EXPECT_EQ(test.Cell("SourceList", 6, 2), QString());
        const QAbstractItemModel& model = *test.Child<EntryListView>("SourceList").model();
        EXPECT_EQ(model.index(5, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("b.ts"));
        ASSERT_TRUE(test.Select("SourceList", QStringLiteral("b.ts")));

        test.ClickHeader("SourceList", 2);
        EXPECT_EQ(test.Captions("SourceList"), byDate);
        EXPECT_EQ(test.Captions("DestList"), byDate);
        // The entry chosen before stays the chosen one.
        EXPECT_EQ(test.Window().SelectedEntry(Source)->caption, "b.ts");

        test.ClickHeader("SourceList", 2);
        EXPECT_EQ(test.Captions("SourceList"), byDateDown);
        EXPECT_EQ(test.Captions("DestList"), byDateDown);

        test.ClickHeader("DestList", 1);
        EXPECT_EQ(test.Captions("SourceList"), bySize);
        EXPECT_EQ(test.Captions("DestList"), bySize);
        // A new listing comes sorted alike.
        ShowListing(test);
        EXPECT_EQ(test.Captions("SourceList"), bySize);
    }
    WindowUnderTest again(WindowUnderTest::BoxIni(), state);
    ShowListing(again);
    EXPECT_EQ(again.Captions("SourceList"), bySize);
    EXPECT_EQ(again.Captions("DestList"), bySize);
}

// A folder of many recordings, as a job leaves it after each entry.
olmira::SharedEntries Recordings(int first, int last) {
    std::vector<olmira::ListEntry> rows{{"./", EntryKind::ThisFolder, ""},
                                        {"../", EntryKind::ParentFolder, ""}};
    for (int i = first; i <= last; ++i) {
        rows.push_back({QStringLiteral("Folge %1.ts").arg(i, 3, 10, QChar('0')).toStdString(),
                        EntryKind::File, "1000"});
    }
    return olmira::test_support::MakeEntries(rows);
}

TEST(SortHeader, AFolderListedAgainKeepsTheChosenEntriesAndTheScroll) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    test.Window().SetPaneEnabled(Source, true);
    test.Window().SetEntries(Source, Recordings(10, 200));
    EntryListView& list = test.Child<EntryListView>("SourceList");
    ASSERT_TRUE(test.Select("SourceList", QStringLiteral("Folge 150.ts")));
    const QModelIndex other = list.model()->index(
        static_cast<int>(test.Captions("SourceList").indexOf("Folge 120.ts")), 0);
    list.selectionModel()->select(other, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list.verticalScrollBar()->setValue(100);

    // A job put nine recordings in ahead of them.
    test.Window().RefreshEntries(Source, Recordings(1, 200));
    EXPECT_EQ(test.Window().SelectedEntry(Source)->caption, "Folge 150.ts");
    std::vector<std::string> selected;
    for (const olmira::ListEntry& entry : test.Window().SelectedEntries(Source)) {
        selected.push_back(entry.caption);
    }
    EXPECT_EQ(selected, (std::vector<std::string>{"Folge 120.ts", "Folge 150.ts"}));
    EXPECT_EQ(list.verticalScrollBar()->value(), 100);

    // Another folder starts at its top, nothing chosen.
    test.Window().SetEntries(Source, Recordings(1, 200));
    EXPECT_TRUE(test.Window().SelectedEntries(Source).empty());
    EXPECT_EQ(list.verticalScrollBar()->value(), 0);
}

}  // namespace
