// The job runner as the box runs it: its own sh and tools, a cp writing at
// kRate kB/s, and (see tests/CMakeLists.txt) a usb drive of 2048 kB.
#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "box_runners.h"
#include "eventually.h"
#include "file_bytes.h"
#include "jobs/runner_script.h"
#include "simbox_env.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using olmira::test_support::Eventually;
using olmira::test_support::FileBytes;
using olmira::test_support::Pattern;
using olmira::test_support::Runners;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;
using ::testing::Key;
using ::testing::Not;
using ::testing::Pair;
using ::testing::StartsWith;
using namespace std::chrono_literals;

constexpr int kRate = 2000;
constexpr std::size_t kKB = 1024;
const fs::path kMedia = "/var/media";

void WriteFile(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// path as the program writes a shell word: in double quotes.
std::string Word(const std::string& path) {
    std::string word = "\"";
    for (const char c : path) {
        word += std::string(c == '$' || c == '`' || c == '"' || c == '\\' ? "\\" : "") + c;
    }
    return word + "\"";
}

// Each file under root by its path below root, "/" for a folder; links
// followed, as the runner copies them.
std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> tree;
    for (const auto& entry :
         fs::recursive_directory_iterator(root, fs::directory_options::follow_directory_symlink)) {
        tree[entry.path().lexically_relative(root).string()] =
            entry.is_directory() ? "/" : FileBytes(entry.path());
    }
    return tree;
}

// Tree with each file's bytes as their size and hash, short enough to read
// in a failure's message.
std::string Sum(const std::string& bytes) {
    return std::to_string(bytes.size()) + " bytes #" +
           std::to_string(std::hash<std::string>{}(bytes));
}

std::map<std::string, std::string> Sums(const fs::path& root) {
    std::map<std::string, std::string> sums;
    for (auto& [path, bytes] : Tree(root)) {
        sums[path] = Sum(bytes);
    }
    return sums;
}

struct Poll {
    std::string state;
    std::vector<std::string> statuses;
    long progressKB = -1;
};

// Each entry's last status line, in the entries' order, and "end" once the
// job ended: files copied together are all running before the first is done.
std::vector<std::string> Outcomes(const std::vector<std::string>& statuses) {
    std::map<int, std::string> last;
    std::vector<std::string> outcomes;
    for (const std::string& line : statuses) {
        if (line == "end") {
            continue;
        }
        last[std::atoi(line.c_str())] = line;
    }
    for (auto& [entry, line] : last) {
        outcomes.push_back(std::move(line));
    }
    if (!statuses.empty() && statuses.back() == "end") {
        outcomes.emplace_back("end");
    }
    return outcomes;
}

class BoxRunner : public olmira::test::SimboxTest {
protected:
    void SetUp() override {
        SimboxTest::SetUp();
        fs::create_directories("/tmp/olmirafm");
        std::ofstream(script_, std::ios::binary) << olmira::RunnerScript();
        fs::create_symlink(OLMIRAFM_SOURCE_DIR "/tools/simbox-cp", slowCp_.File("cp"));
    }

    std::vector<std::string> Run(const std::string& arguments) {
        const std::string command = "env PATH=" + slowCp_.Path() + ":" + Box().toolsPath +
                                    " SIMBOX_CP_RATE=" + std::to_string(kRate) + " sh " + script_ +
                                    " " + arguments;
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> pipe(::popen(command.c_str(), "r"),
                                                             ::pclose);
        std::vector<std::string> lines(1);
        for (int c; pipe && (c = std::fgetc(pipe.get())) != EOF;) {
            if (c == '\n') {
                lines.emplace_back();
            } else {
                lines.back().push_back(static_cast<char>(c));
            }
        }
        lines.pop_back();
        return lines;
    }

