// Jobs sent to the background on a box whose cp is slow: the panes browse
// and tidy meanwhile, a second job waits behind the first, and the job list
// follows both to their end.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "file_bytes.h"
#include "films_to_usb.h"
#include "form_jobs.h"

namespace {

namespace fs = std::filesystem;

constexpr char kNote[] = "Liesmich.txt";
constexpr int kJobTimeoutMs = 40000;

using olmira::test_support::FileBytes;

class BackgroundJobs : public FilmsToUsb {
protected:
    QTreeWidget& JobTree() { return test.Window().JobsWindow().Tree(); }

    QStringList JobStates() {
        QStringList states;
        for (int i = 0; i < JobTree().topLevelItemCount(); ++i) {
            states << JobTree().topLevelItem(i)->text(4);
        }
        return states;
    }

    fs::path Usb(const char* name) const { return fs::path(media) / "usb" / name; }
    fs::path Filme(const char* name) const { return fs::path(media) / "hdd" / "Filme" / name; }
};

TEST_F(BackgroundJobs, TheBoxCopiesWhileThePanesAreUsedAndASecondJobWaitsItsTurn) {
    ASSERT_TRUE(test.Select("SourceList", kFilm));
    test.Click("tbCopyFile");
    ASSERT_TRUE(WaitUntil([this] { return Progress() != nullptr && Progress()->isVisible(); }));
    QTest::mouseClick(Progress()->findChild<QPushButton*>("bBackground"), Qt::LeftButton);
    EXPECT_EQ(Progress(), nullptr);
    EXPECT_TRUE(test.Enabled("panelMain"));
    ASSERT_TRUE(WaitUntil([this] {
        return test.Child<QToolButton>("labelJobs")
            .text()
            .startsWith("Box: Spielfilm 1.ts, 1 von 1");
    }));

    // The entry the job reads stays; another one goes.
    test.Boxes().answerDelete = true;
    ASSERT_TRUE(test.Select("SourceList", kFilm));
    test.Click("tbSourceDelete");
    ASSERT_FALSE(test.Boxes().shown.empty());
    EXPECT_TRUE(test.Boxes().shown.back().text.contains("wird von Auftrag"));
    EXPECT_TRUE(fs::exists(Filme(kFilm)));
    ASSERT_TRUE(test.Select("DestList", "Konzert.ts"));
    test.Click("tbDestDelete");
    EXPECT_TRUE(WaitUntil([this] { return !test.Captions("DestList").contains("Konzert.ts"); }));
    EXPECT_FALSE(fs::exists(Usb("Konzert.ts")));

    ASSERT_TRUE(test.Select("SourceList", kNote));
    test.Click("tbCopyFile");
    ASSERT_TRUE(WaitUntil([this] { return test.Window().Copier().Board().size() == 2; }));
    test.Click("tbJobs");
    ASSERT_TRUE(test.Window().JobsWindow().isVisible());
    EXPECT_EQ(JobTree().topLevelItemCount(), 2);
    EXPECT_EQ(JobTree().topLevelItem(1)->child(0)->text(4), "wartet");

    ASSERT_TRUE(WaitUntil(
        [this] {
            const QStringList states = JobStates();
            return states.size() == 2 && states[0].startsWith("beendet") &&
                   states[1].startsWith("beendet");
        },
        kJobTimeoutMs))
        << JobStates().join(" | ").toStdString();
    EXPECT_EQ(JobTree().topLevelItem(0)->child(0)->text(4), "fertig");
    EXPECT_EQ(FileBytes(Usb(kFilm)), FileBytes(Filme(kFilm)));
    EXPECT_EQ(FileBytes(Usb(kNote)), FileBytes(Filme(kNote)));
    EXPECT_TRUE(test.WaitForCaption("DestList", kNote));
    EXPECT_FALSE(test.Child<QToolButton>("labelJobs").isVisible());
    EXPECT_TRUE(test.StatusTexts().join("\n").contains("auf der Box beendet"));

    test.Click("bClearEnded");
    EXPECT_EQ(JobTree().topLevelItemCount(), 0);
}

// A job waiting behind another is cancelled from the job list: it copies
// nothing, and the one before it runs to its end.
TEST_F(BackgroundJobs, AWaitingJobIsCancelledFromTheJobList) {
    ASSERT_TRUE(test.Select("SourceList", kFilm));
    test.Click("tbCopyFile");
    ASSERT_TRUE(WaitUntil([this] { return Progress() != nullptr; }));
    // the window manager's close box leaves the job to the box too
    Progress()->close();
    ASSERT_TRUE(WaitUntil([this] { return Progress() == nullptr; }));
    EXPECT_TRUE(test.Enabled("panelMain"));
    ASSERT_TRUE(test.Select("SourceList", kNote));
    test.Click("tbCopyFile");
    ASSERT_TRUE(WaitUntil([this] { return test.Window().Copier().Board().size() == 2; }));

    test.Click("tbJobs");
    JobTree().setCurrentItem(JobTree().topLevelItem(1));
    test.Click("bCancelJob");
    ASSERT_TRUE(WaitUntil(
        [this] {
            const QStringList states = JobStates();
            return states.size() == 2 && states[1].startsWith("beendet");
        },
        kJobTimeoutMs));
    EXPECT_EQ(JobTree().topLevelItem(1)->child(0)->text(4), "abgebrochen");
    EXPECT_FALSE(fs::exists(Usb(kNote)));
    EXPECT_EQ(FileBytes(Usb(kFilm)), FileBytes(Filme(kFilm)));
}

// The box's end of the line is cut: the window tries again by itself,
// shows both folders again and follows the job it lost sight of.
TEST_F(BackgroundJobs, ADroppedLineComesBackWithItsFoldersAndItsJob) {
    // long enough to outlast the new login
    constexpr char kLong[] = "Lang.ts";
    std::ofstream(Filme(kLong)) << std::string(std::size_t{6} * 1024 * 1024, 'l');
    test.Click("tbSourceRefresh");
    ASSERT_TRUE(test.WaitForCaption("SourceList", kLong));
    ASSERT_TRUE(test.Select("SourceList", kLong));
    test.Click("tbCopyFile");
    ASSERT_TRUE(WaitUntil([this] { return Progress() != nullptr; }));
    QTest::mouseClick(Progress()->findChild<QPushButton*>("bBackground"), Qt::LeftButton);

    ASSERT_EQ(std::system("pkill -KILL -x telnetd"), 0);
    ASSERT_TRUE(
        WaitUntil([this] { return test.StatusTexts().join("\n").contains("neuer Versuch in"); }));
    // the job stays in sight while the line is down
    const std::vector<olmira::BoardJob> away = test.Window().Copier().Board();
    ASSERT_EQ(away.size(), 1u);
    EXPECT_TRUE(away.front().away);
    ASSERT_TRUE(WaitUntil([this] { return test.Text("labelSourceFolder") == "hdd/Filme/"; },
                          kJobTimeoutMs));
    EXPECT_TRUE(test.WaitForCaption("SourceList", kLong));
    EXPECT_EQ(test.Text("labelDestFolder"), "usb/");
    EXPECT_EQ(test.ConnectImage(), 1);

    ASSERT_TRUE(
        WaitUntil([this] { return test.StatusTexts().join("\n").contains("auf der Box beendet"); },
                  kJobTimeoutMs))
        << test.StatusTexts().join("\n").toStdString();
    EXPECT_EQ(FileBytes(Usb(kLong)), FileBytes(Filme(kLong)));
    EXPECT_TRUE(test.WaitForCaption("DestList", kLong));
}

}  // namespace
