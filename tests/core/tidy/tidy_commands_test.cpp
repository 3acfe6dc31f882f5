#include "tidy/tidy_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "command_reply.h"
#include "copy/copy_progress.h"

namespace olmira {
namespace {

TEST(TidyCommandsTest, NewNamesAreWordsAndListedNamesPatterns) {
    const struct {
        std::string command, line;
    } cases[] = {
        {MakeFolderCommand("hdd/Filme/", "Neu"), "mkdir /var/media/hdd/Filme/Neu"},
        {MakeFolderCommand("hdd/", "a \"b\" $c `d`;*?"),
         "mkdir \"/var/media/hdd/a \\\"b\\\" \\$c \\`d\\`;*?\""},
        {RenameCommand("hdd/", "K?se 1.ts", "Käse?.ts"),
         "mv /var/media/hdd/K?\"se 1.ts\" \"/var/media/hdd/Käse?.ts\""},
        {RenameCommand("hdd/Filme/", "Serie 1/", "Serie2"),
         "mv \"/var/media/hdd/Filme/Serie 1\" /var/media/hdd/Filme/Serie2"},
        {StatCommand("usb/", "Gr?n $1.ts"), "stat -L /var/media/usb/Gr?\"n \\$1.ts\""},
        {StatCommand("usb/Filme/", ""), "stat -L /var/media/usb/Filme/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.command, c.line);
    }
}

TEST(TidyCommandsTest, StatusIsReadFromBothFormsOfStat) {
    constexpr std::string_view kCommand = "stat -L \"/var/media/hdd/Der Film.ts\"";
    const struct {
        std::vector<std::string_view> output;
        std::optional<EntryStatus> status;
    } cases[] = {
        // coreutils 9
        {{"  File: /var/media/hdd/Der Film.ts",
          "  Size: 1310720   \tBlocks: 2560       IO Block: 4096   regular file",
          "Device: 254,0\tInode: 10969215    Links: 1",
          "Access: (0644/-rw-r--r--)  Uid: (    0/    root)   Gid: (    0/    root)",
          "Access: 2026-12-09 07:33:34.162306775 +0000",
          "Modify: 2026-12-09 07:27:11.584402811 +0000",
          "Change: 2026-12-09 07:33:34.166369037 +0000",
          " Birth: 2026-12-09 07:33:34.162306775 +0000"},
         {{1310720, "2026-12-09 07:27:11"}}},
        // busybox 1.35, a folder
        {{"  File: /var/media/hdd/Serien",
          "  Size: 4096      \tBlocks: 8          IO Block: 4096   directory",
          "Device: fe00h/65024d\tInode: 10969216    Links: 2",
          "Access: (0755/drwxr-xr-x)  Uid: (    0/    root)   Gid: (    0/    root)",
          "Access: 2026-12-09 07:33:34.166369037 +0000",
          "Modify: 2026-01-31 23:59:59.000000000 +0100",
          "Change: 2026-12-09 07:33:34.166369037 +0000"},
         {{4096, "2026-01-31 23:59:59"}}},
        // A name that looks like stat's lines stands in the "File:" line only.
        {{"  File: /var/media/hdd/Size: 7\\nModify: x", "  Size: 0         \tBlocks: 0",
          "Modify: 2026-12-09 07:27:11 +0000"},
         {{0, "2026-12-09 07:27:11"}}},
        {{"stat: can't stat '/var/media/hdd/Der Film.ts': No such file or directory"},
         std::nullopt},
        {{"stat: cannot statx '/var/media/hdd/Der Film.ts': No such file or directory"},
         std::nullopt},
        {{"  Size: 3         \tBlocks: 8"}, std::nullopt},
        {{"Modify: 2026-12-09 07:27:11.584402811 +0000"}, std::nullopt},
        {{"  Size: x", "Modify: 2026-12-09 07:27:11"}, std::nullopt},
        {{"  Size: 3", "Modify: 2026-12-09"}, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<EntryStatus> status =
            ParseStatus(test_support::CommandReply(kCommand, c.output));
        const std::string context(c.output.front());
        ASSERT_EQ(status.has_value(), c.status.has_value()) << context;
        if (status) {
            EXPECT_EQ(status->bytes, c.status->bytes) << context;
            EXPECT_EQ(status->modified, c.status->modified) << context;
        }
    }
}

TEST(TidyCommandsTest, DatesAreShownTheGermanWay) {
    EXPECT_EQ(GermanDate("2026-12-09 07:27:11"), "09.12.2026 07:27:11");
    EXPECT_EQ(GermanDate("1999-01-31"), "31.01.1999");
    EXPECT_EQ(GermanDate("gestern"), "gestern");
    EXPECT_EQ(GermanDate("2026-1-9 07:27:11"), "2026-1-9 07:27:11");
    EXPECT_EQ(GermanDate(""), "");
}

// A name may hold a tool's prefix, and a message may hold a command's words.
TEST(TidyCommandsTest, MessagesAreTakenFromTheToolsLinesNotFromOurEchoes) {
    const ReplyLines reply = {
        "mv \"/var/media/hdd/mv: a\" /var/media/hdd/b",
        "mv: can't rename '/var/media/hdd/mv: a': Read-only file system",
        "mkdir \"/var/media/hdd/mkdir: x\"",
        "mkdir: can't create directory '/var/media/hdd/a mv b': File exists",
        "stat -L \"/var/media/hdd/stat: x\"",
        "stat: can't stat '/var/media/hdd/stat -L x': No such file or directory",
    };
    EXPECT_THAT(
        ToolMessages(reply, "mv: "),
        ::testing::ElementsAre("mv: can't rename '/var/media/hdd/mv: a': Read-only file system"));
    EXPECT_THAT(ToolMessages(reply, "mkdir: "),
                ::testing::ElementsAre(
                    "mkdir: can't create directory '/var/media/hdd/a mv b': File exists"));
    EXPECT_THAT(ToolMessages(reply, "stat: "),
                ::testing::ElementsAre(
                    "stat: can't stat '/var/media/hdd/stat -L x': No such file or directory"));
}

}  // namespace
}  // namespace olmira
