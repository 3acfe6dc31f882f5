#include "copy/copy_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "copy_job_fixture.h"

namespace olmira {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;
using ::testing::Truly;

// A job handed to the runner on the box, followed to its end: the progress
// window, the end report, cancelling and a lost connection.
class CopyControllerTest : public test_support::CopyJobFixture {};

TEST_F(CopyControllerTest, LargeFileShowsProgressFromEachPoll) {
    StartJob({"Der Film.ts"});
    EXPECT_EQ(window.statusTexts.back(), "Starte Kopiervorgang...");
    EXPECT_FALSE(window.mainPanelEnabled);
    Measured({8000});
    Box();
    EXPECT_EQ(runner.calls["submit"], 1);
    EXPECT_TRUE(window.progress.shown);
    EXPECT_EQ(window.progress.start.source, "hdd/Filme/Der Film.ts");
    EXPECT_EQ(window.progress.start.dest, "usb/");
    EXPECT_EQ(window.progress.start.sizeKB, 8000);

    // Each poll: the temporary copy's size, then the bar and the rate it gives.
    runner.status = {"1 run"};
    const std::tuple<int, int, int> polls[] = {{2500, 31, 500}, {5000, 62, 500}, {7999, 99, 599}};
    for (const auto& [kB, bar, rate] : polls) {
        runner.progressKB = kB;
        Expire(5000);
        const CopyProgressUpdate& shown = window.progress.updates.back();
        EXPECT_EQ(shown.transferredKB, kB);
        EXPECT_EQ(shown.bar, bar) << kB;
        EXPECT_EQ(shown.rateKBs, rate) << kB;
        EXPECT_EQ(shown.itemCount, 0u);
        EXPECT_FALSE(window.mainPanelEnabled);
    }

    runner.progressKB.reset();
    Finish({"1 done"}, 5000);
    EXPECT_EQ(window.progress.updates.size(), 3u);  // closed without a last update
    EXPECT_FALSE(window.progress.shown);
    EXPECT_TRUE(window.mainPanelEnabled);
    EXPECT_EQ(window.statusTexts.back(), "Bereit...");
    EXPECT_EQ(runner.calls["clear"], 1);
    Expire(JobFollower::kSettleMs);
    Listed({"4 Kurz.ts", "8000 Der Film.ts"});
    EXPECT_EQ(window.View(Destination).entries->Caption(2), "Der Film.ts");
    EXPECT_FALSE(copy.Running());
    EXPECT_THAT(window.messages, IsEmpty());
    EXPECT_THAT(copy.Record().Load(), IsEmpty());
}

// With the setting on, a large job has no progress window and leaves the
// panes usable; its end is told without a message box, and the user's
// Esc in the panes does not cancel it.
TEST_F(CopyControllerTest, AJobInTheBackgroundLeavesThePanesToTheUser) {
    settings.background_jobs = true;
    StartJob({"Der Film.ts"});
    Measured({8000});
    Box();
    EXPECT_EQ(runner.calls["submit"], 1);
    EXPECT_FALSE(window.progress.shown);
    EXPECT_TRUE(window.mainPanelEnabled);
    EXPECT_TRUE(copy.Accepting());
    copy.Cancel();
    runner.status = {"1 run"};
    Expire(5000);
    EXPECT_EQ(runner.calls["cancel"], 0);
    EXPECT_EQ(copy.Board().back().entries.front().state, EntryState::Running);

    Finish({"1 failed cp cp: kein Platz"}, 5000);
    EXPECT_THAT(window.messages, IsEmpty());
    ASSERT_EQ(window.jobsTold.size(), 1u);
    EXPECT_THAT(window.jobsTold.front(), HasSubstr("0 von 1 Eintrag kopiert"));
    EXPECT_THAT(window.jobsTold.front(), HasSubstr("kein Platz"));
    EXPECT_TRUE(copy.Board().back().ended);
}

// A job that this run did not start had copied before it was found: its
// first poll shows no rate, the next one the rate between the two.
TEST_F(CopyControllerTest, AJobFoundRunningShowsItsRateFromTheSecondPoll) {
    const HandedJob job{
        "7-a", TransferMode::Copy, "usb/", {{EntryOp::Copy, "hdd/", "Film.ts", 8000}}};
    copy.Follow({7, job, {{1, 0, {}}, TransferMode::Copy}});
    ASSERT_TRUE(window.progress.shown);
    runner.status = {"1 run"};
    runner.progressKB = 6000;
    Expire(5000);
    ASSERT_EQ(window.progress.updates.size(), 1u);
    EXPECT_EQ(window.progress.updates.back().rateKBs, std::nullopt);
    runner.progressKB = 7000;
    Expire(5000);
    EXPECT_EQ(window.progress.updates.back().rateKBs, 200);
}

TEST_F(CopyControllerTest, SmallFilesAndFoldersArePolledQuietlyUntilTheyEnd) {
    window.answerYes = true;
    for (const char* caption : {"Kurz.ts", "Serien/"}) {
        runner = {};
        HandedOver({caption}, {4});
        Expire(JobFollower::kQuietPollMs);
        EXPECT_TRUE(copy.Running());
        Finish({"1 run", "1 done"}, JobFollower::kQuietPollMs);
        Expire(JobFollower::kSettleMs);
        DestinationListed();
        EXPECT_FALSE(copy.Running()) << caption;
        EXPECT_EQ(window.statusTexts.back(), "Bereit...");
    }
    EXPECT_EQ(window.progressWindowsShown, 0);
}

TEST_F(CopyControllerTest, FailedCopyIsReportedWithTheBoxsWords) {
    const std::string removed = "\ndie unvollständige Kopie wurde entfernt";
    const struct {
        std::string state;
        std::vector<std::string> status;
        std::string message;
    } cases[] = {
        {"ended",
         {"1 run", "1 failed cp cp: can't stat 'x'; cp: y", "end"},
         "cp: can't stat 'x'\ncp: y" + removed},
        {"ended", {"1 failed name 0", "end"}, "nicht gefunden"},
        {"interrupted", {"1 run"}, "unterbrochen"},  // the runner was killed
    };
    for (const auto& c : cases) {
        runner = {};
        window.messages.clear();
        HandedOver({"Der Film.ts"}, {8000});
        runner.state = c.state;
        runner.status = c.status;
        Expire(5000);
        EXPECT_EQ(window.statusTexts.back(), "Kopieren fehlgeschlagen") << c.message;
        EXPECT_THAT(window.messages, IsEmpty());  // not inside the reply's handling
        Expire(JobFollower::kSettleMs);
        EXPECT_THAT(window.messages, ElementsAre("Kopieren fehlgeschlagen:\n" + c.message));
        DestinationListed();
    }
}

TEST_F(CopyControllerTest, CancelReachesTheRunnerOnceTheJobIsHandedOver) {
    HandedOver({"Der Film.ts"}, {8000});
    runner.afterCancel = {};  // the runner takes a moment
    copy.Cancel();
    EXPECT_EQ(window.statusTexts.back(), "Kopiervorgang wird abgebrochen...");
    Box();
    EXPECT_EQ(runner.calls["cancel"], 1);
    Finish({"1 cancelled"}, JobFollower::kCancelPollMs);
    EXPECT_FALSE(window.progress.shown);
    EXPECT_EQ(window.statusTexts.back(), "Kopiervorgang abgebrochen");
    Expire(JobFollower::kSettleMs);
    EXPECT_THAT(window.messages, IsEmpty());
    DestinationListed();

    // Cancelled during the hand-over: the cancel follows the submit.
    runner = {};
    StartJob({"Zweiter.ts"});
    Measured({7000});
    copy.Cancel();
    Box();
    EXPECT_EQ(runner.calls["submit"], 1);
    EXPECT_EQ(runner.calls["cancel"], 1);
    EXPECT_EQ(window.statusTexts.back(), "Kopiervorgang abgebrochen");
    Expire(JobFollower::kSettleMs);
    DestinationListed();

    // Cancelled while it measures: nothing reaches the runner.
    channel.sent.clear();
    StartJob({"Der Film.ts"});
    copy.Cancel();
    Measured({8000});
    EXPECT_THAT(channel.sent, Not(Contains(Truly(test_support::ForRunner))));
    EXPECT_FALSE(copy.Running());
    EXPECT_TRUE(window.mainPanelEnabled);
    EXPECT_EQ(window.statusTexts.back(), "Kopiervorgang abgebrochen");
}

TEST_F(CopyControllerTest, DisconnectDuringACopyLeavesItToTheBox) {
    window.connectImage = 1;
    HandedOver({"Der Film.ts"}, {8000});
    ASSERT_TRUE(window.progress.shown);
    session.tbConnectClick();
    EXPECT_FALSE(window.progress.shown);
    EXPECT_FALSE(window.copyTimerMs);
    EXPECT_TRUE(window.mainPanelEnabled);
    EXPECT_EQ(window.connectImage, 0);
    EXPECT_EQ(window.statusTexts.back(),
              "Verbindung getrennt; der Kopiervorgang läuft auf der Box weiter");
    EXPECT_FALSE(copy.Running());
    EXPECT_EQ(runner.calls["cancel"], 0);
    const std::vector<RecordedJob> recorded = copy.Record().OfHost("box");
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].number, 1);
    EXPECT_THAT(recorded[0].job.entries,
                ElementsAre(HandedEntry{EntryOp::Copy, "hdd/Filme/", "Der Film.ts", 8000}));
}

