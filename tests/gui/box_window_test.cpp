// The main window against the simulated box: log-in, browsing, disconnect
// and exit, driven through the controls as a user would.
#include <gtest/gtest.h>
#include <signal.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "listening_box.h"
#include "simbox_env.h"
#include "temp_folder.h"
#include "window_under_test.h"

namespace {

// Inside the box's network namespace nothing but the box listens, so a
// listener of the test's own can stand on another loopback address.
constexpr const char* kListenerAddress = "127.0.0.2";
constexpr std::chrono::seconds kCloseTimeout(5);

QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i) {
        items << box.itemText(i);
    }
    return items;
}

// Ends every process of the box that serves a Telnet connection, as if the
// box had been switched off.
void SwitchOffBox() {
    for (const auto& process : std::filesystem::directory_iterator("/proc")) {
        std::ifstream comm(process.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && name == "telnetd") {
            ::kill(std::stoi(process.path().filename().string()), SIGKILL);
        }
    }
}

class BoxWindow : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test.ConnectAndLogIn()) << "no drive list"; }

    // What the box received but the free-space and date questions after
    // each listing.
    static std::vector<std::string> Listings() {
        std::vector<std::string> lines = BoxHistory();
        std::erase_if(lines, [](const std::string& line) {
            return line.starts_with("df ") || line.starts_with("for ofm_folder in ");
        });
        return lines;
    }

    bool WaitForHistory(std::size_t lines) {
        return WaitUntil([lines] { return Listings().size() >= lines; });
    }

    WindowUnderTest test{WindowUnderTest::BoxIni()};
};

TEST_F(BoxWindow, LogsInWithTheStatusTextsInOrderAndFillsBothDriveBoxes) {
    EXPECT_EQ(
        test.StatusTexts(),
        (QStringList{"Verbindung zu 127.0.0.1 wird hergestellt...",
                     "Login als User " + qEnvironmentVariable("SIMBOX_USER"), "Schicke Passwort...",
                     "Hole Liste der verbundenen Laufwerke...", "Bereit..."}));
    EXPECT_EQ(test.ConnectImage(), 1);
    EXPECT_EQ(test.Hint("tbConnect"), QStringLiteral("Verbindung zu 127.0.0.1 trennen"));
    EXPECT_FALSE(test.Enabled("tbSetup"));
    EXPECT_FALSE(test.Enabled("tbCopyFile"));
    for (const char* media : {"cbSourceMedia", "cbDestMedia"}) {
        const QComboBox& box = test.Child<QComboBox>(media);
        EXPECT_EQ(Items(box), (QStringList{"PC1/", "hdd/", "usb/"})) << media;
        EXPECT_EQ(box.currentIndex(), 0) << media;
    }
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("nicht verbunden"));
    EXPECT_TRUE(test.Captions("SourceList").isEmpty());
    EXPECT_TRUE(test.Child<QPlainTextEdit>("memoLog").toPlainText().contains("box login:"));
    EXPECT_EQ(BoxHistory(), std::vector<std::string>{"ls -1A /var/media"});
    // The keyboard is in the left list, not on the tool bar.
    EXPECT_EQ(test.Window().focusWidget(), &test.Child<QWidget>("SourceList"));
}

TEST_F(BoxWindow, GoListsTheChosenDriveInEachPane) {
    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Nachrichten.ts"));
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("hdd/"));
    EXPECT_EQ(test.Captions("SourceList"), (QStringList{"./", "Dokus/", "Filme/", "Leer/",
                                                        "Nachrichten.crid", "Nachrichten.ts"}));
    EXPECT_EQ(test.Cell("SourceList", 5, 1), QStringLiteral("512"));
    EXPECT_EQ(test.Cell("SourceList", 2, 1), QString());
    EXPECT_FALSE(test.Enabled("tbSourceFolderUp"));
    EXPECT_FALSE(test.Enabled("tbCopyFile"));

    test.ChooseDrive("cbDestMedia", "bChgDestRootFolder", "usb/");
    ASSERT_TRUE(test.WaitForCaption("DestList", "Konzert.ts"));
    EXPECT_EQ(test.Text("labelDestFolder"), QStringLiteral("usb/"));
    EXPECT_EQ(test.Captions("DestList"),
              (QStringList{"./", "Neue Aufnahmen/", "Konzert.crid", "Konzert.ts"}));
    EXPECT_TRUE(test.Enabled("tbCopyFile"));
    EXPECT_EQ(test.Captions("SourceList").size(), 6);
}