    // Submits a job of entries ("OP WORD") to dest; returns its number.
    int Submit(const std::string& mode, const fs::path& dest,
               const std::vector<std::string>& entries) {
        std::string job = "token pc-1\nmode " + mode + "\ndest " + Word(dest.string() + "/") + "\n";
        for (const std::string& entry : entries) {
            job += "entry " + entry + "\n";
        }
        WriteFile("/tmp/olmirafm/new.job", job);
        const auto said = Run("submit /tmp/olmirafm/new.job");
        EXPECT_THAT(said, ElementsAre(HasSubstr("olmirafm-submitted ")));
        return said.empty() ? 0 : std::atoi(said[0].c_str() + 19);
    }

    Poll PollJob(int job) {
        Poll poll;
        for (const std::string& line : Run("poll " + std::to_string(job))) {
            if (line.starts_with("olmirafm-job ")) {
                poll.state = line.substr(line.rfind(' ') + 1);
            } else if (line.starts_with("olmirafm-status ")) {
                poll.statuses.push_back(line.substr(16));
            } else if (line.starts_with("olmirafm-progress ")) {
                poll.progressKB = std::stol(line.substr(18));
            }
        }
        return poll;
    }

    // Waits until job is in state; each look also checks that no more
    // than one runner works.
    Poll Await(int job, const std::string& state, std::chrono::milliseconds patience = 20s) {
        Poll poll;
        Eventually(
            [&] {
                EXPECT_LE(Runners().size(), 1u);
                poll = PollJob(job);
                return poll.state == state;
            },
            patience);
        EXPECT_EQ(poll.state, state) << "job " << job;
        return poll;
    }

    const std::string script_ =
        "/tmp/olmirafm/runner-" + std::string(olmira::RunnerVersion()) + ".sh";
    olmira::test_support::TempFolder slowCp_;
};

// Quotes, "$", "`", backslashes, blanks, a byte the job names by "?", and a
// folder with a link in it.
std::vector<std::string> AwkwardEntries(const std::string& op, const fs::path& folder,
                                        std::size_t size) {
    WriteFile(folder / "a \"b\" $c `d` \\e 'f'.ts", Pattern(size, 'a'));
    WriteFile(folder / "K\xe4se.ts", Pattern(3000, 'k'));
    WriteFile(folder / "Ordner $(x)" / "innen" / "c;d.ts", "inhalt");
    fs::create_symlink("innen/c;d.ts", folder / "Ordner $(x)" / "verweis.ts");
    return {op + " " + Word((folder / "a \"b\" $c `d` \\e 'f'.ts").string()),
            op + " " + Word((folder / "K").string()) + "?" + Word("se.ts"),
            op + " " + Word((folder / "Ordner $(x)").string())};
}

// Three jobs back to back: one runner takes them in turn. A copy and a move
// across drives arrive whole; an overwrite that does not fit leaves the old
// file as it was.
TEST_F(BoxRunner, RunsJobsInTurnAndReplacesOnlyWithWholeCopies) {
    const fs::path copied = kMedia / "hdd/Runner/Kopieren", moved = kMedia / "hdd/Runner/Bewegen";
    const fs::path into = kMedia / "hdd/Kopie", usb = kMedia / "usb";
    fs::create_directories(into);
    WriteFile(usb / "Alt.ts", Pattern(200 * kKB, 'o'));
    WriteFile(kMedia / "hdd/Alt.ts", Pattern(1000 * kKB, 'n'));
    const auto copying = AwkwardEntries("cp", copied, 2000 * kKB);
    const auto moving = AwkwardEntries("mv", moved, 100 * kKB);
    auto expectedOnUsb = Tree(usb);
    expectedOnUsb.merge(Tree(moved));

    const int first = Submit("copy", into, copying);
    const int second = Submit("move", usb, moving);
    const int third = Submit("copy", usb, {"cp " + Word("/var/media/hdd/Alt.ts")});
    Await(first, "running");
    EXPECT_EQ(PollJob(second).state, "queued");

    EXPECT_THAT(Outcomes(Await(first, "ended").statuses),
                ElementsAre("1 done", "2 done", "3 done", "end"));
    EXPECT_THAT(Outcomes(Await(second, "ended").statuses),
                ElementsAre("1 done", "2 done", "3 done", "end"));
    EXPECT_THAT(Await(third, "ended").statuses,
                ElementsAre("1 run",
                            AllOf(StartsWith("1 failed cp "), HasSubstr("No space left on device")),
                            "end"));

    EXPECT_EQ(Tree(into), Tree(copied));
    EXPECT_EQ(Tree(usb), expectedOnUsb);
    EXPECT_TRUE(fs::is_empty(moved));
    EXPECT_TRUE(Eventually([] { return Runners().empty(); }, 5s)) << "the runner stays";
}

