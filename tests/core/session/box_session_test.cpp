#include "session/box_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "error.h"
#include "fake_session.h"

namespace olmira {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class BoxSessionTest : public ::testing::Test, protected FakeSession {
protected:
    BoxSessionTest() {
        settings.olmira_Host = "box";
        settings.olmira_User = "root";
        settings.olmira_Pass = "geheim";
    }

    void Connect() {
        session.tbConnectClick();
        channel.FinishConnect();
    }

    // Lets the clock run in 250 ms timer ticks while the timer runs.
    void Ticks(int count) {
        for (int i = 0; i < count && window.timerRunning; ++i) {
            clock.now += 250;
            session.TimerTimer();
        }
    }

    void Receive(const std::string& block) { session.TelnetDataAvailable(block); }

    // Connects and logs in; the drive list arrives and quiet time ends it.
    void LogIn(const std::string& prompt = "root@box:~# ") {
        Connect();
        Receive("box login: ");
        Ticks(4);
        Receive("root\r\nPassword: ");
        Ticks(4);
        Receive("\r\n" + prompt);
        Ticks(4);
        Receive("ls -1A /var/media\r\nhdd\r\nusb\r\n" + prompt);
        Ticks(4);
    }
};

TEST_F(BoxSessionTest, MissingHostShowsMessageForConnectAndDisconnect) {
    settings.olmira_Host.clear();
    session.tbConnectClick();
    EXPECT_THAT(window.messages, ElementsAre("Kein Host in den Konfigurationsdaten hinterlegt!"));
    EXPECT_FALSE(channel.Connecting());

    settings.olmira_Host = "box";
    Connect();
    settings.olmira_Host.clear();
    session.tbConnectClick();
    EXPECT_EQ(window.messages.size(), 2u);
    EXPECT_EQ(window.connectImage, 1);
    EXPECT_THAT(channel.sent, IsEmpty());
}

TEST_F(BoxSessionTest, ConnectShowsConnectedLookAndSendsNothing) {
    session.tbConnectClick();
    EXPECT_EQ(channel.host, "box");
    EXPECT_EQ(window.connectImage, 0);
    session.tbConnectClick();  // a second click while connecting does nothing
    EXPECT_EQ(window.connectImage, 0);

    clock.now = 5000;
    channel.FinishConnect();
    EXPECT_EQ(window.connectImage, 1);
    EXPECT_EQ(window.connectHint, "Verbindung zu box trennen");
    EXPECT_THAT(window.statusTexts, ElementsAre("Verbindung zu box wird hergestellt..."));
    EXPECT_TRUE(window.timerRunning);
    EXPECT_EQ(session.SessionState(), ssAwaitLoginPrompt);
    EXPECT_EQ(session.LastActivityTick(), 5000u);
    EXPECT_THAT(channel.sent, IsEmpty());
}

TEST_F(BoxSessionTest, FailedConnectShowsErrorAndChangesNothing) {
    session.tbConnectClick();
    channel.FinishConnect(
        std::make_exception_ptr(Error("Socket Error # 10061\r\nConnection refused.")));
    EXPECT_THAT(window.errors, ElementsAre("Socket Error # 10061\r\nConnection refused."));
    EXPECT_EQ(window.connectImage, 0);
    EXPECT_EQ(session.SessionState(), ssDisconnected);
    EXPECT_FALSE(window.timerRunning);
    EXPECT_THAT(window.statusTexts, IsEmpty());
}

TEST_F(BoxSessionTest, LoginRunsByQuietTimeAndFillsTheDriveBoxes) {
    LogIn();
    EXPECT_THAT(channel.sent, ElementsAre("root", "geheim", "ls -1A /var/media"));
    EXPECT_THAT(
        window.statusTexts,
        ElementsAre("Verbindung zu box wird hergestellt...", "Login als User root",
                    "Schicke Passwort...", "Hole Liste der verbundenen Laufwerke...", "Bereit..."));
    for (const Pane pane : {Source, Destination}) {
        EXPECT_THAT(window.View(pane).drives, ElementsAre("hdd/", "usb/"));
        EXPECT_EQ(window.SelectedDrive(pane), "hdd/");
        EXPECT_TRUE(window.View(pane).enabled);
    }
    EXPECT_EQ(settings.PromptMarker, "root@box:~#");
    EXPECT_FALSE(window.copyEnabled);
    EXPECT_FALSE(window.setupEnabled);
    EXPECT_FALSE(window.timerRunning);
    EXPECT_EQ(session.SessionState(), ssAwaitDriveList);
}

TEST_F(BoxSessionTest, QuietTimeMustExceed750MsAndSurvivesTheTickWrap) {
    clock.now = 0xFFFFFF00u;
    Connect();
    clock.now += 750;  // wraps past zero
    session.TimerTimer();
    EXPECT_THAT(channel.sent, IsEmpty());
    clock.now += 1;
    session.TimerTimer();
    EXPECT_THAT(channel.sent, ElementsAre("root"));
    EXPECT_TRUE(window.timerRunning);
}

TEST_F(BoxSessionTest, EveryBlockPostponesTheNextLoginStep) {
    Connect();
    for (int i = 0; i < 6; ++i) {
        clock.now += 500;
        Receive(i % 2 ? "" : "Welcome\r\n");
        session.TimerTimer();
    }
    EXPECT_THAT(channel.sent, IsEmpty());
    EXPECT_EQ(window.log.size(), 6u);
    EXPECT_EQ(window.log[1], "");
    Ticks(4);
    EXPECT_THAT(channel.sent, ElementsAre("root"));
}

TEST_F(BoxSessionTest, DriveListWithNoDriveYetWaitsForTheDrives) {
    Connect();
    Ticks(4);
    Ticks(4);
    Ticks(4);
    Receive("ls -1A /var/media\r\n");
    Ticks(4);
    EXPECT_THAT(window.View(Source).drives, IsEmpty());
    EXPECT_FALSE(window.View(Source).enabled);
    EXPECT_EQ(settings.PromptMarker, "");
    // A slow box lists its drives after the first quiet time.
    Receive("hdd\r\nroot@box:~# ");
    Ticks(4);
    EXPECT_THAT(window.View(Source).drives, ElementsAre("hdd/"));
    EXPECT_FALSE(window.timerRunning);
}

TEST_F(BoxSessionTest, ALaterConnectionLearnsItsPromptAfresh) {
    LogIn();
    session.tbConnectClick();
    channel.sent.clear();
    LogIn();
    EXPECT_THAT(channel.sent, ElementsAre("root", "geheim", "ls -1A /var/media"));
    EXPECT_EQ(settings.PromptMarker, "root@box:~#");
    EXPECT_THAT(window.View(Destination).drives, ElementsAre("hdd/", "usb/"));
}

class ReceivingTest : public BoxSessionTest {
protected:
    void SetUp() override {
        settings.PromptMarker = "box#";
        session.SetSessionState(ssAwaitCopyStart);  // a state whose handler does nothing
    }
};

TEST_F(ReceivingTest, LinesEndAtCrOnlyAndLfIsDropped) {
    Receive("ab\ncd\rx\r\ry\r");
    EXPECT_THAT(session.ReplyLines(), ElementsAre("abcd", "x", "", "y"));
    EXPECT_EQ(session.ReceiveBuffer(), "");
    Receive("par");
    Receive("tial\r\n");
    EXPECT_THAT(session.ReplyLines(), ElementsAre("abcd", "x", "", "y", "partial"));
}

TEST_F(ReceivingTest, JobNoticeCountsOnlyAtTheStartOfAnEndedLine) {
    Receive(" [1]+  Done  cp\r\n[1]+ Done cp\r\n[1]+  Do\r\n");
    EXPECT_TRUE(session.EndedJobs().empty());
    EXPECT_EQ(session.ReplyLines().size(), 3u);
    Receive("[1]+  Done                    cp -r a b\r\n");
    EXPECT_THAT(session.EndedJobs(), ElementsAre(JobNotice{1, JobEnd::Succeeded, true}));
    EXPECT_EQ(session.ReplyLines().size(), 3u);
}

TEST_F(ReceivingTest, JobNoticeAsTheTailOfAnEndingBlockIsAnOrdinaryLine) {
    Receive("box# [1]+  Done");
    EXPECT_TRUE(session.EndedJobs().empty());
    EXPECT_THAT(session.ReplyLines(), ElementsAre("box# [1]+  Done"));
}

TEST_F(ReceivingTest, MarkerInTheBlockEndsTheReplyWithTheTailAsLastLine) {
    Receive("one\r\n");
    Receive("two\r\nthree\r\nbox# ");
    EXPECT_THAT(session.ReplyLines(), ElementsAre("one", "two", "three", "box# "));
    EXPECT_EQ(session.ReceiveBuffer(), "");
}

TEST_F(ReceivingTest, PromptSplitAcrossBlocksEndsTheReply) {
    Receive("one\r\nbo");
    Receive("x#");
    EXPECT_EQ(session.ReceiveBuffer(), "box#");
    Receive(" ");
    EXPECT_THAT(session.ReplyLines(), ElementsAre("one", "box# "));
    EXPECT_EQ(session.ReceiveBuffer(), "");
}

TEST_F(ReceivingTest, EmptyMarkerNeverEndsAReply) {
    settings.PromptMarker.clear();
    Receive("one\r\nbox# ");
    EXPECT_THAT(session.ReplyLines(), ElementsAre("one"));
    EXPECT_EQ(session.ReceiveBuffer(), "box# ");
}

TEST_F(ReceivingTest, EveryBlockIsLoggedAsReceivedAndStampsTheTick) {
    clock.now = 4242;
    Receive("a\r\n");
    Receive("");
    EXPECT_THAT(window.log, ElementsAre("a\r\n", ""));
    EXPECT_EQ(session.LastActivityTick(), 4242u);
}

TEST_F(BoxSessionTest, CapturePromptMarkerDropsTheLastCharacter) {
    session.SetSessionState(ssAwaitDriveList);
    session.CapturePromptMarker();
    EXPECT_EQ(settings.PromptMarker, "");
    Receive("/ # ");
    session.CapturePromptMarker();
    EXPECT_EQ(settings.PromptMarker, "/ #");
}

TEST_F(BoxSessionTest, DisconnectSendsExitAndKeepsTheStatusText) {
    LogIn();
    session.tbConnectClick();
    EXPECT_EQ(channel.sent.back(), "exit");
    EXPECT_EQ(channel.disconnects, 2);  // once before connecting, once now
    EXPECT_EQ(window.connectImage, 0);
    EXPECT_EQ(window.connectHint, "Verbindung zu box herstellen");
    EXPECT_EQ(window.statusTexts.back(), "Bereit...");
    EXPECT_TRUE(window.setupEnabled);
    EXPECT_EQ(session.SessionState(), ssDisconnected);
    for (const Pane pane : {Source, Destination}) {
        EXPECT_THAT(window.View(pane).drives, IsEmpty());
        EXPECT_EQ(window.View(pane).caption, "nicht verbunden");
        EXPECT_FALSE(window.View(pane).enabled);
    }
}

TEST_F(BoxSessionTest, TheBoxHangingUpAfterExitIsNoLostConnection) {
    LogIn();
    channel.closesOnExit = true;
    session.tbConnectClick();
    EXPECT_EQ(window.statusTexts.back(), "Bereit...");
    EXPECT_EQ(window.connectImage, 0);
}

TEST_F(BoxSessionTest, DisconnectAfterTheBoxHasGoneStillLeavesLocally) {
    LogIn();
    channel.gone = true;
    EXPECT_NO_THROW(session.DisconnectForExit());
    EXPECT_EQ(window.connectImage, 0);
    EXPECT_THAT(window.errors, IsEmpty());
}

// A line that drops by itself shows the disconnected look and is tried
// again after 1 s, then 2 s; the login that comes back opens the folders
// again. A click on the connect button ends the tries.
TEST_F(BoxSessionTest, ADroppedLineIsTriedAgainUntilItIsBack) {
    LogIn();
    session.ShowFolder(Source, "hdd/Filme/");
    session.ConnectionLost();
    EXPECT_EQ(window.connectImage, 0);
    EXPECT_EQ(window.statusTexts.back(), "Verbindung zur Box unterbrochen; neuer Versuch in 1 s");
    EXPECT_FALSE(window.View(Source).enabled);
    EXPECT_TRUE(session.Reconnecting());

    Ticks(4);
    ASSERT_TRUE(channel.Connecting());
    channel.FinishConnect(std::make_exception_ptr(Error("Connection refused.")));
    EXPECT_THAT(window.errors, IsEmpty());
    EXPECT_EQ(window.statusTexts.back(), "Verbindung zur Box unterbrochen; neuer Versuch in 2 s");
    Ticks(7);
    EXPECT_FALSE(channel.Connecting());
    Ticks(1);
    ASSERT_TRUE(channel.Connecting());

    channel.sent.clear();
    channel.FinishConnect();
    Receive("box login: ");
    Ticks(4);
    Receive("root\r\nPassword: ");
    Ticks(4);
    Receive("\r\nroot@box:~# ");
    Ticks(4);
    Receive("ls -1A /var/media\r\nhdd\r\nusb\r\nroot@box:~# ");
    Ticks(4);
    EXPECT_THAT(channel.sent, ElementsAre("root", "geheim", "ls -1A /var/media"));
    EXPECT_TRUE(session.Reconnected());
    EXPECT_FALSE(session.Reconnecting());
    EXPECT_EQ(session.TakeFolderToReopen(Source), "hdd/Filme/");
    EXPECT_EQ(session.TakeFolderToReopen(Source), "");

    session.ConnectionLost();
    session.tbConnectClick();
    EXPECT_FALSE(session.Reconnecting());
    Ticks(40);
    EXPECT_FALSE(channel.Connecting());
    EXPECT_EQ(window.connectImage, 0);
}

// Hung up before the drive list: the login was refused, and the box's last
// line says why; once logged in, a hang-up is a lost connection.
TEST_F(BoxSessionTest, AHangUpDuringTheLoginIsAFailedLoginWithTheBoxsLastLine) {
    Connect();
    Receive("box login: ");
    Ticks(4);
    Receive("root\r\nPassword: ");
    Ticks(4);
    Receive("\r\nLogin incorrect\r\n\r\n");
    session.ConnectionLost();
    EXPECT_THAT(window.errors,
                ElementsAre("Die Anmeldung an der Box ist fehlgeschlagen: Login incorrect"));
    EXPECT_EQ(window.statusTexts.back(), "Anmeldung fehlgeschlagen");
    EXPECT_EQ(window.connectImage, 0);
    EXPECT_FALSE(window.timerRunning);
}

// Most logins ask again after a wrong password instead of hanging up; what
// we would type next must not land in their login prompt.
TEST_F(BoxSessionTest, ALoginThatAsksAgainIsRefusedWithoutTypingIntoIt) {
    for (const auto& [answer, error] :
         {std::pair{"\r\nLogin incorrect\r\n\r\nbox login: ",
                    "Die Anmeldung an der Box ist fehlgeschlagen: Login incorrect"},
          std::pair{"\r\n\r\nbox login: ", "Die Anmeldung an der Box ist fehlgeschlagen."}}) {
        SCOPED_TRACE(answer);
        window.errors.clear();
        channel.sent.clear();
        const int disconnects = channel.disconnects;
        Connect();
        Receive("box login: ");
        Ticks(4);
        Receive("root\r\nPassword: ");
        Ticks(4);
        Receive(answer);
        Ticks(8);
        EXPECT_THAT(window.errors, ElementsAre(error));
        EXPECT_THAT(channel.sent, ElementsAre("root", "geheim"));
        EXPECT_GT(channel.disconnects, disconnects);
        EXPECT_EQ(window.connectImage, 0);
    }
}

class NavigationTest : public BoxSessionTest {
protected:
    // The session alone: the free space each listing asks for is the
    // tidying's, tested there.
    void SetUp() override {
        session.OnListed = nullptr;
        LogIn();
        channel.sent.clear();
    }

