#include "copy/copy_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_session.h"

namespace olmira {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

constexpr char kCopyLine[] = "cp -r \"/var/media/hdd/Filme/Der Film.ts\" /var/media/usb/ &";
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
        Reply(Listing(entries));
    }

    static std::string Listing(const std::vector<std::string>& entries) {
        std::string reply = "ls\r\ntotal 1\r\n";
        for (const std::string& entry : entries) {
            reply += entry + "\r\n";
        }
        return reply;
    }

    // The destination's listing after a copy.
    void DestinationListed() { Reply(Listing({"4 Kurz.ts", "0 Alt/"})); }

    void Reply(const std::string& lines) { session.TelnetDataAvailable(lines + "box# "); }

    void Start(const std::string& caption) {
        ASSERT_TRUE(window.SelectEntry(Source, caption));
        copy.tbCopyFileClick();
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
    EXPECT_THAT(channel.sent, ElementsAre(kCopyLine));
    EXPECT_EQ(window.statusTexts.back(), "Starte Kopiervorgang...");
    EXPECT_FALSE(window.mainPanelEnabled);
    EXPECT_EQ(session.SessionState(), ssAwaitCopyStart);

    Reply(std::string(kCopyLine) + "\r\n[1] 4711\r\n");
    EXPECT_TRUE(window.progress.shown);
    EXPECT_EQ(window.progress.start.source, "hdd/Filme/Der Film.ts");
    EXPECT_EQ(window.progress.start.dest, "usb/");
    EXPECT_EQ(window.progress.start.sizeKB, 8000);
    EXPECT_EQ(channel.sent.size(), 1u);  // the first poll waits for the interval

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
    }
    EXPECT_EQ(session.ReplyLines().size(), 12u);  // the polls' replies gather

    Expire(5000);
    Reply(std::string(kPollLine) + "\r\n8000 x\r\n[1]+  Done                    cp -r a b\r\n");
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
        Reply("cp\r\n");
        EXPECT_EQ(window.progressWindowsShown, 0);
        Expire(CopyController::kQuietPollMs);
        Reply("ls\r\n");
        Expire(CopyController::kQuietPollMs);
        Reply("ls\r\n[1]+  Done                       cp -r a b\r\n");
        Expire(CopyController::kSettleMs);
        DestinationListed();
        EXPECT_FALSE(copy.Running()) << caption;
        EXPECT_EQ(window.statusTexts.back(), "Bereit...");
    }
    EXPECT_EQ(window.progressWindowsShown, 0);
}

TEST_F(CopyControllerTest, FailedCopyIsReportedWithCpsMessages) {
    const std::string endings[] = {"[1]+  Exit 1                  cp -r a b",
                                   "[1]+  Done(1)                    cp -r a b",
                                   "[1]+  Killed                  cp -r a b"};
    for (const std::string& ending : endings) {
        window.messages.clear();
        Start("Der Film.ts");
        Reply(std::string(kCopyLine) + "\r\nbox# cp: cannot stat 'x': No such file\r\n");
        Expire(5000);
        Reply(std::string(kPollLine) + "\r\n" + ending + "\r\n");
        EXPECT_EQ(window.statusTexts.back(), "Kopieren fehlgeschlagen") << ending;
        EXPECT_THAT(window.messages, IsEmpty());  // not inside the reply's handling
        Expire(CopyController::kSettleMs);
        EXPECT_THAT(window.messages,
                    ElementsAre("Kopieren fehlgeschlagen:\ncp: cannot stat 'x': No such file"));
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
    Reply("cp\r\n");
    Expire(1000);
    Reply("ls\r\n0 /var/media/usb/leer.ts\r\n");
    EXPECT_EQ(window.progress.updates.back().bar, 0);
    EXPECT_EQ(window.progress.updates.back().rateKBs, 0);
    EXPECT_EQ(window.copyTimerMs, 1000);
}

TEST_F(CopyControllerTest, CancelKillsTheJobAndRemovesOnlyANewCopy) {
    Start("Der Film.ts");
    Reply("cp\r\n");
    copy.Cancel();
    EXPECT_EQ(channel.sent.back(), "kill %1");
    EXPECT_FALSE(window.copyTimerMs);
    Reply("kill %1\r\n");
    Expire(CopyController::kCancelPollMs);
    Reply("ls\r\n[1]+  Terminated              cp -r a b\r\n");
    EXPECT_EQ(window.statusTexts.back(), "Kopiervorgang abgebrochen");
    EXPECT_EQ(channel.sent.back(), "rm -rf \"/var/media/usb/Der Film.ts\"");
    Reply("rm\r\n");
    Expire(CopyController::kSettleMs);
    EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/usb/");
    DestinationListed();

    // What was there before the copy stays.
    window.answerYes = true;
    channel.sent.clear();
    Start("Kurz.ts");
    copy.Cancel();  // before the copy has started: the kill follows its reply
    Reply("cp\r\n");
    EXPECT_EQ(channel.sent.back(), "kill %1");
    Reply("kill\r\n[1]+  Terminated              cp -r a b\r\n");
    Expire(CopyController::kSettleMs);
    EXPECT_THAT(channel.sent, ElementsAre("cp -r /var/media/hdd/Filme/Kurz.ts /var/media/usb/ &",
                                          "kill %1", "ls -1Aps /var/media/usb/"));
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
    EXPECT_EQ(channel.sent.back(), "cp -r \"/var/media/hdd/Filme/Der Film.ts\" /var/media/PC1/ &");
    Reply("cp\r\n");
    copy.Cancel();
    Reply("kill\r\n[1]+  Terminated              cp -r a b\r\n");
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
    EXPECT_EQ(channel.sent.size(), 1u);
}

TEST_F(CopyControllerTest, DisconnectDuringACopyLeavesItToTheBox) {
    settings.olmira_Host = "box";
    window.connectImage = 1;
    Start("Der Film.ts");
    Reply("cp\r\n");
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
    Reply("cp\r\n");
    Expire(CopyController::kQuietPollMs);
    Reply("ls\r\n[1]+  Done                    cp -r a b\r\n");
    session.ShowFolder(Source, "hdd/");  // the user goes on while the copy settles
    Expire(CopyController::kSettleMs);
    EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/hdd/");
    Reply("ls\r\ntotal 0\r\n");
    EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/usb/");
}

}  // namespace
}  // namespace olmira
