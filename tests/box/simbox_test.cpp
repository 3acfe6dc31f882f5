#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "bare_telnet.h"
#include "simbox_env.h"

namespace olmira::test {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAreArray;
using ::testing::Gt;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;
using ::testing::Le;
using ::testing::Not;
using ::testing::StartsWith;
namespace fs = std::filesystem;

class Simbox : public SimboxTest {
protected:
    void SetUp() override {
        SimboxTest::SetUp();
        media_ = Box().mediaPath;
    }

    fs::path media_;
};

// Each line the shell ran is in the history by the time its reply is back,
// once: a line sent twice is there twice, an empty line not at all.
TEST_F(Simbox, HistoryHoldsEachCommandLineOnceAsItRan) {
    const std::vector<std::string> commands = {
        "ls -1Aps /var/media/hdd/Filme/",
        "echo \"a!b\"  two   spaces",
        "echo \"a!b\"  two   spaces",
        "",
        "cp -r \"/var/media/hdd/Leer\" \"/var/media/usb\" &",
        "",
    };
    const auto earlier = BoxCommandsReceived().size();
    BareTelnet box;
    LogIn(box, Box().user, Box().password);
    std::vector<std::string> expected;
    for (const auto& command : commands) {
        SCOPED_TRACE(command);
        const auto reply = ReplyLines(box, command);
        if (!command.empty()) {
            expected.push_back(command);
        }
        EXPECT_EQ(BoxCommandsReceived().size(), earlier + expected.size());
        if (command.starts_with("echo")) {
            EXPECT_THAT(reply, Contains("a!b two spaces"));
        }
    }
    box.SendLine("exit");
    box.ReadToEnd();

    expected.push_back("exit");
    const auto received = BoxCommandsReceived();
    ASSERT_GE(received.size(), earlier);
    EXPECT_THAT(
        std::vector(received.begin() + static_cast<std::ptrdiff_t>(earlier), received.end()),
        ElementsAreArray(expected));
}

TEST_F(Simbox, BackgroundCopyEndsWithTheJobNotice) {
    BareTelnet box;
    LogIn(box, Box().user, Box().password);
    const auto endsTheJob = [](const std::vector<std::string>& reply) {
        return std::any_of(reply.begin(), reply.end(),
                           [](const std::string& line) { return line.starts_with("[1]+  Done"); });
    };
    // A copy that ends before the shell's next prompt is reported with the
    // reply to its own line.
    bool done = endsTheJob(ReplyLines(box, "cp -r \"/var/media/hdd/Filme\" \"/var/media/usb\" &"));
    for (int listing = 0; listing < 50 && !done; ++listing) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        done = endsTheJob(ReplyLines(box, "ls -1A \"/var/media/usb/Filme\""));
    }

    EXPECT_TRUE(done);
    EXPECT_EQ(fs::file_size(media_ / "usb/Filme/Spielfilm 1.ts"),
              fs::file_size(media_ / "hdd/Filme/Spielfilm 1.ts"));
}

// Each entry under `root` with its size and allocated blocks, sorted.
std::vector<std::string> Tree(const fs::path& root) {
    std::vector<std::string> entries;
    if (!fs::exists(root)) {
        return entries;
    }
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat status {};
        ::lstat(entry.path().c_str(), &status);
        const auto name = entry.path().lexically_relative(root).string();
        entries.push_back(entry.is_directory() ? name + "/"
                                               : name + " " + std::to_string(status.st_size) + " " +
                                                     std::to_string(status.st_blocks));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

struct CopyOutcome {
    int status = -1;
    std::string errors;
};

// Runs `commandLine` with the box's commands on PATH.
CopyOutcome RunWithBoxTools(const std::string& commandLine, const fs::path& errors) {
    const std::string path = FindSimbox().value_or(SimboxEnv{}).toolsPath;
    const int status = std::system(
        ("PATH='" + path + "' " + commandLine + " 2>'" + errors.string() + "'").c_str());
    std::ifstream text(errors);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            std::string(std::istreambuf_iterator<char>(text), {})};
}

