#include "copy/job_board.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace olmira {
namespace {

using ::testing::ElementsAre;

// A move of a folder and two files from hdd/Filme/ to usb/Neu/.
HandedJob Move() {
    return {"t",
            TransferMode::Move,
            "usb/Neu/",
            {{EntryOp::Carry, "hdd/Filme/", "Serien/", 3000},
             {EntryOp::Carry, "hdd/Filme/", "a.ts", 1000},
             {EntryOp::Rename, "usb/", "b.ts", 500}}};
}

JobProgress Status(RunnerJobState state, std::vector<RunnerEntry> entries,
                   std::optional<std::int64_t> runningKB = std::nullopt) {
    JobProgress progress;
    progress.status.number = 4;
    progress.status.state = state;
    progress.status.entries = std::move(entries);
    progress.runningKB = runningKB;
    progress.rateKBs = 250;
    return progress;
}

std::vector<std::string> States(const BoardJob& job) {
    std::vector<std::string> states;
    for (const BoardEntry& entry : job.entries) {
        states.push_back(EntryStateText(entry));
    }
    return states;
}

// What the list shows of each entry, from the first poll to the end.
TEST(JobBoardTest, EachEntryShowsItsStateAndTheJobItsTotal) {
    const RunnerEntry done{EntryState::Done, {}, {}};
    const RunnerEntry running{EntryState::Running, {}, {}};
    const RunnerEntry missing{EntryState::Failed, "name", "0"};

    const BoardJob queued = MakeBoardJob(Move(), Status(RunnerJobState::Queued, {}));
    EXPECT_THAT(States(queued), ElementsAre("wartet", "wartet", "wartet"));
    EXPECT_FALSE(queued.ended);
    EXPECT_EQ(JobIndicatorText(queued), "");

    const BoardJob busy =
        MakeBoardJob(Move(), Status(RunnerJobState::Running, {done, running}, 500));
    EXPECT_THAT(States(busy), ElementsAre("fertig", "läuft, 50 %, 250 kB/s", "wartet"));
    EXPECT_EQ(busy.doneKB, 3500);
    EXPECT_EQ(JobIndicatorText(busy), "Box: a.ts, 2 von 3, 77 %");
    EXPECT_EQ(JobTotalText(busy), "1 von 3 Einträgen beendet, 77 %");

    const BoardJob ended = MakeBoardJob(
        Move(), Status(RunnerJobState::Ended, {done, missing, {EntryState::Skipped, {}, {}}}));
    EXPECT_TRUE(ended.ended);
    EXPECT_THAT(States(ended),
                ElementsAre("fertig", "fehlgeschlagen: nicht gefunden", "abgebrochen"));
    EXPECT_EQ(JobTotalText(ended), "3 von 3 Einträgen beendet, 100 %");

    // a runner cut short leaves its unfinished entries failed, not waiting
    const BoardJob cut = MakeBoardJob(Move(), Status(RunnerJobState::Interrupted, {done}));
    EXPECT_THAT(States(cut), ElementsAre("fertig", "fehlgeschlagen: unterbrochen",
                                         "fehlgeschlagen: unterbrochen"));

    // a job the box no longer knows, reported as ended by this PC
    const BoardJob gone = MakeBoardJob(Move(), Status(RunnerJobState::Unknown, {}), true);
    EXPECT_TRUE(gone.ended);
    EXPECT_EQ(States(gone)[0], "fehlgeschlagen: unterbrochen, die Box wurde neu gestartet");
}

// An entry a job has yet to read or write is held, with what lies in and
// around it; its neighbours and the entries it has finished are not.
TEST(JobBoardTest, AJobHoldsTheEntriesItHasYetToTake) {
    const RunnerEntry done{EntryState::Done, {}, {}};
    const std::vector<BoardJob> jobs{MakeBoardJob(Move(), Status(RunnerJobState::Running, {done}))};
    const struct {
        const char* path;
        bool held;
    } cases[] = {
        {"hdd/Filme/a.ts", true},     // a source
        {"usb/Neu/a.ts", true},       // its destination
        {"hdd/Filme", true},          // the folder around a source
        {"usb", true},                // the drive around the destination
        {"usb/b.ts", true},           // the source of a rename
        {"hdd/Filme/a.tsx", false},   // a neighbour with a longer name
        {"hdd/Filme/Serien", false},  // done already
        {"hdd/Filme/Serien/Folge 1.ts", false},
        {"hdd/Dokus/a.ts", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JobUsing(jobs, c.path).has_value(), c.held) << c.path;
    }
    EXPECT_EQ(JobUsing(jobs, "hdd/Filme/a.ts"), 4);

    std::vector<BoardJob> ended = jobs;
    ended.front().ended = true;
    EXPECT_FALSE(JobUsing(ended, "hdd/Filme/a.ts"));
}

// What jobs still write counts against the free space of their
// destination's drive; a rename writes nothing, and finished entries are
// on the drive already.
TEST(JobBoardTest, PendingWritesCountOnTheirDriveOnly) {
    const RunnerEntry done{EntryState::Done, {}, {}};
    const std::vector<BoardJob> jobs{MakeBoardJob(Move(), Status(RunnerJobState::Running, {done})),
                                     MakeBoardJob(Move(), Status(RunnerJobState::Queued, {}))};
    EXPECT_EQ(PendingKB(jobs, "usb/Andere/"), 1000 + 3000 + 1000);
    EXPECT_EQ(PendingKB(jobs, "hdd/"), 0);
}

}  // namespace
}  // namespace olmira
