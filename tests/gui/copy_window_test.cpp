// Copies through the main window against the simulated box.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "file_bytes.h"
#include "window_under_test.h"

namespace {

namespace fs = std::filesystem;

using olmira::test_support::FileBytes;

class CopyWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test.ConnectAndLogIn()) << "no drive list";
        test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
        ASSERT_TRUE(test.WaitForCaption("SourceList", "Filme/"));
    }

    void ShowDestination(const char* drive, const QString& caption) {
        test.ChooseDrive("cbDestMedia", "bChgDestRootFolder", drive);
        ASSERT_TRUE(test.WaitForCaption("DestList", caption));
    }

    fs::path media = qEnvironmentVariable("SIMBOX_MEDIA").toStdString();
    WindowUnderTest test{WindowUnderTest::BoxIni()};
};

// The recording's info file goes along.
TEST_F(CopyWindow, F5CopiesAFileAndTheDestinationShowsIt) {
    ShowDestination("usb/", "Konzert.ts");
    ASSERT_TRUE(test.Select("SourceList", "Nachrichten.ts"));
    QTest::keyClick(&test.Window(), Qt::Key_F5);
    ASSERT_TRUE(test.WaitForCaption("DestList", "Nachrichten.crid"));
    ASSERT_TRUE(test.WaitForCaption("DestList", "Nachrichten.ts"));
    EXPECT_EQ(test.StatusTexts().back(), "1 von 1 Eintrag kopiert");
    EXPECT_EQ(FileBytes(media / "usb" / "Nachrichten.crid"),
              FileBytes(media / "hdd" / "Nachrichten.crid"));
    EXPECT_TRUE(test.Enabled("panelMain"));
    EXPECT_EQ(test.Window().ProgressWindow(), nullptr);
    EXPECT_EQ(FileBytes(media / "usb" / "Nachrichten.ts"),
              FileBytes(media / "hdd" / "Nachrichten.ts"));
}

// What is gone since it was listed cannot be measured: the job is refused
// with du's message before anything is copied.
TEST_F(CopyWindow, AnEntryGoneSinceItWasListedIsRefused) {
    test.DoubleClick("SourceList", "Filme/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "../"));
    ShowDestination("hdd/", "Filme/");
    ASSERT_TRUE(test.Select("SourceList", "Serien/"));
    fs::remove_all(media / "hdd" / "Filme" / "Serien");  // gone since it was listed
    test.Click("tbCopyFile");
    ASSERT_TRUE(WaitUntil([this] { return !test.Boxes().shown.empty(); }, 10000))
        << test.StatusTexts().join(" | ").toStdString();
    EXPECT_TRUE(test.Boxes().shown.front().text.startsWith(
        "Die Größe ist nicht zu ermitteln:\nhdd/Filme/Serien (du: "))
        << test.Boxes().shown.front().text.toStdString();
    EXPECT_FALSE(fs::exists(media / "hdd" / "Filme" / "Serien"));
    EXPECT_TRUE(test.Enabled("panelMain"));
}

TEST_F(CopyWindow, TheCurrentAndTheParentFolderAreNotCopied) {
    test.DoubleClick("SourceList", "Filme/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "../"));
    ShowDestination("usb/", "Konzert.ts");
    const auto names = [this] {
        std::set<std::string> held;
        for (const auto& entry : fs::directory_iterator(media / "usb")) {
            held.insert(entry.path().filename().string());
        }
        return held;
    };
    const std::set<std::string> before = names();
    for (const char* caption : {"./", "../"}) {
        ASSERT_TRUE(test.Select("SourceList", caption));
        test.Click("tbCopyFile");
    }
    QTest::qWait(300);
    EXPECT_EQ(names(), before);
    EXPECT_EQ(test.Window().ProgressWindow(), nullptr);
    EXPECT_TRUE(test.Boxes().shown.empty());
    EXPECT_TRUE(test.Enabled("panelMain"));
}

// Right to left: F6 in the right pane moves its selection into the left
// pane's folder, across drives, the recording's info file along.
TEST_F(CopyWindow, F6InTheRightPaneMovesItsEntriesToTheLeft) {
    ShowDestination("usb/", "Konzert.ts");
    const std::string bytes = FileBytes(media / "usb" / "Konzert.ts");
    QWidget& destList = *test.Window().findChild<QWidget*>(QStringLiteral("DestList"));
    destList.activateWindow();
    destList.setFocus();
    ASSERT_TRUE(WaitUntil([&] { return destList.hasFocus(); }));
    ASSERT_TRUE(test.Select("DestList", "Konzert.ts"));
    QTest::keyClick(&test.Window(), Qt::Key_F6);
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Konzert.ts"));
    ASSERT_TRUE(WaitUntil(
        [this] { return test.Enabled("panelMain") && !test.Window().Copier().Running(); }, 10000));
    EXPECT_EQ(FileBytes(media / "hdd" / "Konzert.ts"), bytes);
    EXPECT_FALSE(fs::exists(media / "usb" / "Konzert.ts"));
    EXPECT_EQ(fs::exists(media / "hdd" / "Konzert.crid"),
              !fs::exists(media / "usb" / "Konzert.crid"));
    EXPECT_TRUE(test.Boxes().shown.empty());
    // The keyboard goes on where it was, not on the exit button.
    EXPECT_EQ(test.Window().focusWidget(), &destList);
}

}  // namespace
