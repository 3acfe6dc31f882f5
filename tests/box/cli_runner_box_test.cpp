#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "box_runners.h"
#include "cli_on_the_box.h"
#include "file_bytes.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

using olmira::test_support::FileBytes;

// At the box's 300 kB/s two seconds for a recording, and ten for the long
// one, in which a console can log in and act while it is copied.
std::size_t SizeOf(const std::string& name) {
    return (name == "Lang.ts" ? 3000 : 600) * std::size_t{1024};
}

// Bytes that differ from place to place and from file to file, so that a
// copy cut short or put in the wrong place shows.
std::string Recording(const std::string& name) {
    std::string bytes;
    while (bytes.size() < SizeOf(name)) {
        bytes += name + " " + std::to_string(bytes.size()) + "\n";
    }
    bytes.resize(SizeOf(name));
    return bytes;
}

// Runs on a box whose cp writes 300 kB/s (see tests/CMakeLists.txt), with
// three recordings on hdd/ and the PC's record of handed jobs in the
// test's own folder.
class CliRunnerJob : public CliOnTheBox {
protected:
    void SetUp() override {
        CliOnTheBox::SetUp();
        // For the consoles that Launch starts; Run sets it for its own.
        ::setenv("XDG_CONFIG_HOME", folder.File("config").c_str(), 1);
        for (const char* name : {"Eins.ts", "Zwei.ts", "Drei.ts"}) {
            Record(name);
        }
    }

    void Record(const std::string& name) const {
        std::ofstream(Hdd(name), std::ios::binary) << Recording(name);
    }

    void TearDown() override {
        if (child_ > 0) {
            ::kill(child_, SIGKILL);
            ::waitpid(child_, nullptr, 0);
        }
    }

    fs::path Hdd(const std::string& name) const { return Media() / "hdd" / name; }
    fs::path Usb(const std::string& name) const { return Media() / "usb" / name; }

    // Whether file holds the recording name, whole.
    static bool Holds(const fs::path& file, const std::string& name) {
        return fs::exists(file) && FileBytes(file) == Recording(name);
    }

    // Whether holds() comes true within limit.
    static bool Within(std::chrono::seconds limit, const std::function<bool()>& holds) {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (; !holds(); std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
        }
        return true;
    }

    // The job number that --detach printed.
    int Detached(const std::string& command, const std::vector<std::string>& paths) {
        const Outcome outcome = Cli(command + " --detach", paths);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        return std::atoi(outcome.out.c_str());
    }

    // olmirafm-cli as a child of the test, with the INI file of the last
    // Cli call, so that the test can kill it.
    void Launch(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {OLMIRAFM_CLI, "--ini", folder.File("olmirafm.ini")});
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t quiet;
        ::posix_spawn_file_actions_init(&quiet);
        ::posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        ASSERT_EQ(::posix_spawn(&child_, OLMIRAFM_CLI, &quiet, nullptr, argv.data(), environ), 0);
        ::posix_spawn_file_actions_destroy(&quiet);
    }

    pid_t child_ = -1;
};

// The console that followed a move is killed during its second entry; the
// box moves all three alone, jobs tells so, and wait reports it once.
TEST_F(CliRunnerJob, TheBoxFinishesAMoveWhoseConsoleWasKilled) {
    const Outcome before = Cli("jobs", {});
    EXPECT_EQ(before.status, 0) << before.err;
    EXPECT_EQ(before.out, "");

    Launch({"mv", "hdd/Eins.ts", "hdd/Zwei.ts", "hdd/Drei.ts", "usb/"});
    ASSERT_TRUE(Within(std::chrono::seconds(20), [&] { return fs::exists(Usb(".Zwei.ts.part")); }));
    ASSERT_EQ(::kill(child_, SIGKILL), 0);
    ::waitpid(child_, nullptr, 0);
    child_ = -1;
    EXPECT_FALSE(fs::exists(Usb("Drei.ts"))) << "the move was over too soon";

    EXPECT_TRUE(Within(std::chrono::seconds(30), [&] { return !fs::exists(Hdd("Drei.ts")); }));
    for (const char* name : {"Eins.ts", "Zwei.ts", "Drei.ts"}) {
        EXPECT_TRUE(Holds(Usb(name), name)) << name;
        EXPECT_FALSE(fs::exists(Hdd(name))) << name;
    }
    const Outcome listed = Cli("jobs", {});
    EXPECT_EQ(listed.status, 0) << listed.err;
    const std::string job = listed.out.substr(0, listed.out.find('\t'));
    EXPECT_EQ(listed.out, job + "\tfertig\thdd/Eins.ts\terledigt\n" + job +
                              "\tfertig\thdd/Zwei.ts\terledigt\n" + job +
                              "\tfertig\thdd/Drei.ts\terledigt\n");

    const Outcome reported = Cli("wait", {job});
    EXPECT_EQ(reported.status, 0) << reported.err;
    EXPECT_EQ(reported.out, "3 von 3 Einträgen verschoben\n");
    EXPECT_EQ(Cli("jobs", {}).out, "");
}

