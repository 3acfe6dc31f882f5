// The main window over SSH against the simulated box: the box's key asked
// about once and kept, "Nein" leaving the window disconnected, and then the
// panes as over Telnet.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "simbox_env.h"
#include "temp_folder.h"
#include "window_under_test.h"

namespace {

// The program's config folder and the user's home, both empty, for the
// test's lifetime.
class FreshUser {
public:
    FreshUser() {
        std::filesystem::create_directories(folder_.File("home"));
        Set("XDG_CONFIG_HOME", folder_.File("config"));
        Set("HOME", folder_.File("home"));
    }
    ~FreshUser() {
        for (const auto& [name, value] : saved_) {
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
        }
    }
    FreshUser(const FreshUser&) = delete;
    FreshUser& operator=(const FreshUser&) = delete;

    std::string KnownHosts() const { return folder_.File("config/olmirafm/known_hosts"); }

private:
    void Set(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        ::setenv(name.c_str(), value.c_str(), 1);
    }

    olmira::test_support::TempFolder folder_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Ends the box's SSH sessions, as a network that drops them would; the SSH
// service itself keeps listening.
void DropSshSessions() {
    std::ifstream pidFile("/var/lib/simbox/dropbear.pid");
    std::string service;
    std::getline(pidFile, service);
    for (const auto& process : std::filesystem::directory_iterator("/proc")) {
        std::ifstream comm(process.path() / "comm");
        std::string name;
        const std::string pid = process.path().filename().string();
        if (std::getline(comm, name) && name == "dropbear" && pid != service) {
            ::kill(std::stoi(pid), SIGKILL);
        }
    }
}

std::string SshIni() {
    return WindowUnderTest::BoxIni() + "olmira_Protocol=ssh\r\n";
}

TEST(SshWindow, TheBoxsKeyIsAskedAboutOnceAndNoLeavesTheWindowDisconnected) {
    const FreshUser user;
    {
        WindowUnderTest test(SshIni());
        test.Boxes().answerYes = false;
        test.Click("tbConnect");
        ASSERT_TRUE(WaitUntil([&] { return test.Boxes().shown.size() >= 2; }, 10000));
        EXPECT_EQ(test.Boxes().shown[0].icon, QMessageBox::Question);
        EXPECT_TRUE(test.Boxes().shown[0].text.contains(QStringLiteral("SHA256:")));
        EXPECT_EQ(test.Boxes().shown[1].icon, QMessageBox::Critical);
        EXPECT_EQ(test.ConnectImage(), 0);
        EXPECT_FALSE(test.Enabled("panelSource"));
        EXPECT_FALSE(std::filesystem::exists(user.KnownHosts()));
        EXPECT_TRUE(olmira::test::BoxCommandsReceived().empty());

        test.Boxes().shown.clear();
        test.Boxes().answerYes = true;
        ASSERT_TRUE(test.ConnectAndLogIn());
        ASSERT_EQ(test.Boxes().shown.size(), 1u);
        test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
        ASSERT_TRUE(test.WaitForCaption("SourceList", "Nachrichten.ts"));
        EXPECT_TRUE(std::filesystem::exists(user.KnownHosts()));
    }
    WindowUnderTest again(SshIni());
    ASSERT_TRUE(again.ConnectAndLogIn());
    EXPECT_TRUE(again.Boxes().shown.empty()) << "a known key is not asked about";
    again.ChooseDrive("cbDestMedia", "bChgDestRootFolder", "usb/");
    EXPECT_TRUE(again.WaitForCaption("DestList", "Konzert.ts"));
}

TEST(SshWindow, ADroppedSessionShowsTheDisconnectedLookAndComesBack) {
    const FreshUser user;
    WindowUnderTest test(SshIni());
    test.Boxes().answerYes = true;
    ASSERT_TRUE(test.ConnectAndLogIn());
    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    ASSERT_TRUE(test.WaitForCaption("SourceList", "Filme/"));
    DropSshSessions();
    ASSERT_TRUE(WaitUntil([&] { return test.ConnectImage() == 0; }));
    EXPECT_FALSE(test.Enabled("panelSource"));
    EXPECT_TRUE(test.Text("StatusText").contains(QStringLiteral("unterbrochen")));
    ASSERT_TRUE(WaitUntil([&] { return test.Captions("SourceList").contains("Filme/"); }, 15000));
    EXPECT_EQ(test.Text("labelSourceFolder"), QStringLiteral("hdd/"));
    EXPECT_EQ(test.Boxes().shown.size(), 1u) << "only the first connect asked about the key";
}

}  // namespace