    void ReceiveListing(const std::string& command, const std::string& entries) {
        Receive(command + "\r\ntotal 9\r\n" + entries + "root@box:~# ");
    }

    std::vector<std::string> Captions(Pane pane) {
        std::vector<std::string> captions;
        for (const ListEntry& entry : *window.View(pane).entries) {
            captions.push_back(entry.caption);
        }
        return captions;
    }
};

TEST_F(NavigationTest, GoListsTheDriveAndOnlyTheDestinationEnablesCopying) {
    session.ChooseDrive(Source, "hdd/");
    EXPECT_FALSE(window.copyEnabled);
    EXPECT_EQ(session.SessionState(), ssAwaitSourceListing);
    session.ChooseDrive(Destination, "usb/");
    EXPECT_TRUE(window.copyEnabled);
    EXPECT_EQ(window.View(Destination).caption, "usb/");
    EXPECT_EQ(session.PaneOf(Destination).FolderDepth, 1);
    // The destination's listing waits for the source's reply.
    EXPECT_THAT(channel.sent, ElementsAre("ls -1Aps /var/media/hdd/"));
    ReceiveListing("ls -1Aps /var/media/hdd/", "4 a.ts\r\n");
    EXPECT_THAT(channel.sent, ElementsAre("ls -1Aps /var/media/hdd/", "ls -1Aps /var/media/usb/"));
    EXPECT_EQ(session.SessionState(), ssAwaitDestListing);
}

// Quick hands: every listing lands in its own pane, a second listing of a
// pane replaces one that has not gone out, and an entry opens below the
// folder it was listed in.
TEST_F(NavigationTest, ListingsGivenWhileAReplyIsOutstandingWaitTheirTurn) {
    session.ChooseDrive(Source, "hdd/");
    ReceiveListing("ls", "4 Filme/\r\n4 Serien/\r\n");
    session.ChooseDrive(Destination, "hdd/");
    ASSERT_TRUE(window.SelectEntry(Source, "Filme/"));
    session.EnterSelected(Source);
    ASSERT_TRUE(window.SelectEntry(Source, "Serien/"));
    session.EnterSelected(Source);
    EXPECT_EQ(window.View(Source).caption, "hdd/Serien/");
    ReceiveListing("ls", "8 dest.ts\r\n");
    EXPECT_THAT(Captions(Destination), ElementsAre("./", "dest.ts"));
    EXPECT_THAT(Captions(Source), ElementsAre("./", "Filme/", "Serien/"));
    EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/hdd/Serien/");
    ReceiveListing("ls", "8 folge.ts\r\n");
    EXPECT_THAT(Captions(Source), ElementsAre("./", "../", "folge.ts"));
    EXPECT_THAT(Captions(Destination), ElementsAre("./", "dest.ts"));
    EXPECT_EQ(channel.sent.size(), 3u);
    EXPECT_EQ(session.PaneOf(Source).ListedPath, "hdd/Serien/");
}

TEST_F(NavigationTest, ListingPutsFoldersFirstAndShowsParentOnlyBelowTheRoot) {
    session.ChooseDrive(Source, "hdd/");
    ReceiveListing("ls -1Aps /var/media/hdd/",
                   "1234567 aufnahme.ts\r\n   4 Filme/\r\n  8 My Film.ts\r\n4 Neuer Ordner/\r\n");
    EXPECT_THAT(Captions(Source),
                ElementsAre("./", "Filme/", "Neuer Ordner/", "aufnahme.ts", "My Film.ts"));
    EXPECT_EQ((*window.View(Source).entries)[3].size, "1234567");
    EXPECT_FALSE(window.View(Source).folderUpEnabled);

    ASSERT_TRUE(window.SelectEntry(Source, "Neuer Ordner/"));
    session.EnterSelected(Source);
    EXPECT_EQ(channel.sent.back(), "ls -1Aps \"/var/media/hdd/Neuer Ordner/\"");
    ReceiveListing("ls", "");
    EXPECT_THAT(Captions(Source), ElementsAre("./", "../"));
    EXPECT_TRUE(window.View(Source).folderUpEnabled);
    EXPECT_EQ(session.PaneOf(Source).FolderDepth, 2);
}

TEST_F(NavigationTest, DoubleClicksOnSpecialEntriesRefreshOrGoUp) {
    session.ChooseDrive(Source, "hdd/");
    ReceiveListing("ls", "4 Filme/\r\n8 a.ts\r\n");
    window.SelectEntry(Source, "a.ts");
    session.EnterSelected(Source);  // a file: nothing
    window.SelectEntry(Source, "./");
    session.EnterSelected(Source);
    ReceiveListing("ls", "4 Filme/\r\n8 a.ts\r\n");
    window.SelectEntry(Source, "Filme/");
    session.EnterSelected(Source);
    ReceiveListing("ls", "4 Serie/\r\n");
    window.SelectEntry(Source, "Serie/");
    session.EnterSelected(Source);
    ReceiveListing("ls", "");
    window.SelectEntry(Source, "../");
    session.EnterSelected(Source);
    ReceiveListing("ls", "4 Serie/\r\n");
    session.FolderUp(Source);
    session.FolderUp(Source);  // at the drive's root: nothing
    EXPECT_THAT(
        channel.sent,
        ElementsAre("ls -1Aps /var/media/hdd/", "ls -1Aps /var/media/hdd/",
                    "ls -1Aps /var/media/hdd/Filme/", "ls -1Aps /var/media/hdd/Filme/Serie/",
                    "ls -1Aps /var/media/hdd/Filme/", "ls -1Aps /var/media/hdd/"));
    EXPECT_EQ(session.PaneOf(Source).CurrentPath, "hdd/");
    EXPECT_EQ(session.PaneOf(Source).FolderDepth, 1);
}

// Up by the folder-up step or the "../" entry, the folder just left is the
// current and only selected entry of its parent; a refresh selects nothing.
TEST_F(NavigationTest, GoingUpSelectsTheFolderJustLeft) {
    const std::string driveRoot = "4 Filme/\r\n4 Serien/\r\n8 a.ts\r\n";
    const struct {
        const char* way;
        std::function<void()> step;
        std::string reply;
        std::optional<std::string> selected;
    } cases[] = {
        {"folder up", [this] { session.FolderUp(Source); }, driveRoot, "Serien/"},
        {"../",
         [this] {
             window.SelectEntry(Source, "../");
             session.EnterSelected(Source);
         },
         driveRoot, "Serien/"},
        {"refresh", [this] { session.Refresh(Source); }, "8 Folge 1.ts\r\n", std::nullopt},
    };
    for (const auto& c : cases) {
        session.ChooseDrive(Source, "hdd/");
        ReceiveListing("ls", driveRoot);
        ASSERT_TRUE(window.SelectEntry(Source, "Serien/"));
        session.EnterSelected(Source);
        ReceiveListing("ls", "8 Folge 1.ts\r\n");
        c.step();
        ReceiveListing("ls", c.reply);
        std::optional<std::string> selected;
        if (const std::optional<ListEntry> entry = window.SelectedEntry(Source)) {
            selected = entry->caption;
            EXPECT_EQ(window.View(Source).selection.size(), 1u) << c.way;
        }
        EXPECT_EQ(selected, c.selected) << c.way;
    }
}

TEST_F(NavigationTest, NothingIsSentWithoutADriveOrASelection) {
    session.Refresh(Destination);
    session.EnterSelected(Destination);
    session.FolderUp(Destination);
    session.ChooseDrive(Destination, "PC9/");  // a drive the box did not list
    EXPECT_THAT(channel.sent, IsEmpty());
    EXPECT_EQ(session.SessionState(), ssAwaitDriveList);
}

TEST_F(NavigationTest, AFailedSendLeavesThePaneWhereItWas) {
    session.ChooseDrive(Source, "hdd/");
    ReceiveListing("ls", "");
    channel.gone = true;
    EXPECT_THROW(session.ChooseDrive(Source, "usb/"), Error);
    EXPECT_EQ(session.PaneOf(Source).CurrentPath, "hdd/");
    EXPECT_EQ(window.View(Source).caption, "hdd/");
}

// A folder of an earlier run opens as it was; one that is gone gives way
// to its drive, without the box's message; a path off the drives is left.
TEST_F(NavigationTest, AReopenedFolderThatIsGoneGivesWayToItsDrive) {
    session.ReopenFolder(Destination, "usb/Serien/");
    EXPECT_TRUE(window.copyEnabled);
    ReceiveListing("ls", "4 a.ts\r\n");
    EXPECT_EQ(session.PaneOf(Destination).ListedPath, "usb/Serien/");

    session.ReopenFolder(Source, "hdd/Weg/");
    Receive(
        "ls -1Aps /var/media/hdd/Weg/\r\nls: /var/media/hdd/Weg/: No such file or "
        "directory\r\nroot@box:~# ");
    EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/hdd/");
    ReceiveListing("ls", "4 Filme/\r\n");
    EXPECT_EQ(session.PaneOf(Source).ListedPath, "hdd/");
    EXPECT_EQ(Captions(Source), (std::vector<std::string>{"./", "Filme/"}));
    EXPECT_THAT(window.statusTexts, Not(Contains(HasSubstr("No such file"))));

    channel.sent.clear();
    session.ReopenFolder(Source, "../etc/");
    session.ReopenFolder(Source, "hdd/../../");
    EXPECT_THAT(channel.sent, IsEmpty());
}

TEST_F(NavigationTest, AnUnknownPaneIsIgnored) {
    const Pane none = static_cast<Pane>(3);
    session.Refresh(none);
    session.ChooseDrive(none, "hdd/");
    session.ShowFolder(none, "hdd/");
    EXPECT_THAT(channel.sent, IsEmpty());
}

}  // namespace
}  // namespace olmira