// The progress over the whole job, a skipped and a failed entry in the end
// report, nothing failed counted as done.
TEST_F(CopyControllerTest, AJobOfSeveralEntriesReportsEachOne) {
    window.overwriteAnswers = {OverwriteAnswer::No};
    HandedOver({"Der Film.ts", "Kurz.ts", "Serien/"}, {8000, 2000});
    EXPECT_THAT(window.questions,
                ElementsAre("Kurz.ts ist im Ziel schon vorhanden. Überschreiben?"));
    EXPECT_EQ(window.progress.start.sizeKB, 10000);
    runner.status = {"1 run", "1 done", "2 run"};
    runner.progressKB = 1000;
    Expire(5000);
    const CopyProgressUpdate& shown = window.progress.updates.back();
    EXPECT_EQ(shown.transferredKB, 9000);  // the first entry whole, of the second its copy
    EXPECT_EQ(shown.bar, 90);
    EXPECT_EQ(shown.source, "hdd/Filme/Serien/");
    EXPECT_EQ(shown.itemNumber, 2u);
    EXPECT_EQ(shown.itemCount, 2u);
    runner.progressKB.reset();
    Finish({"2 failed cp cp: write error: No space left on device"}, 5000);
    EXPECT_EQ(window.statusTexts.back(), "1 von 3 Einträgen kopiert");
    Expire(JobFollower::kSettleMs);
    EXPECT_THAT(window.messages,
                ElementsAre("Von 3 Einträgen wurden 2 nicht kopiert:\n"
                            "hdd/Filme/Kurz.ts: übersprungen, im Ziel schon vorhanden\n"
                            "hdd/Filme/Serien: cp: write error: No space left on device; die "
                            "unvollständige Kopie wurde entfernt"));
    EXPECT_EQ(copy.LastReport().done, 1u);
    DestinationListed();

    // Cancelled during the second entry: the third never begins.
    runner = {};
    window.messages.clear();
    runner.afterCancel = {"2 cancelled", "3 skipped", "end"};
    HandedOver({"Der Film.ts", "Serien/", "Zweiter.ts"}, {8000, 1, 7000});
    runner.status = {"1 run", "1 done", "2 run"};
    copy.Cancel();
    Box();
    EXPECT_EQ(window.statusTexts.back(), "1 von 3 Einträgen kopiert, abgebrochen");
    Expire(JobFollower::kSettleMs);
    EXPECT_THAT(window.messages, ElementsAre("Von 3 Einträgen wurden 2 nicht kopiert:\n"
                                             "hdd/Filme/Serien: abgebrochen\n"
                                             "hdd/Filme/Zweiter.ts: nicht begonnen"));
}