// What is typed counts: Enter lists it like "go", and a drive the box did
// not list is refused instead of the drive picked before being listed.
TEST_F(BoxWindow, EnterInTheDriveBoxListsTheTypedDriveAndRefusesAnUnlistedOne) {
    QLineEdit& typed = *test.Child<QComboBox>("cbSourceMedia").lineEdit();
    typed.setText(QStringLiteral("usb"));
    // Where the desktop delivers the key: to the combo box, not its line edit.
    QTest::keyClick(&test.Child<QComboBox>("cbSourceMedia"), Qt::Key_Return);
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Konzert.ts"));
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("usb/"));
    // The free space that follows the listing, before counting what is sent.
    ASSERT_TRUE(WaitUntil([this] { return test.Text("labelSourceFree").startsWith("frei: "); }));

    const std::size_t commands = BoxHistory().size();
    typed.setText(QStringLiteral("dvd/"));
    QTest::keyClick(&typed, Qt::Key_Return);
    ASSERT_EQ(test.Boxes().shown.size(), 1U) << test.Boxes().shown.back().text.toStdString();
    EXPECT_EQ(test.Boxes().shown[0].text.toStdString(),
              "Ein Laufwerk „dvd/“ hat die Box nicht gemeldet.");
    QTest::qWait(200);
    EXPECT_EQ(BoxHistory().size(), commands);
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("usb/"));
    EXPECT_TRUE(test.Captions("SourceList").contains("Konzert.ts"));
    test.Boxes().shown.clear();

    // Typed key by key, the drive box completes a name in the case typed
    // ("pc1/"): Enter lists the drive the box completed to, and the box
    // shows it as listed.
    QComboBox& media = test.Child<QComboBox>("cbSourceMedia");
    const std::pair<const char*, QString> keysAndDrives[] = {{"pc1", "PC1/"}, {"HDD", "hdd/"}};
    for (const auto& [keys, drive] : keysAndDrives) {
        typed.clear();
        QTest::keyClicks(&media, QString::fromUtf8(keys));
        QTest::keyClick(&media, Qt::Key_Return);
        EXPECT_TRUE(test.Boxes().shown.empty()) << keys;
        EXPECT_TRUE(WaitUntil([&] { return test.Text("labelSourceFolder") == drive; })) << keys;
        EXPECT_EQ(media.currentText(), drive) << keys;
    }
}

TEST_F(BoxWindow, FoldersOpenAndCloseWithTheParentEntryAndFolderUpButtonTogether) {
    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Filme/"));

    test.DoubleClick("SourceList", "Filme/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Serien/"));
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("hdd/Filme/"));
    EXPECT_EQ(test.Captions("SourceList").mid(0, 3), (QStringList{"./", "../", "Serien/"}));
    EXPECT_TRUE(test.Enabled("tbSourceFolderUp"));

    test.DoubleClick("SourceList", "Serien/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Folge 01.ts"));
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("hdd/Filme/Serien/"));

    test.Click("tbSourceFolderUp");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Serien/"));
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("hdd/Filme/"));

    test.DoubleClick("SourceList", "../");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Leer/"));
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("hdd/"));
    EXPECT_FALSE(test.Captions("SourceList").contains("../"));
    EXPECT_FALSE(test.Enabled("tbSourceFolderUp"));

    test.Click("tbSourceRefresh");
    ASSERT_TRUE(WaitForHistory(7));
    test.DoubleClick("SourceList", "./");
    ASSERT_TRUE(WaitForHistory(8));
    test.DoubleClick("SourceList", "Nachrichten.ts");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Leer/"));

    EXPECT_EQ(Listings(), (std::vector<std::string>{
                              "ls -1A /var/media",
                              "ls -1Aps /var/media/hdd/",
                              "ls -1Aps /var/media/hdd/Filme/",
                              "ls -1Aps /var/media/hdd/Filme/Serien/",
                              "ls -1Aps /var/media/hdd/Filme/",
                              "ls -1Aps /var/media/hdd/",
                              "ls -1Aps /var/media/hdd/",
                              "ls -1Aps /var/media/hdd/",
                          }));
}

