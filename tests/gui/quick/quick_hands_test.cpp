// Quick hands on a box whose ls is slow: a click comes while a listing's
// reply is still on its way, and must neither land in the wrong pane nor
// let a copy read the folder the destination showed before.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "file_bytes.h"
#include "window_under_test.h"

namespace {

namespace fs = std::filesystem;

using olmira::test_support::FileBytes;

class QuickHands : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test.ConnectAndLogIn()) << "no drive list"; }

    fs::path media = qEnvironmentVariable("SIMBOX_MEDIA").toStdString();
    WindowUnderTest test{WindowUnderTest::BoxIni() + "[Transfer]\r\nwith_crid=0\r\n"};
};

TEST_F(QuickHands, EachPaneGetsItsOwnListing) {
    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    test.ChooseDrive("cbDestMedia", "bChgDestRootFolder", "usb/");
    ASSERT_TRUE(test.WaitForCaption("DestList", "Konzert.ts"));
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Nachrichten.ts"));
    EXPECT_FALSE(test.Captions("SourceList").contains("Konzert.ts"));
    EXPECT_FALSE(test.Captions("DestList").contains("Nachrichten.ts"));
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("hdd/"));
    EXPECT_EQ(test.Text("labelDestFolder"), QStringLiteral("usb/"));
}

// The copy button right after the destination's "go": the folder that is
// being listed holds the name, the one shown a moment ago does not.
TEST_F(QuickHands, ACopyRightAfterGoAsksAboutTheNewFolder) {
    const fs::path theirs = media / "PC1" / "Nachrichten.ts";
    std::ofstream(theirs) << "PC1's own recording";
    const std::string before = FileBytes(theirs);
    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Nachrichten.ts"));
    test.ChooseDrive("cbDestMedia", "bChgDestRootFolder", "usb/");
    ASSERT_TRUE(test.WaitForCaption("DestList", "Konzert.ts"));

    ASSERT_TRUE(test.Select("SourceList", "Nachrichten.ts"));
    test.ChooseDrive("cbDestMedia", "bChgDestRootFolder", "PC1/");
    test.Click("tbCopyFile");
    EXPECT_TRUE(test.Boxes().shown.empty()) << "asked before PC1/ was listed";
    ASSERT_TRUE(WaitUntil([this] { return !test.Boxes().shown.empty(); }, 10000));
    EXPECT_EQ(test.Boxes().shown.front().text,
              QString::fromUtf8("Nachrichten.ts ist im Ziel schon vorhanden. Überschreiben?"));
    EXPECT_TRUE(test.Captions("DestList").contains("Archiv/"));
    EXPECT_TRUE(WaitUntil([this] { return test.Enabled("panelMain"); }));
    QTest::qWait(500);
    EXPECT_EQ(FileBytes(theirs), before);

    // Asked again and answered yes, the copy replaces it.
    test.Boxes().answerYes = true;
    ASSERT_TRUE(test.Select("SourceList", "Nachrichten.ts"));
    test.Click("tbCopyFile");
    ASSERT_TRUE(WaitUntil(
        [&] { return FileBytes(theirs) == FileBytes(media / "hdd" / "Nachrichten.ts"); }, 20000));
    EXPECT_TRUE(WaitUntil([this] { return test.Enabled("panelMain"); }, 20000));
}

// While a folder's listing is on its way the pane keeps the old entries,
// greyed under a busy cursor, until the listing comes or the box says the
// folder is not there.
TEST_F(QuickHands, AFolderBeingListedLooksBusyUntilItsListingOrItsFailureComes) {
    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Nachrichten.ts"));
    const EntryListView& list = test.Child<EntryListView>("SourceList");
    const QColor text = list.palette().color(QPalette::Text);
    const QColor greyed = list.palette().color(QPalette::Disabled, QPalette::Text);
    ASSERT_NE(text, greyed);
    const auto looksBusy = [&list, greyed] {
        return list.viewport()->cursor().shape() == Qt::BusyCursor &&
               list.palette().color(QPalette::Text) == greyed;
    };
    const std::pair<const char*, bool> folders[] = {{"Filme/", false}, {"Leer/", true}};
    for (const auto& [folder, gone] : folders) {
        if (gone) {
            fs::remove_all(media / "hdd" / folder);
        }
        test.DoubleClick("SourceList", folder);
        EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("hdd/") + folder);
        EXPECT_TRUE(looksBusy()) << folder;
        EXPECT_TRUE(test.Captions("SourceList").contains("Nachrichten.ts")) << folder;
        ASSERT_TRUE(WaitUntil([&] { return !looksBusy(); }, 10000)) << folder;
        EXPECT_EQ(list.viewport()->cursor().shape(), Qt::ArrowCursor) << folder;
        EXPECT_EQ(list.palette().color(QPalette::Text), text) << folder;
        EXPECT_FALSE(test.Captions("SourceList").contains("Nachrichten.ts")) << folder;

        test.Click("tbSourceFolderUp");
        ASSERT_TRUE(test.WaitForCaption("SourceList", "Nachrichten.ts"));
        ASSERT_TRUE(WaitUntil([&] { return !looksBusy(); }, 10000));
    }
}

}  // namespace