// A move lists both panes afresh; across drives the runner keeps the source
// when the copy is not complete; on the same drive it is a rename, unmeasured.
TEST_F(CopyControllerTest, AMoveListsBothPanesAfterwards) {
    const std::pair<std::string, std::string> ends[] = {
        {"1 done", "1 von 1 Eintrag verschoben"},
        {"1 failed size 8192000 1 4096000 1", "0 von 1 Eintrag verschoben"}};
    for (const auto& [status, text] : ends) {
        runner = {};
        window.messages.clear();
        HandedOver({"Der Film.ts"}, {8000}, TransferMode::Move);
        EXPECT_EQ(copy.Record().Load().at(0).job.entries.at(0).op, EntryOp::Carry);
        Finish({status}, 5000);
        EXPECT_EQ(window.statusTexts.back(), text);
        Expire(JobFollower::kSettleMs);
        EXPECT_EQ(window.messages.size(), status == "1 done" ? 0u : 1u);
        const int sourceListings = window.View(Source).listingsShown;
        Reply("ls\r\ntotal 1\r\n0 Alt/");
        Listed({"8000 Der Film.ts", "4 Kurz.ts"});
        FreeSpaceRead();
        EXPECT_EQ(window.View(Source).listingsShown, sourceListings + 1);
    }
    EXPECT_THAT(window.messages, ElementsAre(HasSubstr("die Quelle bleibt erhalten")));

    runner = {};
    List(Destination, "hdd/Archiv/", {});
    StartJob({"Der Film.ts", "Kurz.ts"}, TransferMode::Move);
    Box();
    EXPECT_THAT(channel.sent, Not(Contains(StartsWith("du "))));
    EXPECT_EQ(copy.Record().Load().at(0).job.entries.at(1).op, EntryOp::Rename);
    Finish({"1 done", "2 failed mv mv: can't rename 'Kurz.ts'"}, JobFollower::kQuietPollMs);
    EXPECT_EQ(window.progressWindowsShown, 2);  // only the two moves across drives
    EXPECT_EQ(window.statusTexts.back(), "1 von 2 Einträgen verschoben");
}

}  // namespace
}  // namespace olmira
