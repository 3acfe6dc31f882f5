// Runs on a box whose hdd/Geschützt is read-only and whose usb drive holds
// 4096 kB (see tests/CMakeLists.txt).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli_on_the_box.h"
#include "file_bytes.h"

namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;
using ::testing::StartsWith;

using olmira::test::BoxCommandsReceived;
using olmira::test_support::FileBytes;

std::vector<std::string> Fields(const std::string& line, char separator = ' ') {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, separator);) {
        if (!field.empty()) {
            fields.push_back(field);
        }
    }
    return fields;
}

class CliTidyOnTheBox : public CliOnTheBox {
protected:
    void SetUp() override {
        CliOnTheBox::SetUp();
        const char* readOnly = std::getenv("SIMBOX_READ_ONLY");
        ASSERT_STREQ(readOnly != nullptr ? readOnly : "", "hdd/Geschützt")
            << "a box without --read-only hdd/Geschützt";
    }

    fs::path Media() const { return Box().mediaPath; }

    Outcome Cli(const std::string& command, const std::vector<std::string>& paths) {
        return Run("127.0.0.1", command + ShellArguments(paths));
    }

    // The last line that line prints, run with the box's own tools.
    std::string BoxToolSays(const std::string& line) const {
        std::FILE* pipe = ::popen(("PATH=" + Box().toolsPath + " " + line).c_str(), "r");
        std::string output;
        for (int c; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) {
            output += static_cast<char>(c);
        }
        if (pipe != nullptr) {
            ::pclose(pipe);
        }
        const std::vector<std::string> lines = Lines(output);
        return lines.empty() ? "" : lines.back();
    }
};

// One run for awkward names, one where a read-only entry fails and the
// entries after it, in other folders, go all the same.
TEST_F(CliTidyOnTheBox, RemovesFilesFoldersAndAwkwardNamesPastOneThatCannotGo) {
    const fs::path hdd = Media() / "hdd";
    const std::string awkward = "a \"b\" $c `d`;*.ts";
    std::ofstream(hdd / awkward) << "x";
    std::ofstream(hdd / "K\xe4se 'x'.ts") << "x";

    const Outcome removed =
        Cli("rm", {"hdd/Nachrichten.ts", "hdd/Filme", "hdd/" + awkward, "hdd/K?se 'x'.ts"});
    EXPECT_EQ(removed.status, 0) << removed.err;
    for (const std::string& gone : std::vector<std::string>{"Nachrichten.ts", "Nachrichten.crid",
                                                            "Filme", awkward, "K\xe4se 'x'.ts"}) {
        EXPECT_FALSE(fs::exists(hdd / gone)) << gone;
    }
    // Nothing else went, as a misquoted name or a pattern would take along.
    EXPECT_TRUE(fs::exists(hdd / "Dokus" / "Wälder im Herbst.ts"));
    EXPECT_TRUE(fs::exists(hdd / "Leer"));

    const fs::path locked = hdd / "Geschützt" / "Geschützte Aufnahme.ts";
    const Outcome partly = Cli("rm", {"hdd/" + Box().Shown("Geschützt/Geschützte Aufnahme.ts"),
                                      "hdd/Dokus", "usb/Konzert.ts"});
    EXPECT_EQ(partly.status, 1);
    EXPECT_THAT(partly.err, StartsWith(Box().Shown("Geschützte Aufnahme.ts") + ": rm: "));
    EXPECT_THAT(partly.err, HasSubstr("Read-only file system"));
    EXPECT_TRUE(fs::exists(locked));
    EXPECT_FALSE(fs::exists(hdd / "Dokus"));
    EXPECT_FALSE(fs::exists(Media() / "usb" / "Konzert.ts"));
    EXPECT_FALSE(fs::exists(Media() / "usb" / "Konzert.crid"));
}