TEST_F(Simbox, SlowCopyLeavesWhatCpLeaves) {
    const std::string slowCp = "SIMBOX_CP_RATE=20000 " OLMIRAFM_SOURCE_DIR "/tools/simbox-cp";
    const struct {
        std::string source, destination;
    } copies[] = {
        {"hdd/Filme", "usb"},                       // folder into a folder
        {"hdd/Nachrichten.ts", "usb"},              // file into a folder
        {"hdd/Filme/Serien/", "usb/Serien neu"},    // folder to a new name
        {"hdd/Dokus/Wälder im Herbst.ts", "x.ts"},  // file to a new name
        {"hdd/Leer", "usb"},                        // empty folder
        {"hdd/Fehlt", "usb"},                       // missing source
    };
    for (const auto& copy : copies) {
        SCOPED_TRACE(copy.source + " -> " + copy.destination);
        const auto plainRoot = media_ / "plain";
        const auto slowRoot = media_ / "slow";
        for (const auto& root : {plainRoot, slowRoot}) {
            fs::remove_all(root);
            fs::create_directories(root / "usb");
        }
        const auto arguments = [&](const fs::path& root) {
            return " -r '" + (media_ / copy.source).string() + "' '" +
                   (root / copy.destination).string() + "'";
        };

        const CopyOutcome plain =
            RunWithBoxTools("cp" + arguments(plainRoot), media_ / "plain.err");
        const CopyOutcome slow = RunWithBoxTools(slowCp + arguments(slowRoot), media_ / "slow.err");

        EXPECT_EQ(slow.status, plain.status);
        EXPECT_EQ(slow.errors, plain.errors);
        EXPECT_EQ(Tree(slowRoot), Tree(plainRoot));
    }
}

// A number the box was started with, such as --relay's; 0 without it.
int BoxOption(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0' ? std::stoi(value) : 0;
}

