#include "conversation/shell_command.h"

#include <gtest/gtest.h>

namespace olmira {
namespace {

TEST(ShellWordTest, OrdinaryPathsStandAsTheyAre) {
    EXPECT_EQ(ListingCommand("hdd/"), "ls -1Aps /var/media/hdd/");
    EXPECT_EQ(ListingCommand("hdd/Filme/a-b_c.d+e,f:g@h%i/"),
              "ls -1Aps /var/media/hdd/Filme/a-b_c.d+e,f:g@h%i/");
}

// The box lists a byte it cannot show as "?": only a pattern finds the folder.
TEST(ShellWordTest, QuestionMarksStayOutsideTheQuotes) {
    EXPECT_EQ(ListingCommand("hdd/Gr?n/"), "ls -1Aps /var/media/hdd/Gr?n/");
    EXPECT_EQ(ListingCommand("hdd/Gr?ne Wiese/"), "ls -1Aps /var/media/hdd/Gr?\"ne Wiese/\"");
    EXPECT_EQ(ShellPattern("??$"), "??\"\\$\"");
}

TEST(ShellWordTest, AnythingElseIsQuotedAndEscaped) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a b", "\"a b\""},
        {"$HOME", "\"\\$HOME\""},
        {"a\"b", "\"a\\\"b\""},
        {"a\\b", "\"a\\\\b\""},
        {"`id`", "\"\\`id\\`\""},
        {"*;|&<>'()", "\"*;|&<>'()\""},
        {"caf\xc3\xa9", "\"caf\xc3\xa9\""},
        {"", "\"\""},
    };
    for (const auto& [path, word] : cases) {
        EXPECT_EQ(ShellWord(path), word) << path;
    }
}

}  // namespace
}  // namespace olmira
