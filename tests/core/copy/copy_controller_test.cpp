#include "copy/copy_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "fake_session.h"

namespace olmira {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

constexpr char kCopyLine[] =
    "(trap '' HUP; exec cp -rL \"/var/media/hdd/Filme/Der Film.ts\" /var/media/usb/) & jobs %+";
constexpr char kPollLine[] = "ls -1Aps \"/var/media/usb/Der Film.ts\"";

// A session with both panes listed: hdd/Filme/ as source, usb/ as destination.
class CopyControllerTest : public ::testing::Test, protected FakeSession {
protected:
    CopyControllerTest() {
        settings.PromptMarker = "box#";
        settings.update_intervall = 5000;
        settings.progress_min_size = 6000;
        List(Source, "hdd/Filme/",
             {"8000 Der Film.ts", "4 Kurz.ts", "0 Serien/", "1 K?se.ts", "1 Kase.ts"});
        List(Destination, "usb/", {"4 Kurz.ts", "0 Alt/"});
        channel.sent.clear();
    }

    void List(Pane pane, const std::string& path, const std::vector<std::string>& entries) {
        session.ShowFolder(pane, path);
        Listed(entries);
    }

    // A listing's reply and that of the free space asked for after it.
    void Listed(const std::vector<std::string>& entries) {
        Reply(Listing(entries));
        FreeSpaceRead();
    }

    void FreeSpaceRead() {
        ASSERT_THAT(channel.sent.back(), StartsWith("df -k "));
        Reply(
            "df\r\nFilesystem 1K-blocks Used Available Use% Mounted on\r\n"
            "/dev/sdb1 900000 1 500000 1% /var/media/usb\r\n");
    }

    static std::string Listing(const std::vector<std::string>& entries) {
        std::string reply = "ls\r\ntotal 1\r\n";
        for (const std::string& entry : entries) {
            reply += entry + "\r\n";
        }
        return reply;
    }

    // The destination's listing after a copy.
    void DestinationListed() { Listed({"4 Kurz.ts", "0 Alt/"}); }

    void Reply(const std::string& lines) { session.TelnetDataAvailable(lines + "box# "); }

    void Start(const std::string& caption) {
        ASSERT_TRUE(window.SelectEntry(Source, caption));
        copy.tbCopyFileClick();
    }

    void StartJob(TransferMode mode, Pane from, const std::vector<std::string>& captions) {
        window.View(from).selection.clear();
        for (const std::string& caption : captions) {
            ASSERT_TRUE(window.AddToSelection(from, caption)) << caption;
        }
        copy.StartJob(mode, from);
    }

    // The box answers the job's measures: each entry's du, the destination's
    // df and /proc/mounts.
    void Measured(const std::vector<int>& kBs, std::int64_t freeKB = 500000,
                  const std::string& usbType = "ext4") {
        for (const int kB : kBs) {
            Reply("du\r\n" + std::to_string(kB) + "\t/var/media/x\r\n");
        }
        Reply("df\r\nFilesystem 1K-blocks Used Available Use% Mounted on\r\n/dev/sdb1 900000 1 " +
              std::to_string(freeKB) + " 1% /var/media/usb\r\n");
        Reply("cat\r\n/dev/sda1 /var/media/hdd ext4 rw 0 0\r\n/dev/sdb1 /var/media/usb " + usbType +
              " rw 0 0\r\n");
    }

    // The shell's answer to the copy line: the job's number.
    void Started(int job = 1) {
        const std::string number = "[" + std::to_string(job) + "]";
        Reply("cp\r\n" + number + " 4711\r\n" + number + "+  Running   cp\r\n");
    }

    static std::string Ended(const std::string& status, int job = 1) {
        return "[" + std::to_string(job) + "]+  " + status + "                    cp -rL a b\r\n";
    }

