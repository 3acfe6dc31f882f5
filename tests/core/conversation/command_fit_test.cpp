#include "conversation/command_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "conversation/shell_command.h"
#include "temp_folder.h"

namespace olmira {
namespace {

struct Payload {
    const char* name;
    std::string bytes;
};

void PrintTo(const Payload& p, std::ostream* out) {
    *out << p.name;
}

// What a shell prints when it reads lines from a file.
std::string RunLines(const char* shell, const std::vector<std::string>& lines) {
    const test_support::TempFolder folder;
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    folder.Write("lines", text);
    const std::string script = folder.File("lines");
    std::string output;
    if (FILE* pipe = ::popen((std::string(shell) + " " + script).c_str(), "r")) {
        char block[4096];
        for (std::size_t got; (got = std::fread(block, 1, sizeof block, pipe)) > 0;) {
            output.append(block, got);
        }
        ::pclose(pipe);
    }
    return output;
}

bool SevenBit(const std::string& line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 128; });
}

class FitTable : public testing::TestWithParam<Payload> {};

// Whatever the pieces, both shells run exactly the command: a name arrives
// with every byte as it was, and no part of it becomes shell syntax.
TEST_P(FitTable, BothShellsRunTheCommandAsItStood) {
    const std::string command = "printf '%s' " + ShellWord(GetParam().bytes);
    const std::vector<std::string> lines = FitCommand(command);
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), kMaxLineBytes);
        EXPECT_TRUE(SevenBit(line)) << line;
    }
    for (const char* shell : {"bash", "busybox sh"}) {
        EXPECT_EQ(RunLines(shell, lines), GetParam().bytes) << shell;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, FitTable,
    testing::Values(Payload{"Plain", "Nachrichten.ts"},
                    Payload{"Utf8Umlauts",
                            "Gr\xc3\xbc\xc3\x9f"
                            "e.ts"},
                    Payload{"Latin1",
                            "Gr\xfc\xdf"
                            "e.ts"},
                    Payload{"ByteThatIsIac",
                            "a\xff"
                            "b.ts"},
                    Payload{"StrippedFormIsSyntax", "X\xc3\xa2;cd tmp;touch pwned\xc3\xa2.ts"},
                    Payload{"QuotesPercentBackslashDash", "-'a' %d \\n \"$HOME\" `x`.ts"},
                    Payload{"LongerThanALine", std::string(2500, 'a') + "'\xc3\xbc"
                                                                        "b"},
                    Payload{"FourKilobytesOfUmlauts",
                            [] {
                                std::string name;
                                while (name.size() < 4000) {
                                    name += "\xc3\xa4/";
                                }
                                return name;
                            }()}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST(CommandFit, ALineThatFitsGoesOutAsItIs) {
    EXPECT_EQ(FitCommand("ls -1Aps /var/media/hdd/"),
              std::vector<std::string>{"ls -1Aps /var/media/hdd/"});
}

TEST(CommandFit, OnlyWhatCannotBeSentWholeIsRefused) {
    EXPECT_TRUE(
        CommandRefusal("cp " + std::string(4096, 'a') + " " + std::string(4096, 'b')).empty());
    EXPECT_FALSE(CommandRefusal(std::string(kMaxCommandBytes + 1, 'a')).empty());
}

}  // namespace
}  // namespace olmira
