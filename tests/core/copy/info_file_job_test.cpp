#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>

#include "copy/copy_controller.h"
#include "copy_job_fixture.h"

namespace olmira {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Recordings whose info files go along unselected.
class InfoFileJobTest : public test_support::CopyJobFixture {
protected:
    InfoFileJobTest() {
        List(Source, "hdd/Filme/",
             {"8000 Der Film.ts", "1 Der Film.crid", "7000 Zweiter.ts", "1 Zweiter.crid",
              "4 Kurz.ts"});
    }

    std::vector<bool> HandedAlong() const {
        std::vector<bool> along;
        const auto recorded = copy.Record().Load();
        for (const HandedEntry& entry : recorded.at(0).job.entries) {
            along.push_back(entry.withRecording);
        }
        return along;
    }
};

// Only the entries the user selected are counted; a recording is done once
// the info file that went along with it is too.
TEST_F(InfoFileJobTest, TheCountIsOfTheSelectedEntries) {
    const struct {
        std::vector<std::string> selected;
        std::vector<bool> along;
        std::vector<std::string> end;
        std::string status, message;
    } cases[] = {
        {{"Der Film.ts", "Zweiter.ts"},
         {false, true, false, true},
         {"1 done", "2 done", "3 done", "4 done"},
         "2 von 2 Einträgen kopiert",
         ""},
        {{"Der Film.ts", "Zweiter.ts"},
         {false, true, false, true},
         {"1 done", "2 done", "3 done", "4 failed cp cp: kaputt"},
         "1 von 2 Einträgen kopiert",
         "Von 2 Einträgen wurde 1 nicht kopiert:\nhdd/Filme/Zweiter.crid: cp: kaputt; die "
         "unvollständige Kopie wurde entfernt"},
        {{"Der Film.ts"}, {false, true}, {"1 done", "2 done"}, "1 von 1 Eintrag kopiert", ""},
        {{"Der Film.crid", "Der Film.ts"},
         {false, false},
         {"1 done", "2 done"},
         "2 von 2 Einträgen kopiert",
         ""},
    };
    for (const auto& c : cases) {
        runner = {};
        window.messages.clear();
        StartJob(c.selected);
        Measured({1, 1, 1, 1});
        Box();
        EXPECT_EQ(HandedAlong(), c.along) << c.status;
        Finish(c.end, JobFollower::kQuietPollMs);
        EXPECT_EQ(window.statusTexts.back(), c.status);
        Expire(JobFollower::kSettleMs);
        EXPECT_EQ(window.messages,
                  c.message.empty() ? std::vector<std::string>() : std::vector{c.message});
        DestinationListed();
    }
}

// The progress window counts the chosen recordings; while an info file
// travels, its recording is the one on its way.
TEST_F(InfoFileJobTest, TheProgressWindowCountsOnlyTheChosenEntries) {
    StartJob({"Der Film.ts", "Zweiter.ts"});
    Measured({8000, 1, 7000, 1});
    Box();
    // The runner's status lines are a log: each poll adds to it.
    const std::pair<std::vector<std::string>, std::pair<std::string, std::size_t>> polls[] = {
        {{"1 run"}, {"Der Film.ts", 1}},
        {{"1 done", "2 run"}, {"Der Film.ts", 1}},
        {{"2 done", "3 run"}, {"Zweiter.ts", 2}},
        {{"3 done", "4 run"}, {"Zweiter.ts", 2}},
    };
    for (const auto& [status, shown] : polls) {
        runner.status.insert(runner.status.end(), status.begin(), status.end());
        ASSERT_TRUE(window.copyTimerMs);
        Expire(*window.copyTimerMs);
        const CopyProgressUpdate& update = window.progress.updates.back();
        EXPECT_EQ(update.item, shown.first) << status.back();
        EXPECT_EQ(update.itemNumber, shown.second) << status.back();
        EXPECT_EQ(update.itemCount, 2u);
    }
}

// An info file that goes along is never asked about: it is overwritten with
// its recording, stays silently with it, and replaces an info file that the
// destination holds without the recording.
TEST_F(InfoFileJobTest, TheInfoFileFollowsItsRecordingsAnswer) {
    using enum OverwriteAnswer;
    const struct {
        std::vector<std::string> destination, selected;
        std::deque<OverwriteAnswer> answers;
        std::vector<std::string> questions, handed, messages;
    } cases[] = {
        {{"8000 Der Film.ts", "1 Der Film.crid"},
         {"Der Film.ts"},
         {Yes},
         {"Der Film.ts"},
         {"Der Film.ts", "Der Film.crid"},
         {}},
        {{"8000 Der Film.ts", "1 Der Film.crid"}, {"Der Film.ts"}, {No}, {"Der Film.ts"}, {}, {}},
        {{"1 Der Film.crid"}, {"Der Film.ts"}, {}, {}, {"Der Film.ts", "Der Film.crid"}, {}},
        {{"8000 Der Film.ts", "1 Der Film.crid", "1 Zweiter.crid"},
         {"Der Film.ts", "Zweiter.ts"},
         {No},
         {"Der Film.ts"},
         {"Zweiter.ts", "Zweiter.crid"},
         {"Von 2 Einträgen wurde 1 nicht kopiert:\n"
          "hdd/Filme/Der Film.ts: übersprungen, im Ziel schon vorhanden"}},
        {{"8000 Der Film.ts", "1 Der Film.crid", "1 Zweiter.ts", "1 Zweiter.crid"},
         {"Der Film.ts", "Zweiter.ts"},
         {YesToAll},
         {"Der Film.ts"},
         {"Der Film.ts", "Der Film.crid", "Zweiter.ts", "Zweiter.crid"},
         {}},
    };
    for (const auto& c : cases) {
        runner = {};
        window.questions.clear();
        window.messages.clear();
        List(Destination, "usb/", c.destination);
        window.answerYes = c.answers == std::deque{Yes};
        window.overwriteAnswers = c.answers;
        StartJob(c.selected);
        std::vector<std::string> asked;
        for (const std::string& question : window.questions) {
            asked.push_back(question.substr(0, question.find(" ist im Ziel")));
        }
        EXPECT_EQ(asked, c.questions) << c.handed.size();
        if (c.handed.empty()) {
            EXPECT_FALSE(copy.Running());
            EXPECT_THAT(window.messages, IsEmpty());
            EXPECT_EQ(window.statusTexts.back(), "0 von 1 Eintrag kopiert");
            continue;
        }
        Measured({1, 1, 1, 1});
        Box();
        std::vector<std::string> handed;
        const auto recorded = copy.Record().Load();
        for (const HandedEntry& entry : recorded.at(0).job.entries) {
            handed.push_back(entry.caption);
        }
        EXPECT_EQ(handed, c.handed);
        std::vector<std::string> end;
        for (std::size_t i = 1; i <= handed.size(); ++i) {
            end.push_back(std::to_string(i) + " done");
        }
        Finish(end, JobFollower::kQuietPollMs);
        Expire(JobFollower::kSettleMs);
        EXPECT_EQ(window.messages, c.messages);
        Listed(c.destination);
    }
}

}  // namespace
}  // namespace olmira
