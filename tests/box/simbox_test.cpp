#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
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

#include "simbox_env.h"

namespace olmira::test {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;
using ::testing::Not;
using ::testing::StartsWith;
namespace fs = std::filesystem;

// Just enough Telnet to reach the box's shell: every option the box offers or
// asks for is refused, and command sequences are kept out of the text.
class BareTelnet {
public:
    BareTelnet() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in box{};
        box.sin_family = AF_INET;
        box.sin_port = htons(23);
        box.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (socket_ < 0 || ::connect(socket_, reinterpret_cast<sockaddr*>(&box), sizeof box) != 0) {
            ::close(socket_);
            throw std::runtime_error("no box on 127.0.0.1:23");
        }
    }
    ~BareTelnet() { ::close(socket_); }
    BareTelnet(const BareTelnet&) = delete;
    BareTelnet& operator=(const BareTelnet&) = delete;

    void SendLine(const std::string& line) { Send(line + "\r\n"); }

    // The text up to and including `marker`; what follows waits for the next read.
    std::string ReadUntil(const std::string& marker) {
        std::size_t found;
        while ((found = text_.find(marker)) == std::string::npos) {
            if (!ReceiveSome()) {
                throw std::runtime_error("the box never sent \"" + marker + "\", only: " + text_);
            }
        }
        const auto end = found + marker.size();
        std::string head = text_.substr(0, end);
        text_.erase(0, end);
        return head;
    }

    // Everything until the box closes the connection.
    std::string ReadToEnd() {
        while (ReceiveSome()) {
        }
        return std::exchange(text_, {});
    }

    // The size of each receive so far, Telnet commands included.
    const std::vector<std::size_t>& Pieces() const { return pieces_; }

private:
    enum Byte : unsigned char {
        SE = 240,
        SB = 250,
        WILL = 251,
        WONT = 252,
        DO = 253,
        DONT = 254,
        IAC = 255
    };
    enum class Parse { Text, Command, Option, Subnegotiation, SubnegotiationEnd };

    // False when the box has closed the connection or stayed silent too long.
    bool ReceiveSome() {
        pollfd ready{socket_, POLLIN, 0};
        if (::poll(&ready, 1, 10'000) != 1) {
            return false;
        }
        char block[4096];
        const auto received = ::recv(socket_, block, sizeof block, 0);
        if (received > 0) {
            pieces_.push_back(static_cast<std::size_t>(received));
        }
        for (ssize_t i = 0; i < received; ++i) {
            Absorb(static_cast<unsigned char>(block[i]));
        }
        return received > 0;
    }

    void Absorb(unsigned char byte) {
        switch (parse_) {
            case Parse::Text:
                if (byte == IAC) {
                    parse_ = Parse::Command;
                } else {
                    text_ += static_cast<char>(byte);
                }
                break;
            case Parse::Command:
                command_ = byte;
                parse_ = byte == SB                     ? Parse::Subnegotiation
                         : byte >= WILL && byte <= DONT ? Parse::Option
                                                        : Parse::Text;
                break;
            case Parse::Option:
                Refuse(byte);
                parse_ = Parse::Text;
                break;
            case Parse::Subnegotiation:
                parse_ = byte == IAC ? Parse::SubnegotiationEnd : Parse::Subnegotiation;
                break;
            case Parse::SubnegotiationEnd:
                parse_ = byte == SE ? Parse::Text : Parse::Subnegotiation;
                break;
        }
    }

    void Refuse(unsigned char option) {
        if (command_ == WILL || command_ == DO) {
            const unsigned char refusal = command_ == WILL ? DONT : WONT;
            Send(std::string{static_cast<char>(IAC), static_cast<char>(refusal),
                             static_cast<char>(option)});
        }
    }

    void Send(const std::string& bytes) {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const auto written =
                ::send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (written <= 0) {
                throw std::runtime_error("the box closed the connection");
            }
            sent += static_cast<std::size_t>(written);
        }
    }

    int socket_;
    std::string text_;
    std::vector<std::size_t> pieces_;
    Parse parse_ = Parse::Text;
    unsigned char command_ = 0;
};

std::string Prompt() {
    return FindSimbox().value_or(SimboxEnv{}).Prompt();
}