// A folder copied onto its namesake goes into it as cp -r would: its files
// replace theirs, and what only the target held stays. One that would put a
// folder where the target has a file changes nothing.
TEST_F(BoxRunner, AFolderGoesIntoItsNamesake) {
    const fs::path from = kMedia / "hdd/Runner", into = kMedia / "hdd/Ziel";
    WriteFile(into / "Serie/Alt.ts", "alt");
    WriteFile(into / "Serie/Folge 1.ts", "vorher");
    WriteFile(into / "Serie/Staffel 2/b.ts", "b");
    WriteFile(from / "Serie/Folge 1.ts", "nachher");
    WriteFile(from / "Serie/Folge 2.ts", "zwei");
    WriteFile(from / "Serie/Staffel 2/c.ts", "c");
    WriteFile(from / "Andere/Serie/Alt.ts/innen.ts", "innen");
    auto merged = Tree(into / "Serie");
    for (const auto& [path, bytes] : Tree(from / "Serie")) {
        merged[path] = bytes;
    }

    const int job = Submit("copy", into, {"cp " + Word((from / "Serie").string())});
    EXPECT_THAT(Await(job, "ended").statuses, ElementsAre("1 run", "1 done", "end"));
    EXPECT_EQ(Tree(into / "Serie"), merged);

    const int clash = Submit("move", into, {"mv " + Word((from / "Andere/Serie").string())});
    EXPECT_THAT(Await(clash, "ended").statuses,
                ElementsAre("1 run", "1 failed kind file Serie/Alt.ts", "end"));
    EXPECT_EQ(Tree(into / "Serie"), merged);
    EXPECT_TRUE(fs::exists(from / "Andere/Serie/Alt.ts/innen.ts"));
    EXPECT_THAT(Tree(into), Not(Contains(Key(".Serie.part"))));
}

// A cancel kills the running copy and skips the rest, a queued job's too. A
// runner killed outright leaves its job interrupted and a temporary copy
// that clear removes; the next job runs all the same.
TEST_F(BoxRunner, CancelAndADeadRunnerLeaveNoTemporaryCopy) {
    const fs::path from = kMedia / "hdd/Runner", into = kMedia / "hdd/Ziel";
    fs::create_directories(into);
    for (const char* name : {"Eins.ts", "Zwei.ts", "Drei.ts"}) {
        WriteFile(from / name, Pattern(2000 * kKB, name[0]));
    }
    // small enough to go to the box's cp together
    for (const char* name : {"a.crid", "b.crid", "c.crid"}) {
        WriteFile(from / name, Pattern(500 * kKB, name[0]));
    }
    const auto entry = [&](const char* name) { return "cp " + Word((from / name).string()); };
    const auto copying = [&](int job) { return PollJob(job).progressKB > 0; };

    const int cancelled = Submit("copy", into, {entry("Eins.ts"), entry("Zwei.ts")});
    const int queued = Submit("copy", into, {entry("Drei.ts")});
    ASSERT_TRUE(Eventually([&] { return copying(cancelled); }, 10s));
    for (const int job : {queued, cancelled}) {
        EXPECT_THAT(Run("cancel " + std::to_string(job)),
                    ElementsAre("olmirafm-cancelling " + std::to_string(job)));
    }
    EXPECT_THAT(Await(cancelled, "ended").statuses,
                ElementsAre("1 run", "1 cancelled", "2 skipped", "end"));
    EXPECT_THAT(Await(queued, "ended").statuses, ElementsAre("1 skipped", "end"));
    EXPECT_TRUE(fs::is_empty(into));

    // small files copied together are cancelled together
    const int together = Submit("copy", into, {entry("a.crid"), entry("b.crid"), entry("c.crid")});
    ASSERT_TRUE(Eventually([&] { return copying(together); }, 10s));
    Run("cancel " + std::to_string(together));
    EXPECT_THAT(Outcomes(Await(together, "ended").statuses),
                ElementsAre("1 cancelled", "2 cancelled", "3 cancelled", "end"));
    EXPECT_TRUE(fs::is_empty(into));

    const int killed = Submit("copy", into, {entry("Zwei.ts")});
    ASSERT_TRUE(Eventually([&] { return copying(killed); }, 10s));
    ASSERT_EQ(Runners().size(), 1u);
    for (const pid_t pid : Runners(true)) {
        ::kill(pid, SIGKILL);
    }
    EXPECT_THAT(Await(killed, "interrupted").statuses, ElementsAre("1 run"));
    EXPECT_TRUE(fs::exists(into / ".Zwei.ts.part"));

    const int next = Submit("copy", into, {entry("Drei.ts")});
    EXPECT_THAT(Await(next, "ended").statuses, ElementsAre("1 run", "1 done", "end"));
    const std::string number = std::to_string(killed);
    EXPECT_THAT(Run("list"), IsSupersetOf(std::vector<std::string>{
                                 "olmirafm-job " + number + " interrupted",
                                 "olmirafm-entry 1 " + entry("Zwei.ts"), "olmirafm-end"}));
    EXPECT_THAT(Run("clear " + number), ElementsAre("olmirafm-cleared " + number));
    EXPECT_EQ(PollJob(killed).state, "unknown");
    EXPECT_THAT(Tree(into), ElementsAre(Pair("Drei.ts", FileBytes(from / "Drei.ts"))));
}

