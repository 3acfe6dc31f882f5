#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "conversation/job_notice.h"
#include "copy/copy_commands.h"
#include "copy/copy_progress.h"
#include "copy/name_pattern.h"

namespace olmira {
namespace {

using ::testing::ElementsAre;

TEST(JobNoticeTest, EveryEndOfAJobIsRecognisedWithItsNumberAndNothingElse) {
    using enum JobEnd;
    const struct {
        std::string line;
        std::optional<JobNotice> notice;
    } cases[] = {
        {"[1]+  Done                    cp -r a b", JobNotice{1, Succeeded, true}},
        {"[1]+  Done                       cp -r a b", JobNotice{1, Succeeded, true}},
        {"[1]   Done                    cp -r a b", JobNotice{1, Succeeded, false}},
        {"[1]+  Done(1)                    cp -r a b", JobNotice{1, Failed, true}},
        {"[1]+  Exit 1                  cp -r a b", JobNotice{1, Failed, true}},
        {"[1]+  Terminated              cp -r a b", JobNotice{1, Failed, true}},
        {"[1]+  Killed                  cp -r a b", JobNotice{1, Failed, true}},
        {"[1]-  Segmentation fault      cp -r a b", JobNotice{1, Failed, false}},
        {"[2]+  Done                    sleep 1", JobNotice{2, Succeeded, true}},
        {"[12]-  Exit 2                 cp", JobNotice{12, Failed, false}},
        {"[1] 4711", std::nullopt},
        {"[1]+  Running                 cp -r a b &", std::nullopt},
        {"[1]+  Stopped                 cp -r a b", std::nullopt},
        {" [1]+  Done  cp", std::nullopt},
        {"[1]+ Done cp", std::nullopt},
        {"[1]+  ", std::nullopt},
        {"[1]+", std::nullopt},
        {"[1]+  Do", std::nullopt},
        {"[]+  Done  cp", std::nullopt},
        {"[0]+  Done  cp", std::nullopt},
        {"[x]+  Done  cp", std::nullopt},
        {"[99999999999]+  Done  cp", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseJobNotice(c.line), c.notice) << c.line;
    }
}

TEST(CopyProgressTest, BarAndRateTruncateTowardZero) {
    EXPECT_EQ(BarPosition(2500, 8000), 31);
    EXPECT_EQ(BarPosition(7999, 8000), 99);
    EXPECT_EQ(BarPosition(9000, 8000), 112);
    EXPECT_EQ(BarPosition(5, 0), 0);
    EXPECT_EQ(TransferRate(2500, 0, 5000), 500);
    EXPECT_EQ(TransferRate(0, 2501, 5000), -500);
    EXPECT_EQ(TransferRate(7, 0, 3000), 2);
    EXPECT_EQ(PollIntervalMs(0), 1000);
    EXPECT_EQ(PollIntervalMs(-5), 1000);
    EXPECT_EQ(PollIntervalMs(2500), 2500);
}

TEST(CopyProgressTest, ToolMessagesAreFoundAfterPromptsButNotInOurEchoes) {
    EXPECT_THAT(ToolMessages({"rm -rf \"/var/media/a/rm: b\"", "du -sk \"/var/media/c/rm: d\"",
                              "root@box:~# rm: cannot remove 'x': Permission denied",
                              "/ # \x1b[6nrm: can't remove 'x'", "rm: x: Read-only file system"},
                             "rm: "),
                ElementsAre("rm: cannot remove 'x': Permission denied", "rm: can't remove 'x'",
                            "rm: x: Read-only file system"));
}

TEST(CopyCommandsTest, EveryNameReachesTheBoxAsOneWordAndQuestionMarksMatch) {
    EXPECT_EQ(RemoveCommand("hdd/", "a \"b\" $c `d`;*.ts"),
              "rm -rf \"/var/media/hdd/a \\\"b\\\" \\$c \\`d\\`;*.ts\"");
    EXPECT_EQ(DiskUsageCommand("hdd/Gr?n/", "K?se 1.ts"),
              "du -skL /var/media/hdd/Gr?n/K?\"se 1.ts\"");
    EXPECT_EQ(MoveCommand("hdd/", "Serie 1/", "hdd/Archiv/"),
              "mv -f \"/var/media/hdd/Serie 1/\" /var/media/hdd/Archiv/");
    EXPECT_EQ(MeasureCommand("usb/", "a;b/"),
              "du -sbL \"/var/media/usb/a;b/\" && find -L \"/var/media/usb/a;b/\" -type f | wc -l");
    EXPECT_EQ(LargeFilesCommand("hdd/", "$x"),
              "find -L \"/var/media/hdd/\\$x\" -type f -size +4294967295c");
    EXPECT_EQ(FreeSpaceCommand("usb/neu 2/"), "df -k \"/var/media/usb/neu 2/\"");
    EXPECT_EQ(RemoveCommand("usb/", "?"), "rm -rf /var/media/usb/?");
}

TEST(NamePatternTest, QuestionMarksStandForAnyByte) {
    const EntryList entries = {{"./", EntryKind::ThisFolder, {}},
                               {"../", EntryKind::ParentFolder, {}},
                               {"K?se.ts", EntryKind::File, "1"},
                               {"Kase.ts", EntryKind::File, "1"},
                               {"Kose/", EntryKind::Folder, {}}};
    EXPECT_EQ(CountMatches("K?se.ts", entries), 2u);
    EXPECT_EQ(CountMatches("Kase.ts", entries), 1u);
    EXPECT_EQ(CountMatches("K?se/", entries), 1u);
    EXPECT_EQ(CountMatches("Kose", entries), 1u);  // a file onto a folder of its name
    EXPECT_EQ(CountMatches("../", entries), 0u);
}

}  // namespace
}  // namespace olmira