TEST_F(CliTidyOnTheBox, RenamesOnlyToAFreeNameAndMakesFolders) {
    const fs::path hdd = Media() / "hdd";
    const std::string news = FileBytes(hdd / "Nachrichten.ts");
    const Outcome refused = Cli("rename", {"hdd/Nachrichten.ts", "Leer"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, HasSubstr("„Leer“ gibt es in diesem Ordner schon."));
    EXPECT_EQ(FileBytes(hdd / "Nachrichten.ts"), news);
    EXPECT_TRUE(fs::is_empty(hdd / "Leer"));
    EXPECT_THAT(BoxCommandsReceived(), Not(Contains(StartsWith("mv "))));

    const Outcome renamed = Cli("rename", {"hdd/Nachrichten.ts", "Neu $x.ts"});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(FileBytes(hdd / "Neu $x.ts"), news);
    EXPECT_TRUE(fs::exists(hdd / "Neu $x.crid"));

    const Outcome made = Cli("mkdir", {"hdd/Neue Aufnahmen ä"});
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_TRUE(fs::is_directory(hdd / "Neue Aufnahmen ä"));
}

// The host's drive hdd may change while the test runs; the sized usb does not.
TEST_F(CliTidyOnTheBox, TellsTheFiguresTheBoxsOwnToolsTell) {
    const Outcome df = Cli("df", {});
    ASSERT_EQ(df.status, 0) << df.err;
    std::map<std::string, std::vector<std::string>> rows;
    for (const std::string& line : Lines(df.out)) {
        rows[Fields(line, '\t').front()] = Fields(line, '\t');
    }
    for (const char* drive : {"hdd", "usb"}) {
        const std::vector<std::string> own =
            Fields(BoxToolSays("df -k /var/media/" + std::string(drive)));
        ASSERT_GE(own.size(), 5u);
        const std::vector<std::string>& row = rows[drive + std::string("/")];
        ASSERT_EQ(row.size(), 3u) << df.out;
        EXPECT_EQ(row[2], own[own.size() - 5]) << drive;
        EXPECT_LE(std::llabs(std::stoll(row[1]) - std::stoll(own[own.size() - 3])),
                  std::stoll(row[2]) / 100)
            << drive << ": " << row[1] << " kB free";
    }

    const fs::path film = Media() / "hdd" / "Filme" / "Spielfilm 1.ts";
    const Outcome file = Cli("stat", {"hdd/Filme/Spielfilm 1.ts"});
    EXPECT_EQ(file.status, 0) << file.err;
    const std::string modified = BoxToolSays("stat -c %y '/var/media/hdd/Filme/Spielfilm 1.ts'");
    EXPECT_EQ(file.out, std::to_string(fs::file_size(film)) + "\t" + modified.substr(0, 19) + "\n");

    std::uintmax_t contentBytes = 0;
    for (const fs::directory_entry& entry :
         fs::recursive_directory_iterator(Media() / "hdd" / "Filme" / "Serien")) {
        contentBytes += entry.is_regular_file() ? entry.file_size() : 0;
    }
    const Outcome serien = Cli("stat", {"hdd/Filme/Serien"});
    EXPECT_EQ(serien.status, 0) << serien.err;
    const std::vector<std::string> fields =
        Fields(serien.out.substr(0, serien.out.find('\n')), '\t');
    ASSERT_EQ(fields.size(), 4u) << serien.out;
    EXPECT_EQ(fields[2], "4");
    // du counts the folder's own size along.
    EXPECT_GE(std::stoull(fields[3]), contentBytes);
    EXPECT_LE(std::stoull(fields[3]), contentBytes + 65536);
}

// Refused before a line that could change the box goes out.
TEST_F(CliTidyOnTheBox, RefusesPathsOffTheDrivesAndAMissingFolder) {
    struct Refusal {
        const char* command;
        std::vector<std::string> paths;
        const char* says;
    };
    const Refusal refusals[] = {
        {"ls", {"../.."}, "Nur Pfade auf einem Laufwerk unter /var/media sind erlaubt: ../../"},
        {"rm", {"hdd/"}, "Ein Laufwerk selbst wird nicht gelöscht"},
        {"rm", {"hdd/../usb/Konzert.ts"}, "„.“ oder „..“"},
        {"mv", {"hdd/Filme/..", "usb/"}, "„.“ oder „..“"},
        {"ls", {"hdd/Fehlt"}, "No such file or directory"},
    };
    for (const Refusal& refusal : refusals) {
        const Outcome outcome = Cli(refusal.command, refusal.paths);
        EXPECT_EQ(outcome.status, 1) << refusal.command << " " << refusal.paths.front();
        EXPECT_THAT(outcome.err, HasSubstr(refusal.says));
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_TRUE(fs::exists(Media() / "usb" / "Konzert.ts"));
    EXPECT_TRUE(fs::exists(Media() / "hdd" / "Filme" / "Spielfilm 1.ts"));
    for (const std::string& line : BoxCommandsReceived()) {
        EXPECT_THAT(line, Not(HasSubstr(".."))) << line;
        EXPECT_THAT(line, Not(MatchesRegex("^(rm|mv) .*")));
    }
}

}  // namespace
