#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_on_the_box.h"
#include "eventually.h"
#include "file_bytes.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

using olmira::test::BoxCommandsReceived;
using olmira::test_support::Eventually;
using olmira::test_support::FileBytes;
using olmira::test_support::Pattern;

void WriteFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// A rename keeps a file's inode; a copy makes a new one.
ino_t Inode(const fs::path& file) {
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

bool AnyLineHas(const std::vector<std::string>& lines, const std::string& part) {
    for (const std::string& line : lines) {
        if (line.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

class CliJobOnTheBox : public CliOnTheBox {
protected:
    fs::path Media() const { return Box().mediaPath; }

    // "cp" or "mv" with options, then each path as one argument.
    Outcome Job(const std::string& command, const std::vector<std::string>& paths,
                const std::string& extraIni = "") {
        return Run("127.0.0.1", command + ShellArguments(paths), extraIni);
    }

    // olmirafm-cli as a child of this process, so that the test can signal
    // it while the job runs; Wait() then collects it.
    void Start(const std::string& command, const std::vector<std::string>& paths) {
        folder.Write("olmirafm.ini", "[Network]\r\nolmira_Host=127.0.0.1\r\nolmira_User=" +
                                         Box().user + "\r\nolmira_Pass=" + Box().password + "\r\n");
        // its record of the job stays in the test's folder, killed or not
        const std::string line =
            "XDG_CONFIG_HOME=" + ShellArgument(folder.File("config")) + " exec " +
            std::string(OLMIRAFM_CLI) + " --ini " + folder.File("olmirafm.ini") + " " + command +
            ShellArguments(paths) + " >" + folder.File("out") + " 2>" + folder.File("err");
        const char* argv[] = {"/bin/sh", "-c", line.c_str(), nullptr};
        ASSERT_EQ(
            ::posix_spawn(&child_, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ),
            0);
    }

    // The child's outcome; an exit by signal counts as 128 + the signal.
    Outcome Wait() {
        int status = 0;
        Outcome outcome;
        if (child_ > 0 && ::waitpid(child_, &status, 0) == child_) {
            outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        child_ = -1;
        outcome.out = folder.Read("out");
        outcome.err = folder.Read("err");
        return outcome;
    }

    void TearDown() override {
        if (child_ > 0) {
            ::kill(child_, SIGKILL);
            ::waitpid(child_, nullptr, 0);
        }
    }

    pid_t child_ = -1;
};

// Quotes, "$", backquotes, ";", "*", blanks and a byte the box shows as "?"
// reach cp as the real names, all in one job; a recording brings its info
// file along unless the INI says otherwise.
TEST_F(CliJobOnTheBox, CopiesAwkwardNamesInOneJobWithTheRecordingsInfoFile) {
    const fs::path source = Media() / "hdd" / "Heikel";
    const std::string files[] = {"a \"b\" $c `d`;*.ts", "K\xe4se 'x'.ts"};
    fs::create_directories(source / "Ordner $(x) 'y'" / "innen");
    for (const std::string& name : files) {
        WriteFile(source / name, name + Pattern(70000, name[0]));
    }
    WriteFile(source / "Ordner $(x) 'y'" / "innen" / "c;d.ts", "inhalt");

    const Outcome outcome = Job("cp", {"hdd/Heikel/a \"b\" $c `d`;*.ts", "hdd/Heikel/K?se 'x'.ts",
                                       "hdd/Heikel/Ordner $(x) 'y'", "hdd/Nachrichten.ts", "usb/"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    for (const std::string& name : files) {
        EXPECT_EQ(FileBytes(Media() / "usb" / name), FileBytes(source / name)) << name;
    }
    EXPECT_EQ(FileBytes(Media() / "usb" / "Ordner $(x) 'y'" / "innen" / "c;d.ts"), "inhalt");
    EXPECT_EQ(FileBytes(Media() / "usb" / "Nachrichten.ts"),
              FileBytes(Media() / "hdd" / "Nachrichten.ts"));
    EXPECT_EQ(FileBytes(Media() / "usb" / "Nachrichten.crid"),
              FileBytes(Media() / "hdd" / "Nachrichten.crid"));
    // Nothing else turned up, as a misquoted name would.
    EXPECT_EQ(std::distance(fs::directory_iterator(Media() / "usb"), fs::directory_iterator()),
              2 + 6);

    const Outcome alone =
        Job("cp", {"hdd/Filme/Spielfilm 1.ts", "usb/"}, "[Transfer]\r\nwith_crid=0\r\n");
    EXPECT_EQ(alone.status, 0) << alone.err;
    EXPECT_EQ(FileBytes(Media() / "usb" / "Spielfilm 1.ts"),
              FileBytes(Media() / "hdd" / "Filme" / "Spielfilm 1.ts"));
    EXPECT_FALSE(fs::exists(Media() / "usb" / "Spielfilm 1.crid"));
}

// On its own drive an entry is renamed by mv; to another drive it is copied,
// and its source goes once the copy is whole.
TEST_F(CliJobOnTheBox, MovesOnTheSameDriveByRenamingAndAcrossDrivesByCopying) {
    const std::string news = FileBytes(Media() / "hdd" / "Nachrichten.ts");
    const ino_t newsInode = Inode(Media() / "hdd" / "Nachrichten.ts");
    const Outcome renamed = Job("mv", {"hdd/Nachrichten.ts", "hdd/Leer"});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(FileBytes(Media() / "hdd" / "Leer" / "Nachrichten.ts"), news);
    EXPECT_TRUE(fs::exists(Media() / "hdd" / "Leer" / "Nachrichten.crid"));
    EXPECT_FALSE(fs::exists(Media() / "hdd" / "Nachrichten.ts"));
    EXPECT_FALSE(fs::exists(Media() / "hdd" / "Nachrichten.crid"));
    EXPECT_EQ(fs::status(Media() / "hdd" / "Leer" / "Nachrichten.ts").type(),
              fs::file_type::regular);
    EXPECT_EQ(Inode(Media() / "hdd" / "Leer" / "Nachrichten.ts"), newsInode)
        << "a copy for a move on one drive";

    const fs::path series = Media() / "hdd" / "Filme" / "Serien";
    const std::string episode = FileBytes(series / "Folge 02.ts");
    const Outcome moved = Job("mv", {"hdd/Filme/Serien", "usb/"});
    EXPECT_EQ(moved.status, 0) << moved.err;
    EXPECT_FALSE(fs::exists(series));
    EXPECT_EQ(FileBytes(Media() / "usb" / "Serien" / "Folge 02.ts"), episode);
    EXPECT_TRUE(fs::exists(Media() / "usb" / "Serien" / "Folge 01.crid"));
}

// In the middle of a queue a file is not to replace a folder: the entries
// before and after it are copied, the report names it, and the folder that
// was there stays.
TEST_F(CliJobOnTheBox, AFailingEntryInTheQueueLeavesTheOthersDone) {
    for (const char* name : {"Eins.txt", "Zwei.txt", "Drei.txt"}) {
        WriteFile(Media() / "hdd" / name, Pattern(5000, name[0]));
    }
    fs::create_directories(Media() / "usb" / "Zwei.txt");
    WriteFile(Media() / "usb" / "Zwei.txt" / "bleibt", "x");

    const Outcome outcome =
        Job("cp --overwrite", {"hdd/Eins.txt", "hdd/Zwei.txt", "hdd/Drei.txt", "usb/"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_THAT(outcome.err,
                HasSubstr("Von 3 Einträgen wurde 1 nicht kopiert:\nhdd/Zwei.txt: im Ziel ist ein "
                          "Ordner dieses Namens"));
    EXPECT_EQ(FileBytes(Media() / "usb" / "Eins.txt"), FileBytes(Media() / "hdd" / "Eins.txt"));
    EXPECT_EQ(FileBytes(Media() / "usb" / "Drei.txt"), FileBytes(Media() / "hdd" / "Drei.txt"));
    EXPECT_EQ(FileBytes(Media() / "usb" / "Zwei.txt" / "bleibt"), "x");

    const Outcome alone = Job("cp --overwrite", {"hdd/Zwei.txt", "usb/"});
    EXPECT_EQ(alone.status, 1);
    EXPECT_THAT(alone.err, StartsWith("Kopieren fehlgeschlagen:\nim Ziel ist ein Ordner"));
    EXPECT_EQ(FileBytes(Media() / "usb" / "Zwei.txt" / "bleibt"), "x");
}

// cp -L copies what a link points to: the destination holds the data, not
// links back into the source drive.
TEST_F(CliJobOnTheBox, CopiesWhatLinksPointTo) {
    const fs::path hdd = Media() / "hdd";
    fs::create_symlink("Nachrichten.ts", hdd / "Verweis.ts");
    fs::create_directory_symlink("Filme/Serien", hdd / "Verweisordner");

    const Outcome outcome = Job("cp", {"hdd/Verweis.ts", "hdd/Verweisordner", "usb/"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const fs::path file = Media() / "usb" / "Verweis.ts";
    const fs::path folderCopy = Media() / "usb" / "Verweisordner";
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file)));
    EXPECT_EQ(FileBytes(file), FileBytes(hdd / "Nachrichten.ts"));
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(folderCopy)));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folderCopy / "Folge 01.ts")));
    EXPECT_EQ(FileBytes(folderCopy / "Folge 01.ts"),
              FileBytes(hdd / "Filme" / "Serien" / "Folge 01.ts"));
}

// A destination that is no folder would make cp's target a renamed copy;
// a folder into itself would never end. Both are refused before anything
// is sent that changes the box.
TEST_F(CliJobOnTheBox, RefusesAMissingDestinationAndAFolderIntoItself) {
    const Outcome missing = Job("cp", {"hdd/Nachrichten.ts", "usb/Gibt es nicht"});
    EXPECT_NE(missing.status, 0);
    EXPECT_THAT(missing.err, HasSubstr("Kein Ordner auf der Box: usb/Gibt es nicht"));
    EXPECT_FALSE(fs::exists(Media() / "usb" / "Gibt es nicht"));
    EXPECT_FALSE(fs::exists(Media() / "usb" / "Nachrichten.ts"));

    const Outcome itself = Job("mv", {"hdd/Filme", "hdd/Filme/Serien"});
    EXPECT_NE(itself.status, 0);
    EXPECT_THAT(itself.err,
                HasSubstr("Der Ordner hdd/Filme/ lässt sich nicht in sich selbst verschieben."));
    EXPECT_TRUE(fs::exists(Media() / "hdd" / "Filme" / "Spielfilm 1.ts"));
    EXPECT_FALSE(AnyLineHas(BoxCommandsReceived(), "cp -"));
    EXPECT_FALSE(AnyLineHas(BoxCommandsReceived(), "mv -f"));
    EXPECT_FALSE(AnyLineHas(BoxCommandsReceived(), "rm -"));
}

// Runs on a box whose usb drive holds 2048 kB and whose shell has a job of
// its own from the login (see tests/CMakeLists.txt).
using CliJobOnASmallDrive = CliJobOnTheBox;

TEST_F(CliJobOnASmallDrive, RefusesAMoveThatDoesNotFit) {
    const Outcome outcome = Job("mv", {"hdd/Filme/Spielfilm 1.ts", "usb/"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_THAT(outcome.err, AllOf(HasSubstr("Auf usb/ sind nur "),
                                   HasSubstr(" kB frei; gebraucht werden 2.052 kB.")));
    EXPECT_TRUE(fs::exists(Media() / "hdd" / "Filme" / "Spielfilm 1.ts"));
    EXPECT_TRUE(fs::exists(Media() / "hdd" / "Filme" / "Spielfilm 1.crid"));
    EXPECT_FALSE(fs::exists(Media() / "usb" / "Spielfilm 1.ts"));
    EXPECT_FALSE(fs::exists(Media() / "usb" / "Spielfilm 1.crid"));
    const std::vector<std::string> sent = BoxCommandsReceived();
    EXPECT_FALSE(AnyLineHas(sent, "cp -"));
    EXPECT_FALSE(AnyLineHas(sent, "mv -f"));
    EXPECT_FALSE(AnyLineHas(sent, "rm -"));
}

// The copy is the shell's job 2; the CLI ends with it, not with job 1.
TEST_F(CliJobOnASmallDrive, WaitsForItsOwnJobWhileTheShellRunsAnother) {
    const Outcome outcome = Job("cp", {"hdd/Nachrichten.ts", "usb/"}, "");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(FileBytes(Media() / "usb" / "Nachrichten.ts"),
              FileBytes(Media() / "hdd" / "Nachrichten.ts"));
}

// Runs on a box whose cp writes 300 kB/s, whose usb drive holds 4096 kB
// and whose shell has a job of its own from the login (see
// tests/CMakeLists.txt).
class CliSlowJob : public CliJobOnTheBox {
protected:
    static constexpr std::size_t kKB = 1024;

    bool Complete(const fs::path& copy, const fs::path& source) const {
        std::error_code error;
        return fs::file_size(copy, error) == fs::file_size(source, error) &&
               FileBytes(copy) == FileBytes(source);
    }
};

// The free space sufficed when the job started; the drive filled up while
// cp wrote. The recording the copy was to replace stays as it was.
TEST_F(CliSlowJob, ADriveThatFillsUpDuringTheCopyLeavesNoPartialCopy) {
    WriteFile(Media() / "hdd" / "Gross.ts", Pattern(1200 * kKB, 'g'));
    const fs::path copy = Media() / "usb" / "Gross.ts";
    const std::string old = Pattern(300 * kKB, 'o');
    WriteFile(copy, old);
    Start("cp --overwrite", {"hdd/Gross.ts", "usb/"});
    const fs::path part = Media() / "usb" / ".Gross.ts.part";
    ASSERT_TRUE(Eventually([&] { return fs::exists(part); }, std::chrono::seconds(10)));
    {
        std::ofstream filler(Media() / "usb" / "Fueller", std::ios::binary);
        const std::string block(64 * kKB, 'f');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    const Outcome outcome = Wait();
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_THAT(outcome.err, HasSubstr("die unvollständige Kopie wurde entfernt"));
    EXPECT_EQ(FileBytes(copy), old);
    EXPECT_FALSE(fs::exists(fs::symlink_status(part)));
}

// Ctrl-C during the second of three copies: the first stays, the second's
// partial copy goes, the third never starts.
TEST_F(CliSlowJob, CtrlCCancelsTheRunningCopyAndTheRest) {
    const char* names[] = {"Eins.ts", "Zwei.ts", "Drei.ts"};
    for (const char* name : names) {
        WriteFile(Media() / "hdd" / name, Pattern(600 * kKB, name[0]));
    }
    Start("cp", {"hdd/Eins.ts", "hdd/Zwei.ts", "hdd/Drei.ts", "usb/"});
    const fs::path usb = Media() / "usb";
    ASSERT_TRUE(
        Eventually([&] { return fs::exists(usb / ".Zwei.ts.part"); }, std::chrono::seconds(20)));
    ASSERT_EQ(::kill(child_, SIGINT), 0);
    const Outcome outcome = Wait();
    EXPECT_EQ(outcome.status, 130) << outcome.err;
    EXPECT_TRUE(Complete(usb / "Eins.ts", Media() / "hdd" / "Eins.ts"));
    for (const char* left : {"Zwei.ts", ".Zwei.ts.part", "Drei.ts", ".Drei.ts.part"}) {
        EXPECT_FALSE(fs::exists(usb / left)) << left;
    }
}

// With a job of the login's own in the shell, the console returns once the
// copy has really ended, not at the first notice of some job.
TEST_F(CliSlowJob, ReturnsOnlyWhenItsCopyHasEnded) {
    WriteFile(Media() / "hdd" / "Mittel.ts", Pattern(900 * kKB, 'm'));
    const auto started = std::chrono::steady_clock::now();
    const Outcome outcome = Job("cp", {"hdd/Mittel.ts", "usb/"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(Complete(Media() / "usb" / "Mittel.ts", Media() / "hdd" / "Mittel.ts"));
    // 900 kB at 300 kB/s.
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(2500));
}

// The client vanishes mid-copy and telnetd hangs up the shell; the runner
// ignores the hang-up and the box finishes the copy.
TEST_F(CliSlowJob, TheBoxFinishesACopyAfterAHangUp) {
    WriteFile(Media() / "hdd" / "Lang.ts", Pattern(1200 * kKB, 'l'));
    Start("cp", {"hdd/Lang.ts", "usb/"});
    const fs::path copy = Media() / "usb" / "Lang.ts";
    ASSERT_TRUE(Eventually([&] { return fs::exists(Media() / "usb" / ".Lang.ts.part"); },
                           std::chrono::seconds(10)));
    ASSERT_EQ(::kill(child_, SIGKILL), 0);
    Wait();
    EXPECT_FALSE(Complete(copy, Media() / "hdd" / "Lang.ts")) << "the copy was over too soon";
    EXPECT_TRUE(Eventually([&] { return Complete(copy, Media() / "hdd" / "Lang.ts"); },
                           std::chrono::seconds(30)));
}

// The box's telnetd dies while the console follows a job: the console
// connects again by itself and reports the job's end as if nothing had
// happened.
TEST_F(CliSlowJob, TheConsoleFollowsItsJobAcrossADroppedLine) {
    WriteFile(Media() / "hdd" / "Lang.ts", Pattern(1500 * kKB, 'l'));
    const Outcome handed = Job("cp --detach", {"hdd/Lang.ts", "usb/"});
    ASSERT_EQ(handed.status, 0) << handed.err;
    Start("wait", {handed.out.substr(0, handed.out.find('\n'))});
    // the console follows the job once it polls the runner
    const fs::path history = std::getenv("SIMBOX_HISTORY");
    ASSERT_TRUE(Eventually(
        [&] {
            const std::string seen = FileBytes(history);
            return seen.find(" poll ", seen.rfind(" submit ")) != std::string::npos;
        },
        std::chrono::seconds(10)));
    ASSERT_EQ(std::system("pkill -KILL -x telnetd"), 0);
    const Outcome outcome = Wait();
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_THAT(outcome.out + outcome.err, HasSubstr("1 von 1 Eintrag kopiert"));
    EXPECT_TRUE(Complete(Media() / "usb" / "Lang.ts", Media() / "hdd" / "Lang.ts"));
}

}  // namespace