// Up by the button, Backspace or "../": the folder just left is the current
// and only selected entry of its parent, where the user goes on from.
TEST_F(BoxWindow, GoingUpSelectsTheFolderJustLeft) {
    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Filme/"));
    EntryListView& list = test.Child<EntryListView>("SourceList");
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"folder-up button", [this] { test.Click("tbSourceFolderUp"); }},
        {"Backspace", [&list] { QTest::keyClick(&list, Qt::Key_Backspace); }},
        {"../", [this] { test.DoubleClick("SourceList", "../"); }},
    };
    for (const auto& [way, goUp] : ways) {
        test.DoubleClick("SourceList", "Filme/");
        ASSERT_TRUE(test.WaitForCaption("SourceList", "../")) << way;
        goUp();
        ASSERT_TRUE(WaitUntil([this] { return !test.Captions("SourceList").contains("../"); }))
            << way;
        EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("hdd/")) << way;
        const int filme = static_cast<int>(test.Captions("SourceList").indexOf("Filme/"));
        EXPECT_EQ(list.CurrentRow(), filme) << way;
        EXPECT_EQ(list.SelectedRows(), std::vector<int>{filme}) << way;
    }
}

// Dates come after the names, by a command of their own; a name with a line
// break or a link's target must not shift them onto other entries.
TEST_F(BoxWindow, TheDateColumnShowsWhenEachEntryChangedAndSortsByIt) {
    const auto box = olmira::test::FindSimbox();
    ASSERT_TRUE(box);
    const std::filesystem::path folder = std::filesystem::path(box->mediaPath) / "hdd" / "Datum";
    std::filesystem::create_directories(folder / "Ordner");
    for (const char* name : {"Alt.ts", "Neu mit Blanks.ts", "Zeile\nzwei.ts"}) {
        std::ofstream(folder / name) << "x";
    }
    std::filesystem::create_symlink("Alt.ts", folder / "Verweis.ts");
    const std::string touch = "cd '" + folder.string() +
                              "' && touch -h -d '2019-02-01 08:00' Alt.ts" +
                              " && touch -d '2026-12-09 14:03' 'Neu mit Blanks.ts'" +
                              " && touch -d '2024-05-05 05:05' Ordner Zeile*" +
                              " && touch -h -d '2021-07-01 12:00' Verweis.ts";
    ASSERT_EQ(std::system(touch.c_str()), 0);

    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Datum/"));
    test.DoubleClick("SourceList", "Datum/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Verweis.ts"));
    const auto dateOf = [this](const char* caption) {
        return test.Cell("SourceList",
                         static_cast<int>(test.Captions("SourceList").indexOf(caption)), 2);
    };
    ASSERT_TRUE(WaitUntil([&] { return !dateOf("Alt.ts").isEmpty(); }));
    EXPECT_EQ(dateOf("Alt.ts"), QStringLiteral("01.02.2019 08:00"));
    EXPECT_EQ(dateOf("Neu mit Blanks.ts"), QStringLiteral("09.12.2026 14:03"));
    EXPECT_EQ(dateOf("Ordner/"), QStringLiteral("05.05.2024 05:05"));
    EXPECT_EQ(dateOf("Verweis.ts"), QStringLiteral("01.07.2021 12:00"));

    test.ClickHeader("SourceList", 2);
    const QStringList byDate = test.Captions("SourceList");
    ASSERT_EQ(byDate.size(), 7);
    EXPECT_EQ(byDate.mid(0, 3), (QStringList{"./", "../", "Ordner/"}));
    EXPECT_EQ(byDate[3], QStringLiteral("Alt.ts"));
    EXPECT_EQ(byDate[4], QStringLiteral("Verweis.ts"));
    EXPECT_EQ(byDate[6], QStringLiteral("Neu mit Blanks.ts"));
}

