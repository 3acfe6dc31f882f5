#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
        for (const HandedEntry& entry : copy.Record().Load().at(0).job.entries) {
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

}  // namespace
}  // namespace olmira
