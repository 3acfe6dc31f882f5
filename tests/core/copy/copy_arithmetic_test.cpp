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

TEST(JobNoticeTest, AStartedJobsNumberComesFromBashsPidLineOrFromJobsCurrentLine) {
    const struct {
        std::string line;
        std::optional<int> job;
    } cases[] = {
        {"[2] 4711", 2},
        {"[1] 64", 1},
        {"[2]+  Running                 ( trap '' HUP; exec cp -rL a b ) &", 2},
        {"[3]+  Running                    (trap \"\" HUP; exec cp -rL a b)", 3},
        {"[1]-  Running                 sleep 9 &", std::nullopt},
        {"[2]+  Done                    cp", std::nullopt},
        {"[2] ", std::nullopt},
        {"[2] 47x", std::nullopt},
        {"cp: can't stat '[2] 4711'", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseJobStart(c.line), c.job) << c.line;
    }
}

TEST(CopyProgressTest, NumbersAreReadAsTheBoxWritesThem) {
    const struct {
        std::string text;
        std::int32_t value;
    } cases[] = {{"2500", 2500},    {"+7", 7},   {"-3", -3}, {"2147483647", 2147483647},
                 {"2147483648", 0}, {"12kB", 0}, {"", 0},    {"ls:", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ReadInt32(c.text), c.value) << c.text;
    }
    EXPECT_EQ(TransferredKB("  \t 812 /var/media/usb/a b.ts"), 812);
    EXPECT_EQ(TransferredKB(""), 0);
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

TEST(CopyProgressTest, ProgressLineStandsBeforeTheNewestPrompt) {
    const ReplyLines lines = {
        "cp -r a b & box# x", "ls 1", "100 a", "box# ", "ls 2", "200 a", "box# "};
    EXPECT_EQ(ProgressLine(lines, "box#"), "200 a");
    EXPECT_EQ(ProgressLine({"box# echo", "no prompt"}, "box#"), "");
    EXPECT_EQ(ProgressLine({}, "box#"), "");
}

TEST(CopyProgressTest, CpMessagesAreFoundAfterPromptsButNotInOurEchoes) {
    EXPECT_THAT(
        CpMessages(
            {"(trap '' HUP; exec cp -rL \"/var/media/a/cp: b\" /var/media/c/) & jobs %+",
             "[2]+  Running  (trap \"\" HUP; exec cp -rL \"/var/media/a/cp: b\" /var/media/c/)",
             "root@box:~# cp: cannot stat 'x': No such file or directory",
             "ls -1Aps \"/var/media/c/cp: b\"", "du -sk \"/var/media/c/cp: d\"",
             "/ # \x1b[6ncp: can't stat 'x'", "cp: write error: No space left on device"}),
        ElementsAre("cp: cannot stat 'x': No such file or directory", "cp: can't stat 'x'",
                    "cp: write error: No space left on device"));
}

TEST(CopyCommandsTest, EveryNameReachesTheBoxAsOneWordAndQuestionMarksMatch) {
    EXPECT_EQ(CopyCommand("hdd/Filme/", "film.ts", "usb/"),
              "(trap '' HUP; exec cp -rL /var/media/hdd/Filme/film.ts /var/media/usb/) & jobs %+");
    EXPECT_EQ(CopyCommand("hdd/", "a \"b\" $c `d`;*.ts", "PC1/x y/"),
              "(trap '' HUP; exec cp -rL \"/var/media/hdd/a \\\"b\\\" \\$c \\`d\\`;*.ts\" "
              "\"/var/media/PC1/x y/\") & jobs %+");
    EXPECT_EQ(
        CopyCommand("hdd/Gr?n/", "K?se 1.ts", "usb/"),
        "(trap '' HUP; exec cp -rL /var/media/hdd/Gr?n/K?\"se 1.ts\" /var/media/usb/) & jobs %+");
    EXPECT_EQ(MoveCommand("hdd/", "Serie 1/", "hdd/Archiv/"),
              "mv -f \"/var/media/hdd/Serie 1/\" /var/media/hdd/Archiv/");
    EXPECT_EQ(ProgressListing("usb/", "K?se 1.ts"), "ls -1Aps /var/media/usb/K?\"se 1.ts\"");
    EXPECT_EQ(MeasureCommand("usb/", "a;b/"),
              "du -sbL \"/var/media/usb/a;b/\" && find -L \"/var/media/usb/a;b/\" -type f | wc -l");
    EXPECT_EQ(LargeFilesCommand("hdd/", "$x"),
              "find -L \"/var/media/hdd/\\$x\" -type f -size +4294967295c");
    EXPECT_EQ(FreeSpaceCommand("usb/neu 2/"), "df -k \"/var/media/usb/neu 2/\"");
    EXPECT_EQ(KillJobCommand(2), "kill %2");
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