TEST_F(BoxWindow, EnterOpensTheSelectedFolderAndBackspaceGoesUp) {
    test.ChooseDrive("cbDestMedia", "bChgDestRootFolder", "hdd/");
    ASSERT_TRUE(test.WaitForCaption("DestList", "Dokus/"));
    ASSERT_TRUE(test.Select("DestList", "Dokus/"));
    QTest::keyClick(&test.Child<EntryListView>("DestList"), Qt::Key_Return);
    const auto shown =
        olmira::test::FindSimbox().value_or(olmira::test::SimboxEnv{}).Shown("Wälder im Herbst.ts");
    ASSERT_TRUE(test.WaitForCaption("DestList", QString::fromStdString(shown)));
    EXPECT_EQ(test.Text("labelDestFolder"), QStringLiteral("hdd/Dokus/"));

    QTest::keyClick(&test.Child<EntryListView>("DestList"), Qt::Key_Backspace);
    ASSERT_TRUE(test.WaitForCaption("DestList", "Dokus/"));
    EXPECT_EQ(test.Text("labelDestFolder"), QStringLiteral("hdd/"));
}

TEST_F(BoxWindow, DisconnectEmptiesThePanesAndKeepsTheStatusText) {
    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Filme/"));
    test.Click("tbConnect");
    EXPECT_EQ(test.ConnectImage(), 0);
    EXPECT_EQ(test.Hint("tbConnect"), QStringLiteral("Verbindung zu 127.0.0.1 herstellen"));
    EXPECT_FALSE(test.Enabled("panelSource"));
    EXPECT_FALSE(test.Enabled("panelDest"));
    EXPECT_TRUE(test.Enabled("tbSetup"));
    EXPECT_TRUE(test.Captions("SourceList").isEmpty());
    EXPECT_EQ(test.Child<QComboBox>("cbSourceMedia").count(), 0);
    EXPECT_EQ(test.Child<QComboBox>("cbDestMedia").currentText(), QString());
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("nicht verbunden"));
    EXPECT_EQ(test.Text("StatusText"), QStringLiteral("Bereit..."));
    // The box's shell read its "exit" before the line was dropped.
    EXPECT_EQ(BoxHistory().back(), "exit");

    ASSERT_TRUE(test.ConnectAndLogIn()) << "a second connection in the same run";
    EXPECT_EQ(Items(test.Child<QComboBox>("cbSourceMedia")), (QStringList{"PC1/", "hdd/", "usb/"}));
    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "usb/");
    EXPECT_TRUE(test.WaitForCaption("SourceList", "Konzert.ts"));
}

TEST_F(BoxWindow, ExitWhileConnectedDisconnectsAndEndsTheProgram) {
    EXPECT_EQ(ExitCodeAfterClicking(test, "tbExit"), 0);
    EXPECT_EQ(BoxHistory().back(), "exit");
    EXPECT_EQ(test.ConnectImage(), 0);
    EXPECT_FALSE(test.Enabled("panelSource"));
    EXPECT_TRUE(test.Boxes().shown.empty());
}

