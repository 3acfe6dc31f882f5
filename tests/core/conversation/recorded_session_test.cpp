// A whole session as the box's shells print it (login, drives, two
// listings, a copy handed to the box's runner and followed to its end),
// replayed with the box's output cut into blocks at every byte and at random
// places: the replies, and so what the panes show and what is sent to the
// box, must never depend on where a slow link cuts the output.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "fake_session.h"

namespace olmira {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct Shell {
    const char* name;
    std::string prompt;
};

void PrintTo(const Shell& shell, std::ostream* out) {
    *out << shell.name;
}

const Shell kShells[] = {
    {"bash", "root@box:~# "},
    {"bash_short", "box:~# "},
    {"busybox", "/ # \x1b[6n"},
    {"bare", "# "},
};

// Where the box's output is cut.
struct Cuts {
    std::size_t at = 0;      // one cut, at this byte of the whole session; 0: none
    std::size_t pieces = 0;  // pieces of this many bytes; 0: none
    std::mt19937* random = nullptr;
};

struct Outcome {
    std::vector<std::string> sent;
    std::vector<std::string> source;
    std::vector<std::string> destination;
    std::vector<std::string> questions;
    std::string status;
    std::string sourceFree;
    std::string destinationFree;

    bool operator==(const Outcome&) const = default;
};

// What the runner says to a line, by a word in it: it is there, takes the job
// as number 7 and has done it by the first poll.
const std::pair<const char*, const char*> kRunnerSays[] = {
    {"olmirafm-ready", "olmirafm-ready\r\n"},
    {" submit ", "olmirafm-submitted 7\r\n"},
    {" poll ",
     "olmirafm-job 7 ended\r\nolmirafm-status 1 run\r\nolmirafm-status 1 done\r\n"
     "olmirafm-status end\r\n"},
    {" clear ", "olmirafm-cleared 7\r\n"},
};

class Replay : private FakeSession {
public:
    Replay(const Shell& shell, Cuts cuts) : shell_(shell), cuts_(cuts) {
        settings.olmira_Host = "box";
        settings.olmira_User = "root";
        settings.olmira_Pass = "olmira";
        settings.progress_min_size = 1000000;
        window.answerYes = true;
    }

    Outcome Run() {
        LogIn();
        session.ChooseDrive(Source, "hdd/");
        Box("ls -1Aps /var/media/hdd/\r\ntotal 24\r\n" + Entry("4", "Serie #1/") +
            Entry("8", "box:~# x.ts") + Entry("8", "Folge 1 .ts ") + Entry("4", "# ") +
            Entry("8", "/ # \x1b[6n.ts") + Prompt());
        session.ChooseDrive(Destination, "usb/");
        FreeSpace("hdd", "30832548  18187456  11082900  63%");
        Box("ls -1Aps /var/media/usb/\r\ntotal 8\r\n" + Entry("8", "box:~# x.ts") + Prompt());
        FreeSpace("usb", "900000      1000    899000   1%");

        window.SelectEntry(Source, "box:~# x.ts");
        copy.tbCopyFileClick();
        Box("du -sklL \"/var/media/hdd/box:~# x.ts\"; echo olmirafm-du\r\n8\t/var/media/hdd/box:~# "
            "x.ts\r\nolmirafm-du\r\n" +
            Prompt());
        Box("df -k /var/media/usb/\r\nFilesystem           1K-blocks      Used Available Use% "
            "Mounted on\r\n/dev/sdb1               900000      1000    899000   1% "
            "/var/media/usb\r\n" +
            Prompt());
        Box("cat /proc/mounts\r\n/dev/sdb1 /var/media/usb ext4 rw 0 0\r\n" + Prompt());
        Runner();  // takes the job
        Fire(JobFollower::kQuietPollMs);
        Runner();  // has done it
        Fire(JobFollower::kSettleMs);
        Box("ls -1Aps /var/media/usb/\r\ntotal 16\r\n" + Entry("8", "box:~# x.ts") +
            Entry("8", "neu # 2.ts") + Prompt());
        FreeSpace("usb", "900000      1008    898992   1%");
        return Result();
    }

    // The bytes the box said; a job's token makes them vary a little.
    std::size_t Bytes() const { return offset_; }

private:
    std::string Prompt() const { return shell_.prompt; }

    // The runner's answers, until a line of another kind waits for its reply.
    void Runner() {
        while (conversation.ReplyOutstanding() &&
               channel.sent.back().find("olmirafm") != std::string::npos) {
            const std::string& line = channel.sent.back();
            std::string said;
            for (const auto& [word, lines] : kRunnerSays) {
                said = line.find(word) != std::string::npos ? lines : said;
            }
            Box(line + "\r\n" + said + Prompt());
        }
    }

    static std::string Entry(const std::string& size, const std::string& name) {
        return "   " + size + " " + name + "\r\n";
    }

    // The df that follows each listing.
    void FreeSpace(const std::string& drive, const std::string& figures) {
        Box("df -k /var/media/" + drive +
            "/\r\nFilesystem           1K-blocks      Used Available "
            "Use% Mounted on\r\n/dev/sda1             " +
            figures + " /var/media/" + drive + "\r\n" + Prompt());
    }