    // The copy timer runs out.
    void Expire(int expectedMs) {
        ASSERT_EQ(window.copyTimerMs, expectedMs);
        window.copyTimerMs.reset();
        copy.CopyTimerTimer();
    }
};

TEST_F(CopyControllerTest, LargeFileShowsProgressFromEachPoll) {
    Start("Der Film.ts");
    EXPECT_THAT(channel.sent, ElementsAre("du -skL \"/var/media/hdd/Filme/Der Film.ts\""));
    EXPECT_EQ(window.statusTexts.back(), "Starte Kopiervorgang...");
    EXPECT_FALSE(window.mainPanelEnabled);
    Measured({8000});
    EXPECT_THAT(channel.sent, ElementsAre(StartsWith("du -skL"), "df -k /var/media/usb/",
                                          "cat /proc/mounts", kCopyLine));
    EXPECT_EQ(session.SessionState(), ssAwaitCopyStart);

    Started();
    EXPECT_TRUE(window.progress.shown);
    EXPECT_EQ(window.progress.start.source, "hdd/Filme/Der Film.ts");
    EXPECT_EQ(window.progress.start.dest, "usb/");
    EXPECT_EQ(window.progress.start.sizeKB, 8000);
    EXPECT_EQ(channel.sent.size(), 4u);  // the first poll waits for the interval

    // Each step: the listed size, then the bar and the rate it gives.
    const struct {
        std::string line;
        std::int64_t transferred, bar, rate;
    } polls[] = {
        {"2500 /var/media/usb/Der Film.ts", 2500, 31, 500},
        {"   5000 /var/media/usb/Der Film.ts", 5000, 62, 500},  // padded as busybox pads
        {"ls: cannot access 'x': No such file or directory", 0, 0, -1000},
        {"7999 /var/media/usb/Der Film.ts", 7999, 99, 1599},
    };
    for (const auto& poll : polls) {
        Expire(5000);
        EXPECT_EQ(channel.sent.back(), kPollLine);
        Reply(std::string(kPollLine) + "\r\n" + poll.line + "\r\n");
        const CopyProgressUpdate& shown = window.progress.updates.back();
        EXPECT_EQ(shown.transferredKB, poll.transferred) << poll.line;
        EXPECT_EQ(shown.bar, poll.bar) << poll.line;
        EXPECT_EQ(shown.rateKBs, poll.rate) << poll.line;
        EXPECT_EQ(shown.itemCount, 0u);
    }

    Expire(5000);
    Reply(std::string(kPollLine) + "\r\n8000 x\r\n" + Ended("Done"));
    EXPECT_EQ(window.progress.updates.size(), 4u);  // closed without a last update
    EXPECT_FALSE(window.progress.shown);
    EXPECT_TRUE(window.mainPanelEnabled);
    EXPECT_EQ(window.statusTexts.back(), "Bereit...");

    Expire(CopyController::kSettleMs);
    EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/usb/");
    EXPECT_EQ(session.SessionState(), ssAwaitDestListing);
    EXPECT_FALSE(copy.Running());
    EXPECT_THAT(window.messages, IsEmpty());
}

TEST_F(CopyControllerTest, SmallFilesAndFoldersArePolledQuietlyUntilTheyEnd) {
    for (const char* caption : {"Kurz.ts", "Serien/"}) {
        window.questions.clear();
        window.answerYes = true;
        Start(caption);
        Measured({4});
        Started();
        EXPECT_EQ(window.progressWindowsShown, 0);
        Expire(CopyController::kQuietPollMs);
        Reply("ls\r\n");
        Expire(CopyController::kQuietPollMs);
        EXPECT_THAT(channel.sent.back(),
                    StartsWith(caption[0] == 'S' ? "du -sk /var/media/usb/Serien/" : "ls -1Aps"));
        Reply("ls\r\n" + Ended("Done"));
        Expire(CopyController::kSettleMs);
        DestinationListed();
        EXPECT_FALSE(copy.Running()) << caption;
        EXPECT_EQ(window.statusTexts.back(), "Bereit...");
    }
    EXPECT_EQ(window.progressWindowsShown, 0);
}

// A failed copy of a new entry leaves nothing under its name.
TEST_F(CopyControllerTest, FailedCopyIsReportedWithCpsMessages) {
    for (const std::string status : {"Exit 1", "Done(1)", "Killed"}) {
        window.messages.clear();
        Start("Der Film.ts");
        Measured({8000});
        Reply("cp\r\n[1] 4711\r\nbox# cp: cannot stat 'x': No such file\r\n");
        Expire(5000);
        Reply(std::string(kPollLine) + "\r\n" + Ended(status));
        EXPECT_EQ(channel.sent.back(), "rm -rf \"/var/media/usb/Der Film.ts\"");
        Reply("rm\r\n");
        EXPECT_EQ(window.statusTexts.back(), "Kopieren fehlgeschlagen") << status;
        EXPECT_THAT(window.messages, IsEmpty());  // not inside the reply's handling
        Expire(CopyController::kSettleMs);
        EXPECT_THAT(window.messages,
                    ElementsAre("Kopieren fehlgeschlagen:\ncp: cannot stat 'x': No such file\n"
                                "die unvollständige Kopie wurde entfernt"));
        DestinationListed();
    }
}

TEST_F(CopyControllerTest, EntriesThatMustNotOrNeedNotBeCopied) {
    // "./" and "../" would copy a folder's whole content; "K?se" stands for
    // two names on the box; "Kurz.ts" is in the destination and the user says no.
    for (const char* caption : {"./", "../", "K?se.ts", "Kurz.ts"}) {
        Start(caption);
    }
    EXPECT_THAT(channel.sent, IsEmpty());
    EXPECT_EQ(window.messages.size(), 1u);
    EXPECT_THAT(window.questions,
                ElementsAre("Kurz.ts ist im Ziel schon vorhanden. Überschreiben?"));
    EXPECT_FALSE(copy.Running());
    EXPECT_TRUE(window.mainPanelEnabled);
}

TEST_F(CopyControllerTest, HandEditedSettingsNeitherDivideByZeroNorFloodTheBox) {
    settings.update_intervall = 0;
    settings.progress_min_size = -1;
    List(Source, "hdd/", {"0 leer.ts"});
    channel.sent.clear();
    Start("leer.ts");
    Measured({0});
    Started();
    Expire(1000);
    Reply("ls\r\n0 /var/media/usb/leer.ts\r\n");
    EXPECT_EQ(window.progress.updates.back().bar, 0);
    EXPECT_EQ(window.progress.updates.back().rateKBs, 0);
    EXPECT_EQ(window.copyTimerMs, 1000);
}

TEST_F(CopyControllerTest, CancelKillsTheJobAndRemovesOnlyANewCopy) {
    Start("Der Film.ts");
    Measured({8000});
    Started();
    copy.Cancel();
    EXPECT_EQ(channel.sent.back(), "kill %1");
    EXPECT_FALSE(window.copyTimerMs);
    Reply("kill %1\r\n");
    Expire(CopyController::kCancelPollMs);
    Reply("ls\r\n" + Ended("Terminated"));
    EXPECT_EQ(channel.sent.back(), "rm -rf \"/var/media/usb/Der Film.ts\"");
    Reply("rm\r\n");
    EXPECT_EQ(window.statusTexts.back(), "Kopiervorgang abgebrochen");
    Expire(CopyController::kSettleMs);
    EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/usb/");
    EXPECT_THAT(window.messages, IsEmpty());
    DestinationListed();

    // What was there before the copy stays.
    window.answerYes = true;
    Start("Kurz.ts");
    Measured({4});
    channel.sent.clear();
    copy.Cancel();  // before the copy has started: the kill follows its reply
    Started();
    EXPECT_EQ(channel.sent.back(), "kill %1");
    Reply("kill\r\n" + Ended("Terminated"));
    Expire(CopyController::kSettleMs);
    EXPECT_THAT(channel.sent, ElementsAre("kill %1", "ls -1Aps /var/media/usb/"));

    // Cancelled while it measures: nothing starts.
    channel.sent.clear();
    Start("Der Film.ts");
    copy.Cancel();
    Measured({8000});
    EXPECT_THAT(channel.sent, Not(Contains(StartsWith("(trap"))));
    EXPECT_FALSE(copy.Running());
    EXPECT_EQ(window.statusTexts.back(), "Kopiervorgang abgebrochen");
}

// F5 right after the destination's "go": the question and the rule that
// keeps what existed before both read the folder the copy goes to.
TEST_F(CopyControllerTest, ACopyWaitsForTheListingOfItsDestinationFolder) {
    session.ShowFolder(Destination, "PC1/");
    Start("Der Film.ts");
    EXPECT_THAT(window.questions, IsEmpty());
    EXPECT_FALSE(window.mainPanelEnabled);
    EXPECT_THAT(channel.sent, ElementsAre("ls -1Aps /var/media/PC1/"));

    window.answerYes = true;
    Reply(Listing({"8000 Der Film.ts"}));
    EXPECT_THAT(window.questions,
                ElementsAre("Der Film.ts ist im Ziel schon vorhanden. Überschreiben?"));
    Measured({8000});
    EXPECT_EQ(channel.sent.back(),
              "(trap '' HUP; exec cp -rL \"/var/media/hdd/Filme/Der Film.ts\" /var/media/PC1/) & "
              "jobs %+");
    Started();
    FreeSpaceRead();  // asked for after the listing, sent after the copy's start
    copy.Cancel();
    Reply("kill\r\n" + Ended("Terminated"));
    Expire(CopyController::kSettleMs);
    EXPECT_THAT(channel.sent, Not(Contains(StartsWith("rm "))));
    EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/PC1/");
}

TEST_F(CopyControllerTest, NoAfterWaitingGivesThePanesBack) {
    session.ShowFolder(Destination, "PC1/");
    Start("Kurz.ts");
    window.answerYes = false;
    Reply(Listing({"4 Kurz.ts"}));
    EXPECT_EQ(window.questions.size(), 1u);
    EXPECT_TRUE(window.mainPanelEnabled);
    EXPECT_FALSE(copy.Running());
    EXPECT_THAT(channel.sent, ElementsAre("ls -1Aps /var/media/PC1/", "df -k /var/media/PC1/"));
}

TEST_F(CopyControllerTest, DisconnectDuringACopyLeavesItToTheBox) {
    settings.olmira_Host = "box";
    window.connectImage = 1;
    Start("Der Film.ts");
    Measured({8000});
    Started();
    ASSERT_TRUE(window.progress.shown);
    session.tbConnectClick();
    EXPECT_FALSE(window.progress.shown);
    EXPECT_FALSE(window.copyTimerMs);
    EXPECT_TRUE(window.mainPanelEnabled);
    EXPECT_EQ(window.connectImage, 0);
    EXPECT_EQ(window.statusTexts.back(),
              "Verbindung getrennt; der Kopiervorgang läuft auf der Box weiter");
    EXPECT_FALSE(copy.Running());
}

TEST_F(CopyControllerTest, ThePanesFinishedListingBeforeTheDestinationIsListed) {
    Start("Kurz.ts");  // asks; the answer is no
    window.answerYes = true;
    Start("Serien/");
    Measured({0});
    Started();
    Expire(CopyController::kQuietPollMs);
    Reply("du\r\n" + Ended("Done"));
    session.ShowFolder(Source, "hdd/");  // the user goes on while the copy settles
    Expire(CopyController::kSettleMs);
    EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/hdd/");
    Reply("ls\r\ntotal 0\r\n");
    EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/usb/");
}

// Only the copy's own job ends it: another job of the shell may end first.
TEST_F(CopyControllerTest, AnotherJobsNoticeDoesNotEndTheCopy) {
    Start("Der Film.ts");
    Measured({8000});
    Started(2);
    Expire(5000);
    Reply("ls\r\n4000 x\r\n[1]-  Done                    sleep 9\r\n");
    EXPECT_TRUE(window.progress.shown);
    EXPECT_EQ(window.copyTimerMs, 5000);
    Reply("");  // a stray prompt ends nothing either
    Expire(5000);
    Reply("ls\r\n" + Ended("Done", 2));
    EXPECT_FALSE(window.progress.shown);
    EXPECT_EQ(window.statusTexts.back(), "Bereit...");
}

// A queue: one copy at a time, the progress over the whole job, a skipped
// and a failed entry in the end report, nothing failed counted as done.
TEST_F(CopyControllerTest, AJobOfSeveralEntriesRunsOneCopyAtATime) {
    window.overwriteAnswers = {OverwriteAnswer::No};
    StartJob(TransferMode::Copy, Source, {"Der Film.ts", "Kurz.ts", "Serien/"});
    EXPECT_THAT(window.questions,
                ElementsAre("Kurz.ts ist im Ziel schon vorhanden. Überschreiben?"));
    Measured({8000, 2000});
    Started();
    EXPECT_EQ(window.progress.start.sizeKB, 10000);
    Expire(5000);
    Reply(std::string(kPollLine) + "\r\n4000 x\r\n");
    EXPECT_EQ(window.progress.updates.back().bar, 40);
    EXPECT_EQ(window.progress.updates.back().item, "Der Film.ts");
    EXPECT_EQ(window.progress.updates.back().itemNumber, 1u);
    EXPECT_EQ(window.progress.updates.back().itemCount, 2u);
    Expire(5000);
    Reply(std::string(kPollLine) + "\r\n" + Ended("Done"));
    EXPECT_EQ(channel.sent.back(),
              "(trap '' HUP; exec cp -rL /var/media/hdd/Filme/Serien/ /var/media/usb/) & jobs %+");
    Started();
    Expire(5000);
    Reply("du\r\n1000\t/var/media/usb/Serien/\r\n");
    EXPECT_EQ(window.progress.updates.back().transferredKB, 9000);
    EXPECT_EQ(window.progress.updates.back().source, "hdd/Filme/Serien/");
    Expire(5000);
    Reply("du\r\nbox# cp: write error: No space left on device\r\n" + Ended("Exit 1"));
    EXPECT_EQ(channel.sent.back(), "rm -rf /var/media/usb/Serien/");
    Reply("rm\r\n");
    EXPECT_EQ(window.statusTexts.back(), "1 von 3 Einträgen kopiert");
    Expire(CopyController::kSettleMs);
    EXPECT_THAT(window.messages,
                ElementsAre("Von 3 Einträgen wurden 2 nicht kopiert:\n"
                            "hdd/Filme/Kurz.ts: übersprungen, im Ziel schon vorhanden\n"
                            "hdd/Filme/Serien: cp: write error: No space left on device; die "
                            "unvollständige Kopie wurde entfernt"));
    EXPECT_EQ(copy.LastReport().done, 1u);
}

TEST_F(CopyControllerTest, TheOverwriteQuestionsFourAnswers) {
    using enum OverwriteAnswer;
    const struct {
        std::deque<OverwriteAnswer> answers;
        std::size_t questions, taken;
    } cases[] = {
        {{Yes, No, Yes}, 3, 2},
        {{YesToAll}, 1, 3},
        {{No, NoToAll}, 2, 0},
        {{Yes, YesToAll}, 2, 3},
    };
    for (const auto& c : cases) {
        List(Destination, "usb/", {"1 Der Film.ts", "4 Kurz.ts", "0 Serien/"});
        window.questions.clear();
        window.messages.clear();
        channel.sent.clear();
        window.overwriteAnswers = c.answers;
        StartJob(TransferMode::Copy, Source, {"Der Film.ts", "Kurz.ts", "Serien/"});
        EXPECT_EQ(window.questions.size(), c.questions);
        const auto measures =
            std::count_if(channel.sent.begin(), channel.sent.end(),
                          [](const std::string& line) { return line.starts_with("du -skL"); });
        EXPECT_EQ(measures, c.taken > 0 ? 1 : 0);  // one command at a time
        if (c.taken == 0) {
            EXPECT_FALSE(copy.Running());
            EXPECT_THAT(window.messages, ElementsAre(StartsWith("Von 3 Einträgen wurden 3 nicht")));
            continue;
        }
        std::vector<int> sizes(c.taken, 1);
        Measured(sizes);
        for (std::size_t i = 0; i < c.taken; ++i) {
            Started();
            Expire(CopyController::kQuietPollMs);
            Reply("ls\r\n" + Ended("Done"));
        }
        EXPECT_EQ(copy.LastReport().done, c.taken);
        Expire(CopyController::kSettleMs);
        DestinationListed();
    }
}

// Nothing is sent that changes anything when the job cannot succeed.
TEST_F(CopyControllerTest, ChecksRefuseAJobBeforeItStarts) {
    const struct {
        std::vector<int> sizes;
        std::int64_t freeKB;
        std::string type;
        std::string found;  // what the search for files of 4 GiB or more finds
        std::string refusal;
    } cases[] = {
        {{8000, 3720},
         4812,
         "ext4",
         "",
         "Auf usb/ sind nur 4.812 kB frei; gebraucht werden 11.720 kB."},
        {{8000, 3720},
         11719,
         "ext4",
         "",
         "Auf usb/ sind nur 11.719 kB frei; gebraucht werden 11.720 kB."},
        {{8000, 3720}, 11720, "ext4", "", ""},
        {{8000, 3720},
         500000,
         "vfat",
         "/var/media/hdd/Filme/Der Film.ts",
         "usb/ liegt auf einem FAT-Laufwerk, das keine Dateien ab 4 GiB aufnimmt:\nhdd/Filme/Der "
         "Film.ts"},
        {{8000, 3720}, 500000, "vfat", "", ""},
    };
    for (const auto& c : cases) {
        window.messages.clear();
        channel.sent.clear();
        StartJob(TransferMode::Copy, Source, {"Der Film.ts", "Serien/"});
        Measured(c.sizes, c.freeKB, c.type);
        if (c.type == "vfat") {
            EXPECT_THAT(channel.sent.back(), StartsWith("find -L "));
            Reply("find\r\n" + (c.found.empty() ? "" : c.found + "\r\n"));
            Reply("find\r\n");
        }
        if (c.refusal.empty()) {
            EXPECT_THAT(channel.sent.back(), StartsWith("(trap")) << c.freeKB;
            conversation.Drop();
            copy.ConnectionEnded();
            continue;
        }
        EXPECT_THAT(window.messages, ElementsAre(c.refusal));
        EXPECT_THAT(channel.sent, Not(Contains(StartsWith("(trap"))));
        EXPECT_FALSE(copy.Running());
        EXPECT_TRUE(window.mainPanelEnabled);
    }
}

TEST_F(CopyControllerTest, AFolderNeverGoesIntoItself) {
    List(Destination, "hdd/Filme/Serien/", {"1 a.ts"});
    channel.sent.clear();
    for (const TransferMode mode : {TransferMode::Copy, TransferMode::Move}) {
        StartJob(mode, Source, {"Serien/"});
    }
    EXPECT_THAT(
        window.messages,
        ElementsAre("Der Ordner hdd/Filme/Serien/ lässt sich nicht in sich selbst kopieren.",
                    "Der Ordner hdd/Filme/Serien/ lässt sich nicht in sich selbst verschieben."));
    EXPECT_THAT(channel.sent, IsEmpty());
}

// Across drives the source goes only once the copy has as many files and
// bytes; on the same drive a move is a rename.
TEST_F(CopyControllerTest, AMoveRemovesItsSourceOnlyWhenTheCopyIsComplete) {
    const std::string measureCopy =
        "du -sbL \"/var/media/usb/Der Film.ts\" && find -L \"/var/media/usb/Der Film.ts\" -type f "
        "| wc -l";
    for (const std::string copyBytes : {"8192000", "4096000"}) {
        channel.sent.clear();
        window.messages.clear();
        StartJob(TransferMode::Move, Source, {"Der Film.ts"});
        Measured({8000});
        Reply("du\r\n8192000\t/var/media/hdd/Filme/Der Film.ts\r\n1\r\n");
        Started();
        Expire(5000);
        Reply("ls\r\n" + Ended("Done"));
        EXPECT_EQ(channel.sent.back(), measureCopy);
        Reply("du\r\n" + copyBytes + "\t/var/media/usb/Der Film.ts\r\n1\r\n");
        const bool complete = copyBytes == "8192000";
        EXPECT_EQ(channel.sent.back() == "rm -rf \"/var/media/hdd/Filme/Der Film.ts\"", complete);
        if (complete) {
            Reply("rm\r\n");
        }
        EXPECT_EQ(window.statusTexts.back(),
                  complete ? "1 von 1 Eintrag verschoben" : "0 von 1 Eintrag verschoben");
        Expire(CopyController::kSettleMs);
        EXPECT_EQ(window.messages.empty(), complete);
        EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/usb/");
        Reply(Listing({"4 Kurz.ts", "0 Alt/"}));
        EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/hdd/Filme/");
        Listed({"8000 Der Film.ts", "4 Kurz.ts"});
        FreeSpaceRead();
    }

    List(Destination, "hdd/Archiv/", {});
    channel.sent.clear();
    StartJob(TransferMode::Move, Source, {"Der Film.ts", "Kurz.ts"});
    EXPECT_THAT(channel.sent,
                ElementsAre("mv -f \"/var/media/hdd/Filme/Der Film.ts\" /var/media/hdd/Archiv/"));
    Reply("mv\r\n");
    Reply("mv\r\nmv: can't rename 'Kurz.ts': Permission denied\r\n");
    EXPECT_EQ(channel.sent.back(), "mv -f /var/media/hdd/Filme/Kurz.ts /var/media/hdd/Archiv/");
    EXPECT_EQ(window.statusTexts.back(), "1 von 2 Einträgen verschoben");
}

// Right to left: the right pane's entries into the left pane's folder.
TEST_F(CopyControllerTest, TheOtherPaneCanBeTheSource) {
    window.answerYes = true;
    StartJob(TransferMode::Copy, Destination, {"Kurz.ts"});
    EXPECT_THAT(window.questions,
                ElementsAre("Kurz.ts ist im Ziel schon vorhanden. Überschreiben?"));
    EXPECT_THAT(channel.sent, ElementsAre("du -skL /var/media/usb/Kurz.ts"));
    Measured({4});
    EXPECT_EQ(channel.sent.back(),
              "(trap '' HUP; exec cp -rL /var/media/usb/Kurz.ts /var/media/hdd/Filme/) & jobs %+");
}

}  // namespace
}  // namespace olmira
