#include "copy/copy_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>

#include "copy_job_fixture.h"

namespace olmira {
namespace {

using ::testing::_;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// What happens before the box runs a job: the questions for names the
// destination has, the checks that refuse it, the hand-over.
class CopyPlanningTest : public test_support::CopyJobFixture {};

TEST_F(CopyPlanningTest, EntriesThatMustNotOrNeedNotBeCopied) {
    // "./" and "../" would copy a folder's whole content; "K?se" stands for
    // two names on the box; "Kurz.ts" is in the destination and the user says no.
    for (const char* caption : {"./", "../", "K?se.ts", "Kurz.ts"}) {
        StartJob({caption});
    }
    EXPECT_THAT(window.questions,
                ElementsAre("Kurz.ts ist im Ziel schon vorhanden. Überschreiben?"));
    List(Destination, "hdd/Filme/Serien/", {"1 a.ts"});
    StartJob({"Serien/"});
    StartJob({"Serien/"}, TransferMode::Move);
    EXPECT_THAT(
        window.messages,
        ElementsAre(_, "Der Ordner hdd/Filme/Serien/ lässt sich nicht in sich selbst kopieren.",
                    "Der Ordner hdd/Filme/Serien/ lässt sich nicht in sich selbst verschieben."));
    EXPECT_TRUE(channel.sent.empty());
    EXPECT_FALSE(copy.Running());
    EXPECT_TRUE(window.mainPanelEnabled);
}

// F5 right after the destination's "go": the question reads the folder the
// copy goes to. "No" gives the panes back; after Esc while a job waits and
// F5 at once with another entry, only the second job may run.
TEST_F(CopyPlanningTest, ACopyWaitsForTheListingOfItsDestinationFolder) {
    session.ShowFolder(Destination, "PC1/");
    StartJob({"Kurz.ts"});
    EXPECT_FALSE(window.mainPanelEnabled);
    Reply("ls\r\ntotal 1\r\n4 Kurz.ts");
    EXPECT_THAT(window.questions, ElementsAre(HasSubstr("Kurz.ts ist im Ziel schon")));
    EXPECT_TRUE(window.mainPanelEnabled);
    FreeSpaceRead();

    session.ShowFolder(Destination, "PC2/");
    StartJob({"Der Film.ts"});
    copy.Cancel();
    EXPECT_TRUE(window.mainPanelEnabled);
    EXPECT_FALSE(copy.Running());
    StartJob({"Zweiter.ts"});
    EXPECT_FALSE(window.mainPanelEnabled);
    window.answerYes = true;
    Reply("ls\r\ntotal 1\r\n1 Der Film.ts\r\n1 Zweiter.ts");
    EXPECT_THAT(window.questions, ElementsAre(_, HasSubstr("Zweiter.ts ist im Ziel schon")));
    Measured({7000});
    Box();
    FreeSpaceRead();
    Box();
    EXPECT_EQ(runner.calls["submit"], 1);
    EXPECT_THAT(channel.sent, Each(Not(HasSubstr("Der Film"))));
    EXPECT_EQ(window.progress.start.source, "hdd/Filme/Zweiter.ts");
    EXPECT_EQ(window.progress.start.dest, "PC2/");
}

TEST_F(CopyPlanningTest, TheOverwriteQuestionsFourAnswers) {
    using enum OverwriteAnswer;
    const struct {
        std::deque<OverwriteAnswer> answers;
        std::size_t questions, taken;
    } cases[] = {
        {{Yes, No, Yes}, 3, 2}, {{YesToAll}, 1, 3}, {{No, NoToAll}, 2, 0}, {{Yes, YesToAll}, 2, 3}};
    for (const auto& c : cases) {
        List(Destination, "usb/", {"1 Der Film.ts", "4 Kurz.ts", "0 Serien/"});
        window.questions.clear();
        window.messages.clear();
        window.overwriteAnswers = c.answers;
        StartJob({"Der Film.ts", "Kurz.ts", "Serien/"});
        EXPECT_EQ(window.questions.size(), c.questions);
        if (c.taken == 0) {
            EXPECT_FALSE(copy.Running());
            EXPECT_THAT(window.messages, ElementsAre(HasSubstr("Von 3 Einträgen wurden 3 nicht")));
            EXPECT_EQ(window.statusTexts.back(), "0 von 3 Einträgen kopiert");
            continue;
        }
        Measured(std::vector<int>(c.taken, 1));
        Box();
        EXPECT_EQ(copy.Record().Load().back().job.entries.size(), c.taken);
        conversation.Drop();
        copy.ConnectionEnded();
    }
}

// Nothing reaches the runner when the job cannot succeed.
TEST_F(CopyPlanningTest, ChecksRefuseAJobBeforeItStarts) {
    const std::string fat =
        "usb/ liegt auf einem FAT-Laufwerk, das keine Dateien ab 4 GiB aufnimmt:";
    const struct {
        std::int64_t freeKB;
        std::string type, found;  // found: what the search for files of 4 GiB finds
        std::string refusal;
    } cases[] = {
        {4812, "ext4", "", "Auf usb/ sind nur 4.812 kB frei; gebraucht werden 11.720 kB."},
        {11719, "ext4", "", "Auf usb/ sind nur 11.719 kB frei; gebraucht werden 11.720 kB."},
        {11720, "ext4", "", ""},
        {500000, "vfat", "/var/media/hdd/Filme/Der Film.ts", fat + "\nhdd/Filme/Der Film.ts"},
        {500000, "vfat", "", ""},
    };
    for (const auto& c : cases) {
        window.messages.clear();
        runner = {};
        StartJob({"Der Film.ts", "Serien/"});
        Measured({8000, 3720}, c.freeKB, c.type);
        if (c.type == "vfat") {
            Reply("find\r\n" + c.found);
            Reply("find");
        }
        Box();
        EXPECT_EQ(runner.calls["submit"], c.refusal.empty() ? 1 : 0) << c.freeKB;
        EXPECT_EQ(window.messages,
                  c.refusal.empty() ? std::vector<std::string>() : std::vector{c.refusal});
        EXPECT_EQ(window.mainPanelEnabled, !c.refusal.empty());
        if (!c.refusal.empty()) {
            EXPECT_EQ(window.statusTexts.back(), "0 von 2 Einträgen kopiert");
        }
        conversation.Drop();
        copy.ConnectionEnded();
    }
}

TEST_F(CopyPlanningTest, AJobTheBoxDoesNotTakeIsReported) {
    const std::string notTaken = "Der Auftrag ließ sich nicht an die Box übergeben: ";
    const std::string noSpace = "mkdir: can't create directory '/tmp/olmirafm': No space left";
    const struct {
        bool installed;
        std::string writeWords, refusal, message;
    } cases[] = {
        {false, noSpace, "", notTaken + noSpace},
        {true, "", "keine Auftragsdatei", notTaken + "keine Auftragsdatei"},
        {false, "", "", ""},  // the runner is written first, then the job runs
    };
    for (const auto& c : cases) {
        runner = {.installed = c.installed, .writeWords = c.writeWords, .refusal = c.refusal};
        HandedOver({"Zweiter.ts"}, {7000});
        EXPECT_EQ(copy.Running(), c.message.empty()) << c.message;
        EXPECT_EQ(copy.Record().Load().size(), c.message.empty() ? 1u : 0u);
        if (!c.message.empty()) {
            EXPECT_EQ(window.messages.back(), c.message);
            EXPECT_EQ(window.statusTexts.back(), "0 von 1 Eintrag kopiert");
            EXPECT_TRUE(window.mainPanelEnabled);
        }
    }
    EXPECT_EQ(runner.calls["submit"], 1);
}

// Right to left: the right pane's entries into the left pane's folder.
TEST_F(CopyPlanningTest, TheOtherPaneCanBeTheSource) {
    window.answerYes = true;
    StartJob({"Kurz.ts"}, TransferMode::Copy, Destination);
    EXPECT_THAT(window.questions,
                ElementsAre("Kurz.ts ist im Ziel schon vorhanden. Überschreiben?"));
    EXPECT_THAT(channel.sent, ElementsAre(HasSubstr("/var/media/usb/Kurz.ts")));
    Measured({4});
    Box();
    const HandedJob handed = copy.Record().Load().at(0).job;
    EXPECT_EQ(handed.destFolder, "hdd/Filme/");
    EXPECT_EQ(handed.entries.at(0).folder, "usb/");
}

}  // namespace
}  // namespace olmira