// Small files in a row go to the box's cp together, yet each ends as it
// would on its own: an overwrite only by the rename, the later of two
// files of one name last, and a copy that does not fit its own failure,
// after those that fit, with no temporary copy left.
TEST_F(BoxRunner, FilesCopiedTogetherEachHaveTheirOwnOutcome) {
    const fs::path from = kMedia / "hdd/Reihe", usb = kMedia / "usb";
    for (const auto& entry : fs::directory_iterator(usb)) {
        fs::remove_all(entry.path());
    }
    const std::map<std::string, std::string> files = {
        {"Alt.ts", Pattern(300 * kKB, 'n')}, {"a.ts", Pattern(400 * kKB, 'a')},
        {"eins/Gleich.ts", "eins"},          {"zwei/Gleich.ts", "zwei"},
        {"b.ts", Pattern(500 * kKB, 'b')},   {"c.ts", Pattern(500 * kKB, 'c')},
        {"d.ts", Pattern(500 * kKB, 'd')}};
    for (const auto& [path, bytes] : files) {
        WriteFile(from / path, bytes);
    }
    WriteFile(usb / "Ziel/Alt.ts", Pattern(300 * kKB, 'o'));
    std::vector<std::string> entries;
    for (const char* name :
         {"a.ts", "Alt.ts", "eins/Gleich.ts", "zwei/Gleich.ts", "b.ts", "c.ts", "d.ts"}) {
        entries.push_back("cp " + Word((from / name).string()));
    }

    const int job = Submit("copy", usb / "Ziel", entries);
    EXPECT_THAT(Outcomes(Await(job, "ended").statuses),
                ElementsAre("1 done", "2 done", "3 done", "4 done", "5 done", "6 done",
                            AllOf(StartsWith("7 failed cp "), HasSubstr("No space left on device")),
                            "end"));
    EXPECT_EQ(Sums(usb / "Ziel"),
              (std::map<std::string, std::string>{{"Alt.ts", Sum(files.at("Alt.ts"))},
                                                  {"Gleich.ts", Sum("zwei")},
                                                  {"a.ts", Sum(files.at("a.ts"))},
                                                  {"b.ts", Sum(files.at("b.ts"))},
                                                  {"c.ts", Sum(files.at("c.ts"))}}));
}

}  // namespace