    void LogIn() {
        session.tbConnectClick();
        channel.FinishConnect();
        Box("\r\nOlmira box\r\n\r\nbox login: ");
        Quiet();
        Box("root\r\nPassword: ");
        Quiet();
        Box("\r\n\r\nBusyBox v1.35.0 built-in shell (ash)\r\n\r\n" + Prompt());
        Quiet();
        Box("ls -1A /var/media\r\nPC1\r\nhdd\r\nusb\r\n" + Prompt());
        Quiet();
    }

    // The box says text, in blocks cut as the replay asks.
    void Box(const std::string& text) {
        std::size_t from = 0;
        while (from < text.size()) {
            const std::size_t length = NextBlock(text.size() - from);
            session.TelnetDataAvailable(text.substr(from, length));
            from += length;
            offset_ += length;
        }
    }

    std::size_t NextBlock(std::size_t left) {
        if (cuts_.pieces != 0) {
            return std::min(left, cuts_.pieces);
        }
        if (cuts_.random != nullptr) {
            return std::uniform_int_distribution<std::size_t>(1, left)(*cuts_.random);
        }
        if (cuts_.at > offset_ && cuts_.at < offset_ + left) {
            return cuts_.at - offset_;
        }
        return left;
    }

    // The box keeps quiet long enough for the next login step.
    void Quiet() {
        for (int tick = 0; tick < 4 && window.timerRunning; ++tick) {
            clock.now += 250;
            session.TimerTimer();
        }
    }

    void Fire(int milliseconds) {
        ASSERT_EQ(window.copyTimerMs, milliseconds);
        window.copyTimerMs.reset();
        copy.CopyTimerTimer();
    }

    static std::vector<std::string> Captions(const EntryList& entries) {
        std::vector<std::string> captions;
        for (const ListEntry& entry : entries) {
            captions.push_back(entry.caption);
        }
        return captions;
    }

    // Each job has a token of its own, made of digits: the lines for the
    // runner are compared without their numbers.
    std::vector<std::string> SentWithoutToken() const {
        static const std::regex kNumber("[0-9]+");
        std::vector<std::string> sent = channel.sent;
        for (std::string& line : sent) {
            if (line.find("olmirafm") != std::string::npos) {
                line = std::regex_replace(line, kNumber, "#");
            }
        }
        return sent;
    }

    Outcome Result() {
        return {SentWithoutToken(),
                Captions(*window.View(Source).entries),
                Captions(*window.View(Destination).entries),
                window.questions,
                window.statusTexts.back(),
                window.View(Source).freeSpace,
                window.View(Destination).freeSpace};
    }

    const Shell& shell_;
    Cuts cuts_;
    std::size_t offset_ = 0;
};

class RecordedSession : public ::testing::TestWithParam<Shell> {};

TEST_P(RecordedSession, RepliesDoNotDependOnWhereTheOutputIsCut) {
    const Shell& shell = GetParam();
    Replay first(shell, {});
    const Outcome whole = first.Run();
    EXPECT_THAT(
        whole.sent,
        ElementsAre("root", "olmira", "ls -1A /var/media", "ls -1Aps /var/media/hdd/",
                    "df -k /var/media/hdd/", "ls -1Aps /var/media/usb/", "df -k /var/media/usb/",
                    "du -sklL \"/var/media/hdd/box:~# x.ts\"; echo olmirafm-du",
                    "df -k /var/media/usb/", "cat /proc/mounts", HasSubstr("olmirafm-ready"),
                    HasSubstr("box:~# x.ts"), HasSubstr(" submit "), HasSubstr(" poll "),
                    HasSubstr(" clear "), "ls -1Aps /var/media/usb/", "df -k /var/media/usb/"));
    EXPECT_THAT(whole.source, ElementsAre("./", "Serie #1/", "box:~# x.ts", "Folge 1 .ts ", "# ",
                                          "/ # \x1b[6n.ts"));
    EXPECT_THAT(whole.destination, ElementsAre("./", "box:~# x.ts", "neu # 2.ts"));
    EXPECT_THAT(whole.questions,
                ElementsAre("box:~# x.ts ist im Ziel schon vorhanden. Überschreiben?"));
    EXPECT_EQ(whole.status, "Bereit...");
    EXPECT_EQ(whole.sourceFree, "frei: 10,6 GB");
    EXPECT_EQ(whole.destinationFree, "frei: 877,9 MB");

    for (std::size_t at = 1; at < first.Bytes(); ++at) {
        ASSERT_EQ(Replay(shell, {.at = at}).Run(), whole) << shell.name << ", cut at byte " << at;
    }
    ASSERT_EQ(Replay(shell, {.pieces = 1}).Run(), whole) << shell.name << ", one-byte pieces";
    std::mt19937 random(20261208);
    for (int run = 0; run < 200; ++run) {
        ASSERT_EQ(Replay(shell, {.random = &random}).Run(), whole)
            << shell.name << ", random cuts, run " << run;
    }
}

INSTANTIATE_TEST_SUITE_P(Shells, RecordedSession, ::testing::ValuesIn(kShells),
                         [](const auto& shell) { return std::string(shell.param.name); });

}  // namespace
}  // namespace olmira