void LogIn(BareTelnet& box, const std::string& user, const std::string& password) {
    box.ReadUntil("login: ");
    box.SendLine(user);
    box.ReadUntil("Password: ");
    box.SendLine(password);
    box.ReadUntil(Prompt());
}

// The reply's lines before the next prompt.
std::vector<std::string> ReplyLines(BareTelnet& box, const std::string& commandLine) {
    box.SendLine(commandLine);
    const std::string reply = box.ReadUntil(Prompt());
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = reply.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(reply.substr(start, end - start));
    }
    return lines;
}

class Simbox : public SimboxTest {
protected:
    void SetUp() override {
        SimboxTest::SetUp();
        media_ = Box().mediaPath;
    }

    fs::path media_;
};

TEST_F(Simbox, RightLoginReachesThePromptAndListsTheDrives) {
    BareTelnet box;
    LogIn(box, Box().user, Box().password);

    EXPECT_THAT(ReplyLines(box, "ls -1A /var/media"), IsSupersetOf({"hdd", "usb"}));
}

TEST_F(Simbox, WrongLoginIsRefused) {
    const struct {
        std::string user, password;
    } logins[] = {{Box().user, Box().password + "x"}, {Box().user + "x", Box().password}};
    for (const auto& login : logins) {
        SCOPED_TRACE(login.user + " / " + login.password);
        BareTelnet box;
        box.ReadUntil("login: ");
        box.SendLine(login.user);
        box.ReadUntil("Password: ");
        box.SendLine(login.password);

        const std::string rest = box.ReadToEnd();

        EXPECT_THAT(rest, HasSubstr("Login incorrect"));
        EXPECT_THAT(rest, Not(HasSubstr("# ")));
    }
}

TEST_F(Simbox, HistoryHoldsEachCommandLineAsReceived) {
    const std::vector<std::string> commands = {
        "ls -1Aps /var/media/hdd/Filme/",
        "echo \"a!b\"  two   spaces",
        "ls -1Aps \"/var/media/hdd/Dokus/Wälder im Herbst.ts\"",
        "cp -r \"/var/media/hdd/Leer\" \"/var/media/usb\" &",
        "tail -n 1 \"" + Box().historyPath + "\"",  // kept before it runs
    };
    const auto earlier = BoxCommandsReceived().size();
    BareTelnet box;
    LogIn(box, Box().user, Box().password);
    std::vector<std::vector<std::string>> replies;
    for (const auto& command : commands) {
        replies.push_back(ReplyLines(box, command));
    }
    box.SendLine("exit");
    box.ReadToEnd();

    auto expected = commands;
    expected.push_back("exit");
    const auto received = BoxCommandsReceived();
    ASSERT_GE(received.size(), earlier);
    EXPECT_THAT(
        std::vector(received.begin() + static_cast<std::ptrdiff_t>(earlier), received.end()),
        ElementsAreArray(expected));
    EXPECT_THAT(replies[1], Contains("a!b two spaces"));
    EXPECT_THAT(replies[2], Contains(HasSubstr(Box().Shown("Wälder im Herbst.ts"))));
    EXPECT_THAT(replies[4], Contains(commands[4]));
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

TEST_F(SimboxOptions, RelayPassesTheBoxsOutputOnInSmallPiecesIntact) {
    const std::string line(300, 'x');
    BareTelnet box;
    LogIn(box, Box().user, Box().password);
    const auto reply = ReplyLines(box, "echo " + line + "; ls -1A /var/media");

    EXPECT_THAT(reply, Contains(line));
    EXPECT_THAT(reply, IsSupersetOf({"hdd", "usb"}));
    // A reader the scheduler holds back for longer than the relay's pause
    // takes two pieces at once, as it would behind a real link; without the
    // pause, or with Nagle gathering the writes, about every other read does.
    const auto& pieces = box.Pieces();
    const auto oversized = std::count_if(pieces.begin(), pieces.end(),
                                         [this](std::size_t size) { return size > relayBytes_; });
    EXPECT_LE(static_cast<std::size_t>(oversized), pieces.size() / 50)
        << oversized << " of " << pieces.size() << " receives beyond " << relayBytes_ << " bytes";
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
