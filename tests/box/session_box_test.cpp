#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <optional>
#include <string>

#include "error.h"
#include "front/headless_session.h"
#include "settings/setup.h"
#include "simbox_env.h"

namespace olmira {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;

TSetup BoxSettings() {
    TSetup settings;
    settings.olmira_Host = "127.0.0.1";
    if (const std::optional<test::SimboxEnv> simbox = test::FindSimbox()) {
        settings.olmira_User = simbox->user;
        settings.olmira_Pass = simbox->password;
    }
    return settings;
}

class SessionOnTheBox : public test::SimboxTest {
protected:
    // The prompt less its last character, whichever shell the box runs.
    std::string Marker() const {
        const std::string prompt = Box().Prompt();
        return prompt.substr(0, prompt.size() - 1);
    }

    HeadlessSession box{BoxSettings()};
    HeadlessWindow& window = box.Window();
};

TEST_F(SessionOnTheBox, LogsInByQuietTimeAndLearnsThePrompt) {
    const std::vector<std::string> drives = box.Drives();
    EXPECT_THAT(drives, IsSupersetOf({"hdd/", "usb/"}));
    EXPECT_EQ(window.View(Destination).drives, drives);
    EXPECT_EQ(window.SelectedDrive(Source), drives.front());
    EXPECT_EQ(box.Settings().PromptMarker, Marker());
    EXPECT_THAT(
        window.statusTexts,
        ElementsAre("Verbindung zu 127.0.0.1 wird hergestellt...", "Login als User root",
                    "Schicke Passwort...", "Hole Liste der verbundenen Laufwerke...", "Bereit..."));
    EXPECT_THAT(window.log, Contains(HasSubstr("login: ")));
}

TEST_F(SessionOnTheBox, ListsAFolderUntilThePromptComesBack) {
    const EntryList entries = *box.Listing("hdd/");
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries.Caption(0), "./");
    EXPECT_THAT(entries, Contains(ListEntry{"Filme/", EntryKind::Folder, ""}));
    EXPECT_EQ(box.Session().PaneOf(Source).CurrentPath, "hdd/");
}

TEST_F(SessionOnTheBox, ASecondConnectionLogsInLikeTheFirst) {
    const std::vector<std::string> first = box.Drives();
    box.Session().tbConnectClick();
    ASSERT_EQ(window.connectImage, 0);
    window.statusTexts.clear();
    box.LogIn();
    EXPECT_EQ(window.View(Source).drives, first);
    EXPECT_EQ(box.Settings().PromptMarker, Marker());
    EXPECT_EQ(window.statusTexts.size(), 5u);
    // The marker ends replies again: a listing completes without quiet time.
    EXPECT_GE(box.Listing("usb/")->size(), 1u);
}

TEST_F(SessionOnTheBox, TheBoxGoingAwayShowsTheDisconnectedLook) {
    box.Drives();
    ASSERT_EQ(std::system("pkill -KILL -x telnetd"), 0);
    EXPECT_THROW(box.RunUntil([] { return false; }, "Trennung", std::chrono::seconds(10)),
                 LineDropped);
    EXPECT_EQ(window.connectImage, 0);
    EXPECT_EQ(window.statusTexts.back(), "Verbindung zur Box unterbrochen; neuer Versuch in 1 s");
    EXPECT_FALSE(window.View(Source).enabled);
    EXPECT_EQ(window.View(Source).caption, "nicht verbunden");
}

// The box's own words say why, at once rather than once the box falls silent.
TEST_F(SessionOnTheBox, AWrongPasswordIsReportedWithTheBoxsLastLine) {
    TSetup settings = BoxSettings();
    settings.olmira_Pass = "falsch";
    HeadlessSession refused(settings);
    try {
        refused.LogIn();
        FAIL() << "logged in with a wrong password";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Die Anmeldung an der Box ist fehlgeschlagen: Login incorrect");
    }
    EXPECT_EQ(refused.Window().statusTexts.back(), "Anmeldung fehlgeschlagen");
    EXPECT_EQ(refused.Window().connectImage, 0);
}

}  // namespace
}  // namespace olmira
