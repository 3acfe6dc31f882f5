// Copies through the main window on a box whose cp is slow, so a copy runs
// long enough to watch, cancel or leave it.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <filesystem>
#include <fstream>

#include "file_bytes.h"
#include "films_to_usb.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCopyTimeoutMs = 30000;

using olmira::test_support::FileBytes;

class SlowCopyWindow : public FilmsToUsb {
protected:
    void SetUp() override {
        FilmsToUsb::SetUp();
        ASSERT_TRUE(test.Select("SourceList", kFilm));
    }

    bool WaitForProgressWindow() {
        return WaitUntil([this] { return Progress() != nullptr && Progress()->isVisible(); });
    }

    QString ProgressText(const char* name) {
        return Progress()->findChild<QLabel*>(QString::fromUtf8(name))->text();
    }

    fs::path Source() const { return fs::path(media) / "hdd" / "Filme" / kFilm; }
    fs::path Target() const { return fs::path(media) / "usb" / kFilm; }
    // The copy's name until it is whole.
    fs::path Part() const { return fs::path(media) / "usb" / (std::string(".") + kFilm + ".part"); }
};

TEST_F(SlowCopyWindow, TheProgressWindowFollowsTheCopyUntilItEnds) {
    test.Click("tbCopyFile");
    EXPECT_FALSE(test.Enabled("panelMain"));
    ASSERT_TRUE(WaitForProgressWindow());
    EXPECT_EQ(ProgressText("labelCopyWhat"), "Daten werden kopiert...");
    EXPECT_EQ(ProgressText("labelSource"), QString("hdd/Filme/") + kFilm);
    EXPECT_EQ(ProgressText("labelDest"), "usb/");
    EXPECT_EQ(ProgressText("labelSize"), "2048");
    EXPECT_TRUE(Progress()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    QList<int> seen;
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (Progress() == nullptr) {
                return true;
            }
            const int transferred = ProgressText("labelTransfer").toInt();
            if (seen.isEmpty() || seen.back() != transferred) {
                seen << transferred;
            }
            return false;
        },
        kCopyTimeoutMs));
    EXPECT_GE(seen.size(), 3) << "values seen: " << seen.size();
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(seen.back(), 0);

    ASSERT_TRUE(test.WaitForCaption("DestList", kFilm));
    EXPECT_TRUE(test.Enabled("panelMain"));
    EXPECT_EQ(test.StatusTexts().back(), "Bereit...");
    EXPECT_EQ(FileBytes(Target()), FileBytes(Source()));
}

TEST_F(SlowCopyWindow, EscCancelsAndRemovesTheUnfinishedCopy) {
    test.Click("tbCopyFile");
    ASSERT_TRUE(WaitForProgressWindow());
    ASSERT_TRUE(WaitUntil([this] { return fs::exists(Part()); }));
    QTest::keyClick(Progress(), Qt::Key_Escape);
    ASSERT_TRUE(WaitUntil([this] { return Progress() == nullptr; }, kCopyTimeoutMs));
    EXPECT_TRUE(test.StatusTexts().contains("Kopiervorgang abgebrochen"));
    ASSERT_TRUE(WaitUntil([this] { return test.Enabled("panelMain"); }));
    EXPECT_EQ(test.Window().focusWidget(), &test.Child<QWidget>("SourceList"));
    EXPECT_FALSE(fs::exists(Target()));
    EXPECT_FALSE(fs::exists(Part()));
}

TEST_F(SlowCopyWindow, DisconnectingLeavesTheCopyToTheBox) {
    test.Click("tbCopyFile");
    ASSERT_TRUE(WaitForProgressWindow());
    test.Click("tbConnect");
    EXPECT_EQ(Progress(), nullptr);
    EXPECT_EQ(test.ConnectImage(), 0);
    EXPECT_TRUE(test.Enabled("panelMain"));
    EXPECT_FALSE(test.Enabled("panelSource"));
    EXPECT_EQ(test.StatusTexts().back(),
              QString::fromUtf8("Verbindung getrennt; der Kopiervorgang läuft auf der Box weiter"));
    // Nothing of the copy fires any more, and the box finishes it.
    EXPECT_TRUE(
        WaitUntil([this] { return FileBytes(Target()) == FileBytes(Source()); }, kCopyTimeoutMs));
    EXPECT_EQ(test.StatusTexts().back(),
              QString::fromUtf8("Verbindung getrennt; der Kopiervorgang läuft auf der Box weiter"));

    // The next login reports what became of it, once.
    test.Click("tbConnect");
    ASSERT_TRUE(WaitUntil([this] { return !test.Boxes().shown.empty(); }, kCopyTimeoutMs));
    EXPECT_EQ(test.Boxes().shown.back().text,
              QString::fromUtf8("Während der Trennung: 1 von 1 Eintrag kopiert."));
    EXPECT_TRUE(WaitUntil([this] { return test.Enabled("panelMain"); }));
}

// The file an overwrite replaces is whole from the start: the window counts
// only what the copy under its temporary name holds.
TEST_F(SlowCopyWindow, AnOverwriteCountsOnlyWhatItsCopyHolds) {
    fs::copy_file(Source(), Target());
    test.ChooseDrive("cbDestMedia", "bChgDestRootFolder", "usb/");
    ASSERT_TRUE(test.WaitForCaption("DestList", kFilm));
    test.Boxes().answerYes = true;
    test.Click("tbCopyFile");
    ASSERT_TRUE(WaitForProgressWindow());
    const auto copiedKB = [this] {
        std::error_code error;
        const auto bytes = fs::file_size(Part(), error);
        return error ? -1 : static_cast<int>((bytes + 4095) / 4096 * 4);
    };
    int shownAtMost = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (Progress() == nullptr) {
                return true;
            }
            const int shown = ProgressText("labelTransfer").toInt();
            const int copied = copiedKB();
            if (copied >= 0) {
                EXPECT_LE(shown, copied) << "the copy held " << copied << " kB";
            }
            shownAtMost = std::max(shownAtMost, shown);
            return false;
        },
        kCopyTimeoutMs));
    EXPECT_GT(shownAtMost, 0);
    EXPECT_EQ(FileBytes(Target()), FileBytes(Source()));
}

}  // namespace
