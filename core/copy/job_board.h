#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "copy/job_plan.h"
#include "jobs/runner_commands.h"
#include "jobs/runner_status.h"

namespace olmira {

// One entry of a job as the job list shows it.
struct BoardEntry {
    EntryOp op = EntryOp::Copy;
    std::string name;
    std::string from;  // the folder it lies in, below the media root
    std::string to;    // the job's destination folder
    std::int64_t sizeKB = 0;
    EntryState state = EntryState::Waiting;
    // While it runs: how far its copy has come, when the box told.
    std::optional<int> percent;
    std::optional<std::int64_t> rateKBs;
    // Why an ended entry was not done.
    std::string reason;
};

// A job of the box as the job list shows it.
struct BoardJob {
    int number = 0;
    std::string token;
    TransferMode mode = TransferMode::Copy;
    std::vector<BoardEntry> entries;
    bool ended = false;
    bool cancelling = false;
    // Last seen before the line dropped; the box runs it on.
    bool away = false;
    std::int64_t totalKB = 0;
    // What its ended entries hold, and the running entry's copy so far.
    std::int64_t doneKB = 0;
};

// What the follower knows of a job the box has: its status lines so far
// and, while an entry runs, the size of its copy and the rate.
struct JobProgress {
    RunnerJob status;
    std::optional<std::int64_t> runningKB;
    std::optional<std::int64_t> rateKBs;
    bool cancelling = false;
};

// ended: the job's report is final; an entry that did not end then was
// cut short or never begun.
BoardJob MakeBoardJob(const HandedJob& job, const JobProgress& progress, bool ended = false);

// "Läuft, 45 %, 1234 kB/s", "Fehlgeschlagen: nicht gefunden": an entry's
// state as the job list's state column reads.
std::string EntryStateText(const BoardEntry& entry);
// "Box: Folge 03.ts, 2 von 5, 45 %": the status bar's word on a running
// job; empty when none of its entries runs.
std::string JobIndicatorText(const BoardJob& job);
// The whole job's figure: "2 von 5 Einträgen beendet, 45 %".
std::string JobTotalText(const BoardJob& job);

// Whether path (below the media root, a folder's without "/") is an
// entry that one of jobs, not yet ended, reads or writes, or lies in or
// around one; the number of the first such job.
std::optional<int> JobUsing(const std::vector<BoardJob>& jobs, const std::string& path);

// "hdd/a.ts wird von Auftrag 3 auf der Box gebraucht; …": why path
// cannot be changed now.
std::string UsedByJobText(const std::string& path, int job);

// What the jobs not yet ended will still write to the drive of destFolder.
std::int64_t PendingKB(const std::vector<BoardJob>& jobs, const std::string& destFolder);

}  // namespace olmira