TEST_F(BoxWindow, ABoxThatGoesAwayBringsBackTheDisconnectedLook) {
    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Filme/"));
    SwitchOffBox();
    ASSERT_TRUE(WaitUntil([this] { return test.ConnectImage() == 0; }));
    EXPECT_FALSE(test.Enabled("panelSource"));
    EXPECT_TRUE(test.Captions("SourceList").isEmpty());
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("nicht verbunden"));
    EXPECT_TRUE(test.Enabled("tbSetup"));
    EXPECT_TRUE(test.Boxes().shown.empty());
}

// The bytes on the wire, checked on a listener that keeps every byte and
// never closes first: the window must hang up by itself after "exit".
TEST(WhatTheBoxReceives, DisconnectAndExitSendExitBeforeClosing) {
    for (const char* button : {"tbConnect", "tbExit"}) {
        ListeningBox box(kListenerAddress);
        WindowUnderTest test(WindowUnderTest::BoxIni(kListenerAddress));
        test.Click("tbConnect");
        ASSERT_TRUE(WaitUntil([&] { return test.ConnectImage() == 1; })) << button;
        if (button == std::string("tbExit")) {
            EXPECT_EQ(ExitCodeAfterClicking(test, button), 0);
        } else {
            test.Click(button);
        }
        EXPECT_EQ(test.ConnectImage(), 0) << button;
        const std::optional<std::string> received = box.ReceivedUntilClosed(kCloseTimeout);
        ASSERT_TRUE(received) << button << ": the connection stayed open";
        EXPECT_TRUE(received->ends_with("exit\r\n")) << button << " sent " << *received;
    }
}

TEST(WhatTheBoxReceives, ClosingTheWindowSendsNothing) {
    ListeningBox box(kListenerAddress);
    auto test = std::make_unique<WindowUnderTest>(WindowUnderTest::BoxIni(kListenerAddress));
    test->Click("tbConnect");
    ASSERT_TRUE(WaitUntil([&] { return test->ConnectImage() == 1; }));
    test->Window().close();
    test.reset();
    const std::optional<std::string> received = box.ReceivedUntilClosed(kCloseTimeout);
    ASSERT_TRUE(received) << "the connection stayed open";
    EXPECT_EQ(received->find("exit"), std::string::npos) << *received;
}

TEST(BoxWindowErrors, AConnectThatHangsLeavesTheWindowWorkingAndEndsWithIt) {
    const FullHost host("127.0.0.4");
    auto test = std::make_unique<WindowUnderTest>(WindowUnderTest::BoxIni("127.0.0.4"));
    test->Click("tbConnect");
    EXPECT_TRUE(test->Window().Session().Connecting());
    test->Click("tbLog");
    EXPECT_TRUE(test->Child<QWidget>("formLog").isVisible());
    bool ticked = false;
    QTimer::singleShot(50, [&] { ticked = true; });
    EXPECT_TRUE(WaitUntil([&] { return ticked; }));
    EXPECT_TRUE(test->Window().Session().Connecting());
    EXPECT_EQ(test->ConnectImage(), 0);
    EXPECT_TRUE(test->StatusTexts().isEmpty());
    QElapsedTimer closing;
    closing.start();
    test.reset();
    EXPECT_LT(closing.elapsed(), 2000);
}

TEST(BoxWindowErrors, ARefusedConnectionShowsTheErrorBoxAndStaysDisconnected) {
    WindowUnderTest test(WindowUnderTest::BoxIni("127.0.0.3"));
    test.Click("tbConnect");
    ASSERT_TRUE(WaitUntil([&] { return !test.Boxes().shown.empty(); }));
    const RecordingMessageBoxes::Box& box = test.Boxes().shown.front();
    EXPECT_EQ(box.title, QStringLiteral("Olmira Remote File Manager"));
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_FALSE(box.text.isEmpty());
    EXPECT_TRUE(box.text.endsWith('.')) << box.text.toStdString();
    EXPECT_EQ(test.ConnectImage(), 0);
    EXPECT_EQ(test.Hint("tbConnect"), QStringLiteral("Verbindung zu 127.0.0.3 herstellen"));
    EXPECT_FALSE(test.Child<QTimer>("Timer").isActive());
    EXPECT_TRUE(test.StatusTexts().isEmpty());
    EXPECT_FALSE(test.Enabled("panelSource"));
}

