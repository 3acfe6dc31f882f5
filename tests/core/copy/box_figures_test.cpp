#include "copy/box_figures.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "command_reply.h"
#include "copy/copy_progress.h"

namespace olmira {
namespace {

using test_support::CommandReply;

TEST(BoxFiguresTest, DiskSpaceIsReadFromEveryLayoutOfDf) {
    constexpr std::string_view kCoreutils =
        "Filesystem     1K-blocks     Used Available Use% Mounted on";
    constexpr std::string_view kBusybox =
        "Filesystem           1K-blocks      Used Available Use% Mounted on";
    const struct {
        std::vector<std::string_view> output;
        std::optional<std::pair<std::int64_t, std::int64_t>> space;
    } cases[] = {
        {{kCoreutils, "/dev/sda1       30832548 18187456  11082900  63% /var/media/hdd"},
         {{30832548, 11082900}}},
        {{kBusybox, "/dev/sda1             30832548  18187456  11082900  63% /var/media/hdd"},
         {{30832548, 11082900}}},
        {{kBusybox, "//192.168.0.10/recordings/share",
          "                      976762584 512000000 464762584  52% /var/media/net"},
         {{976762584, 464762584}}},
        {{kCoreutils, "tmpfs 4096 0 4096 0% /var/media/usb"}, {{4096, 4096}}},
        {{kCoreutils, "/dev/sdb1 1000 400 600 40% /var/media/My Disk 2"}, {{1000, 600}}},
        {{kCoreutils, "/dev/sda1 1000 990 -40 100% /"}, {{1000, -40}}},
        {{"df: /x: No such file or directory"}, std::nullopt},
        {{"/dev/sda1 1000 400 600 40% /"}, std::nullopt},  // no header
        {{kBusybox}, std::nullopt},
        {{kBusybox, "//192.168.0.10/recordings/share"}, std::nullopt},
        {{kCoreutils, "/dev/sda1 1000 400 6x0 40% /"}, std::nullopt},
        {{kCoreutils, "/dev/sda1 99999999999999999999 0 1 0% /"}, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<DiskSpace> space = ParseDiskSpace(CommandReply("df -k /x/", c.output));
        const std::string context(c.output.back());
        ASSERT_EQ(space.has_value(), c.space.has_value()) << context;
        if (space) {
            EXPECT_EQ(space->totalKB, c.space->first) << context;
            EXPECT_EQ(space->freeKB, c.space->second) << context;
        }
    }
}

TEST(BoxFiguresTest, TheInnermostMountHoldsAPath) {
    const ReplyLines mounts = CommandReply(
        "cat /proc/mounts",
        {"rootfs / rootfs rw 0 0", "/dev/sda1 /var/media/hdd ext3 rw 0 0",
         "/dev/sdb1 /var/media/usb vfat rw,relatime 0 0", "/dev/sdc1 /var/media/usb2 ntfs rw 0 0",
         "/dev/sdd1 /var/media/My\\040Disk msdos rw 0 0",
         "/dev/sde1 /var/media/hdd fuseblk rw 0 0"});
    const struct {
        std::string_view path;
        std::string_view type;
    } cases[] = {
        {"/var/media/usb/x.ts", "vfat"},     {"/var/media/usb", "vfat"},
        {"/var/media/usb/", "vfat"},         {"/var/media/usb2/x", "ntfs"},
        {"/var/media/usbx", "rootfs"},       {"/var/media/My Disk/a.ts", "msdos"},
        {"/var/media/hdd/Filme", "fuseblk"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileSystemType(mounts, c.path), c.type) << c.path;
    }
    EXPECT_EQ(
        FileSystemType(CommandReply("cat /proc/mounts", {"/dev/sda1 /var/media/hdd ext3 rw 0 0"}),
                       "/var/media/usb/x"),
        "");
    EXPECT_EQ(FileSystemType(CommandReply("cat /proc/mounts", {"/ # \x1b[6n x y 0 0"}), "/x"), "");
}

TEST(BoxFiguresTest, OnlyFatTypesStopAtFourGiB) {
    for (const std::string_view type : {"vfat", "msdos", "fat"}) {
        EXPECT_TRUE(IsFatFileSystem(type)) << type;
    }
    for (const std::string_view type : {"exfat", "ntfs", "ext4", "fuseblk", ""}) {
        EXPECT_FALSE(IsFatFileSystem(type)) << type;
    }
}

TEST(BoxFiguresTest, DuAndWcFiguresStandWhereTheToolsPutThem) {
    const std::string_view du = "du -sk \"/var/media/hdd/10 Filme\"";
    EXPECT_EQ(ParseDuFigure(CommandReply(du, {"11720\t/var/media/hdd/10 Filme"})), 11720);
    EXPECT_EQ(ParseDuFigure(CommandReply(du, {"5000000000 /var/media/hdd/10 Filme"})), 5000000000);
    EXPECT_EQ(ParseDuFigure(CommandReply(du, {"du: can't open '/x': No such file"})), std::nullopt);
    EXPECT_EQ(ParseDuFigure(CommandReply(du, {"11720"})), std::nullopt);
    EXPECT_EQ(ParseDuFigure(CommandReply(du, {"99999999999999999999\t/x"})), std::nullopt);
    EXPECT_EQ(ParseDuFigure(CommandReply(du, {"117a0\t/x", "12\t/x"})), 12);

    // Several du in one line: each one's output up to its end line; a part
    // that the reply cut short is missing.
    const std::vector<ReplyLines> parts = SizeReplies(CommandReply(
        "du -skL /a; echo olmirafm-du; du -skL /b; echo olmirafm-du; du -skL /c",
        {"8\t/a", "olmirafm-du", "du: can't open '/b': No such file", "olmirafm-du", "4\t/c"}));
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(ParseDuFigure(parts[0]), 8);
    EXPECT_EQ(ParseDuFigure(parts[1]), std::nullopt);
    EXPECT_EQ(ToolMessages(parts[1], "du: "),
              std::vector<std::string>{"du: can't open '/b': No such file"});

    // One du for several: each figure goes to the path printed beside it;
    // one du named in a message instead, and a path it printed otherwise,
    // get none.
    const std::vector<std::string> paths = {"hdd/a b.ts", "hdd/fehlt.ts", "hdd/Ordner", "hdd/x"};
    EXPECT_EQ(
        ParseDuFigures(CommandReply("du -sklL \"/var/media/hdd/a b.ts\" …",
                                    {"du: can't open '/var/media/hdd/fehlt.ts': No such file",
                                     "12      /var/media/hdd/Ordner", "4\t/var/media/hdd/a b.ts",
                                     "7\t/var/media/hdd/x/", "olmirafm-du"}),
                       paths),
        (std::vector<std::optional<std::int64_t>>{4, std::nullopt, 12, std::nullopt}));

    const std::string_view wc = "ls -1A /var/media/hdd | wc -l";
    EXPECT_EQ(ParseCount(CommandReply(wc, {"42"})), 42);
    EXPECT_EQ(ParseCount(CommandReply(wc, {"      7 "})), 7);
    EXPECT_EQ(ParseCount(CommandReply(wc, {"7 files"})), std::nullopt);
    EXPECT_EQ(ParseCount(CommandReply(wc, {"   "})), std::nullopt);
    EXPECT_EQ(ParseCount(CommandReply(wc, {})), std::nullopt);
}

TEST(BoxFiguresTest, ThousandsAreGroupedByDots) {
    const struct {
        std::int64_t value;
        std::string_view text;
    } cases[] = {{0, "0"},
                 {999, "999"},
                 {1000, "1.000"},
                 {4812, "4.812"},
                 {11720, "11.720"},
                 {123456, "123.456"},
                 {-999, "-999"},
                 {-1234567, "-1.234.567"},
                 {std::numeric_limits<std::int64_t>::max(), "9.223.372.036.854.775.807"},
                 {std::numeric_limits<std::int64_t>::min(), "-9.223.372.036.854.775.808"}};
    for (const auto& c : cases) {
        EXPECT_EQ(GermanThousands(c.value), c.text) << c.value;
    }
}

TEST(BoxFiguresTest, SizesTakeTheLargestUnitBelow1024) {
    const struct {
        std::int64_t kB;
        std::string_view text;
    } cases[] = {{0, "0 kB"},
                 {512, "512 kB"},
                 {1023, "1023 kB"},
                 {1024, "1,0 MB"},
                 {1075, "1,0 MB"},  // 1.0498 MB
                 {1076, "1,1 MB"},  // 1.0508 MB
                 {23961, "23,4 MB"},
                 {1048524, "1.023,9 MB"},
                 {1048525, "1,0 GB"},  // would show as 1024,0 MB
                 {222822400, "212,5 GB"},
                 {1073741823, "1,0 TB"},
                 {5LL * 1024 * 1024 * 1024 * 1024, "5.120,0 TB"},
                 {-40, "-40 kB"},
                 {-23961, "-23,4 MB"},
                 {std::numeric_limits<std::int64_t>::min(), "-8.589.934.592,0 TB"}};
    for (const auto& c : cases) {
        EXPECT_EQ(GermanSize(c.kB), c.text) << c.kB;
    }
}

}  // namespace
}  // namespace olmira