// --detach returns while the box copies; wait, given no number, follows
// this PC's job to its end and names the entry that was gone by then.
TEST_F(CliRunnerJob, DetachReturnsAtOnceAndWaitReportsTheEnd) {
    const int number = Detached("cp", {"hdd/Eins.ts", "hdd/Zwei.ts", "hdd/Drei.ts", "usb/"});
    ASSERT_GT(number, 0);
    EXPECT_FALSE(fs::exists(Usb("Eins.ts"))) << "--detach waited for the copy";
    fs::remove(Hdd("Drei.ts"));

    const Outcome waited = Cli("wait", {});
    EXPECT_EQ(waited.status, 1);
    EXPECT_EQ(waited.out, "2 von 3 Einträgen kopiert\n");
    EXPECT_THAT(waited.err, HasSubstr("hdd/Drei.ts: nicht gefunden"));
    EXPECT_TRUE(Holds(Usb("Eins.ts"), "Eins.ts"));
    EXPECT_TRUE(Holds(Usb("Zwei.ts"), "Zwei.ts"));
    EXPECT_FALSE(fs::exists(Usb("Drei.ts")));

    // Reported and cleared: neither the box nor this PC knows it any more.
    const Outcome again = Cli("wait", {std::to_string(number)});
    EXPECT_EQ(again.status, 1);
    EXPECT_THAT(again.err, HasSubstr("Die Box kennt keinen Auftrag " + std::to_string(number)));
    const Outcome none = Cli("wait", {});
    EXPECT_EQ(none.status, 1);
    EXPECT_THAT(none.err, HasSubstr("Die Box hat keinen Auftrag dieses PCs."));
}

// cancel ends the running copy and the rest: no temporary copy is left,
// nothing reaches the destination and the sources stay whole.
TEST_F(CliRunnerJob, CancelEndsADetachedJobAndLeavesTheSourcesWhole) {
    fs::remove(Usb("Konzert.ts"));
    Record("Lang.ts");
    const int number = Detached("mv", {"hdd/Lang.ts", "hdd/Zwei.ts", "usb/"});
    ASSERT_GT(number, 0);
    ASSERT_TRUE(Within(std::chrono::seconds(20), [&] { return fs::exists(Usb(".Lang.ts.part")); }));

    const Outcome cancelled = Cli("cancel", {std::to_string(number)});
    EXPECT_EQ(cancelled.status, 0) << cancelled.err;
    EXPECT_EQ(cancelled.out, "0 von 2 Einträgen verschoben\n");
    EXPECT_THAT(cancelled.err, HasSubstr("hdd/Lang.ts: abgebrochen"));
    EXPECT_THAT(cancelled.err, HasSubstr("hdd/Zwei.ts: nicht begonnen"));
    for (const auto& entry : fs::directory_iterator(Media() / "usb")) {
        EXPECT_FALSE(entry.path().filename().string().ends_with(".part")) << entry.path();
    }
    EXPECT_FALSE(fs::exists(Usb("Lang.ts")));
    EXPECT_FALSE(fs::exists(Usb("Zwei.ts")));
    EXPECT_TRUE(Holds(Hdd("Lang.ts"), "Lang.ts"));
    EXPECT_TRUE(Holds(Hdd("Zwei.ts"), "Zwei.ts"));

    const Outcome again = Cli("cancel", {std::to_string(number)});
    EXPECT_EQ(again.status, 1);
    EXPECT_THAT(again.err, HasSubstr("Die Box kennt keinen Auftrag " + std::to_string(number)));
}

// The box restarts during the first entry of a move (its runner and the
// runner's cp die, and its /tmp may be emptied): the next login reports the
// job interrupted, and no temporary copy is left; the sources stay whole.
TEST_F(CliRunnerJob, AJobCutShortByARestartIsReportedInterrupted) {
    fs::remove(Usb("Konzert.ts"));
    Record("Lang.ts");
    EXPECT_EQ(Cli("jobs", {}).out, "");
    for (const bool tmpEmptied : {false, true}) {
        SCOPED_TRACE(tmpEmptied ? "/tmp emptied" : "/tmp kept");
        Launch({"mv", "hdd/Lang.ts", "hdd/Zwei.ts", "usb/"});
        ASSERT_TRUE(
            Within(std::chrono::seconds(20), [&] { return fs::exists(Usb(".Lang.ts.part")); }));
        ASSERT_EQ(::kill(child_, SIGKILL), 0);
        ::waitpid(child_, nullptr, 0);
        child_ = -1;
        const std::vector<pid_t> runners = olmira::test_support::Runners(true);
        ASSERT_FALSE(runners.empty());
        if (tmpEmptied) {
            fs::remove_all(fs::path("/proc") / std::to_string(runners.front()) /
                           "root/tmp/olmirafm");
        }
        for (const pid_t pid : runners) {
            ::kill(pid, SIGKILL);
        }

        const Outcome reported = Cli("wait", {});
        EXPECT_EQ(reported.status, 1);
        EXPECT_THAT(reported.err, HasSubstr("hdd/Lang.ts: unterbrochen"));
        for (const char* name : {"Lang.ts", "Zwei.ts"}) {
            EXPECT_TRUE(Holds(Hdd(name), name)) << name;
            EXPECT_FALSE(fs::exists(Usb(name))) << name;
        }
        for (const auto& entry : fs::directory_iterator(Media() / "usb")) {
            EXPECT_FALSE(entry.path().filename().string().ends_with(".part")) << entry.path();
        }
        EXPECT_THAT(Cli("wait", {}).err, HasSubstr("keinen Auftrag"));
    }
}

}  // namespace