// The reason comes from the box, at once, in the error box and not only
// in the log.
TEST(BoxWindowErrors, AWrongPasswordSaysTheLoginFailedWithTheBoxsWords) {
    std::string ini = WindowUnderTest::BoxIni();
    const std::size_t password = ini.find("olmira_Pass=") + std::string("olmira_Pass=").size();
    ini.replace(password, ini.find('\r', password) - password, "falsch");
    WindowUnderTest test(ini);
    test.Click("tbConnect");
    ASSERT_TRUE(WaitUntil([&] { return !test.Boxes().shown.empty(); }, 10000));
    EXPECT_EQ(test.Boxes().shown.front().text.toStdString(),
              "Die Anmeldung an der Box ist fehlgeschlagen: Login incorrect.");
    EXPECT_EQ(test.Boxes().shown.front().icon, QMessageBox::Critical);
    EXPECT_EQ(test.Text("StatusText"), QStringLiteral("Anmeldung fehlgeschlagen"));
    EXPECT_EQ(test.ConnectImage(), 0);
    EXPECT_TRUE(test.Enabled("tbSetup"));
    EXPECT_EQ(test.Child<QComboBox>("cbSourceMedia").count(), 0) << "nothing of it is a drive";
}

// The next start opens at the last size, each pane in its last folder; a
// folder that has gone since gives way to its drive.
TEST(WindowState, TheNextStartOpensAtTheLastSizeInTheLastFolders) {
    const olmira::test_support::TempFolder folder;
    const std::string state = folder.File("fenster.ini");
    {
        WindowUnderTest first(WindowUnderTest::BoxIni(), state);
        ASSERT_TRUE(first.ConnectAndLogIn());
        first.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
        ASSERT_TRUE(first.WaitForCaption("SourceList", "Filme/"));
        first.DoubleClick("SourceList", "Filme/");
        ASSERT_TRUE(first.WaitForCaption("SourceList", "Serien/"));
        first.ChooseDrive("cbDestMedia", "bChgDestRootFolder", "usb/");
        ASSERT_TRUE(first.WaitForCaption("DestList", "Konzert.ts"));
        first.Window().resize(700, 500);
    }
    {
        WindowUnderTest second(WindowUnderTest::BoxIni(), state);
        EXPECT_EQ(second.Window().size(), QSize(700, 500));
        ASSERT_TRUE(second.ConnectAndLogIn());
        ASSERT_TRUE(second.WaitForCaption("SourceList", "Serien/"));
        EXPECT_EQ(second.Text("labelSourceFolder"), QStringLiteral("hdd/Filme/"));
        EXPECT_EQ(second.Child<QComboBox>("cbSourceMedia").currentText(), QStringLiteral("hdd/"));
        ASSERT_TRUE(second.WaitForCaption("DestList", "Konzert.ts"));
        EXPECT_TRUE(second.Enabled("tbCopyFile"));
    }
    std::filesystem::remove_all(qEnvironmentVariable("SIMBOX_MEDIA").toStdString() + "/hdd/Filme");
    WindowUnderTest third(WindowUnderTest::BoxIni(), state);
    ASSERT_TRUE(third.ConnectAndLogIn());
    ASSERT_TRUE(third.WaitForCaption("SourceList", "Dokus/"));
    EXPECT_EQ(third.Text("labelSourceFolder"), QStringLiteral("hdd/"));
    EXPECT_TRUE(third.Boxes().shown.empty());
}

}  // namespace