// tools/simbox-relay in front of the box's Telnet service, its input and
// output the far end of a socket that keeps each write a piece of its own.
class RelayProcess {
public:
    explicit RelayProcess(std::size_t bytes) {
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
            throw std::runtime_error("no socket pair for the relay");
        }
        const std::string size = std::to_string(bytes);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setpgid(0, 0);
            ::dup2(ends[1], STDIN_FILENO);
            ::dup2(ends[1], STDOUT_FILENO);
            ::execl(kRelay, kRelay, size.c_str(), "23", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(ends[1]);
        socket_ = ends[0];
    }
    ~RelayProcess() {
        if (socket_ >= 0) {
            ::close(socket_);
        }
        // The relay is a pipeline; all of it goes.
        ::kill(-pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    RelayProcess(const RelayProcess&) = delete;
    RelayProcess& operator=(const RelayProcess&) = delete;

    int TakeSocket() { return std::exchange(socket_, -1); }

private:
    static constexpr const char* kRelay = OLMIRAFM_SOURCE_DIR "/tools/simbox-relay";
    pid_t pid_ = -1;
    int socket_ = -1;
};

// Runs on a box started with --relay and --slow-ls (see tests/CMakeLists.txt).
class SimboxOptions : public Simbox {
protected:
    void SetUp() override {
        Simbox::SetUp();
        relayBytes_ = static_cast<std::size_t>(BoxOption("SIMBOX_RELAY"));
        lsDelay_ = std::chrono::milliseconds(BoxOption("SIMBOX_LS_DELAY"));
        ASSERT_GT(relayBytes_, 0u) << "a box without --relay";
        ASSERT_GT(lsDelay_.count(), 0) << "a box without --slow-ls";
    }

    std::size_t relayBytes_ = 0;
    std::chrono::milliseconds lsDelay_{};
};

TEST_F(SimboxOptions, RelayPassesTheBoxsOutputOnIntact) {
    const std::string line(300, 'x');
    BareTelnet box;
    LogIn(box, Box().user, Box().password);
    const auto reply = ReplyLines(box, "echo " + line + "; ls -1A /var/media");

    EXPECT_THAT(reply, Contains(line));
    EXPECT_THAT(reply, IsSupersetOf({"hdd", "usb"}));
}

// The relay's far end on a socket that keeps each of its writes apart, so
// that its pieces are seen as it wrote them, however late they are read.
TEST_F(SimboxOptions, RelayWritesPiecesOfAtMostItsSize) {
    RelayProcess relay(relayBytes_);
    BareTelnet box(relay.TakeSocket());
    LogIn(box, Box().user, Box().password);
    const std::string line(300, 'x');

    EXPECT_THAT(ReplyLines(box, "echo " + line), Contains(line));
    EXPECT_THAT(box.Pieces(), Each(AllOf(Gt(0u), Le(relayBytes_))));
}

TEST_F(SimboxOptions, SlowLsWaitsThenListsAsTheBoxsOwnLs) {
    BareTelnet box;
    LogIn(box, Box().user, Box().password);

    const auto started = std::chrono::steady_clock::now();
    const auto drives = ReplyLines(box, "ls -1A /var/media");
    EXPECT_GE(std::chrono::steady_clock::now() - started, lsDelay_);
    EXPECT_THAT(drives, IsSupersetOf({"hdd", "usb"}));

    const std::string missing = "(cd /var/media && ls Fehlt); echo \"status $?\"";
    const auto reply = ReplyLines(box, missing);
    const CopyOutcome plain =
        RunWithBoxTools("sh -c 'cd \"" + media_.string() + "\" && ls Fehlt'", media_ / "ls.err");
    ASSERT_NE(plain.status, 0);
    ASSERT_TRUE(plain.errors.ends_with('\n'));
    EXPECT_THAT(reply, Contains(plain.errors.substr(0, plain.errors.size() - 1)));
    EXPECT_THAT(reply, Contains("status " + std::to_string(plain.status)));

    // What CMD runs as the box's ls is the box's own, without the wait.
    const CopyOutcome found = RunWithBoxTools(
        "sh -c 'command -v ls' >'" + (media_ / "ls.path").string() + "'", media_ / "which.err");
    std::ifstream pathFile(media_ / "ls.path");
    std::string lsPath;
    std::getline(pathFile, lsPath);
    ASSERT_EQ(found.status, 0) << found.errors;
    EXPECT_NE(fs::canonical(lsPath), fs::canonical(OLMIRAFM_SOURCE_DIR "/tools/simbox-ls"));
}

// The whitespace-separated fields of `line`.
std::vector<std::string> Fields(const std::string& line) {
    std::istringstream text(line);
    return {std::istream_iterator<std::string>(text), {}};
}

// Runs on a box started with --drive-size and --login-job (see
// tests/CMakeLists.txt).
class SimboxDriveAndJob : public Simbox {
protected:
    void SetUp() override {
        Simbox::SetUp();
        const char* sizes = std::getenv("SIMBOX_DRIVE_SIZES");
        const char* job = std::getenv("SIMBOX_LOGIN_JOB");
        ASSERT_TRUE(sizes != nullptr && *sizes != '\0') << "a box without --drive-size";
        ASSERT_TRUE(job != nullptr && *job != '\0') << "a box without --login-job";
        std::string first = sizes;
        first = first.substr(0, first.find('\n'));
        const auto colon = first.rfind(':');
        drive_ = first.substr(0, colon);
        driveKb_ = std::stoi(first.substr(colon + 1));
        loginJob_ = job;
    }

    std::string drive_;
    int driveKb_ = 0;
    std::string loginJob_;
};

TEST_F(SimboxDriveAndJob, SizedDriveHoldsItsSizeForBoxAndTestAlike) {
    const std::string boxDrive = "/var/media/" + drive_;
    const fs::path ownDrive = media_ / drive_;
    ASSERT_FALSE(fs::is_empty(ownDrive)) << "the drive's files are missing";
    BareTelnet box;
    LogIn(box, Box().user, Box().password);

    int boxTotalKb = -1;
    for (const auto& line : ReplyLines(box, "df -k " + boxDrive)) {
        const auto fields = Fields(line);
        if (fields.size() >= 6 && fields.back() == boxDrive) {
            boxTotalKb = std::stoi(fields[1]);
        }
    }
    // tmpfs rounds its size up to whole pages.
    EXPECT_NEAR(boxTotalKb, driveKb_, 4);
    struct statvfs ownView {};
    ASSERT_EQ(::statvfs(ownDrive.c_str(), &ownView), 0);
    EXPECT_NEAR(static_cast<int>(ownView.f_blocks * ownView.f_frsize / 1024), driveKb_, 4);

    const auto reply =
        ReplyLines(box, "dd if=/dev/zero of=" + boxDrive + "/Voll.ts bs=1024 count=" +
                            std::to_string(driveKb_ + 1024) + " 2>&1; echo \"status $?\"");
    EXPECT_THAT(reply, Contains(HasSubstr("No space left on device")));
    EXPECT_THAT(reply, Not(Contains("status 0")));
    // What the box wrote, the test sees, up to where the drive was full.
    ASSERT_TRUE(fs::exists(ownDrive / "Voll.ts"));
    EXPECT_GT(fs::file_size(ownDrive / "Voll.ts"), 0u);
    EXPECT_LT(fs::file_size(ownDrive / "Voll.ts"), static_cast<std::uintmax_t>(driveKb_) * 1024);
}

TEST_F(SimboxDriveAndJob, LoginJobIsJobOneSoTheNextJobIsTwo) {
    BareTelnet box;
    LogIn(box, Box().user, Box().password);

    EXPECT_THAT(ReplyLines(box, "jobs"), Contains(AllOf(StartsWith("[1]"), HasSubstr(loginJob_))));
    EXPECT_THAT(ReplyLines(box, "sleep 1 & jobs %+"),
                Contains(AllOf(StartsWith("[2]"), HasSubstr("sleep 1"))));
}

}  // namespace
}  // namespace olmira::test
