#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversation/reply_lines.h"
#include "jobs/runner_commands.h"

namespace olmira {

enum class RunnerJobState { Queued, Running, Ended, Interrupted, Unknown };

enum class EntryState { Waiting, Running, Done, Failed, Cancelled, Skipped };

// What the runner recorded of one entry. A failed entry names what failed
// (cp, size, mv, rm, name) and the words the box gave.
struct RunnerEntry {
    EntryState state = EntryState::Waiting;
    std::string failedStep;
    std::string message;
    bool operator==(const RunnerEntry&) const = default;
};

// A job as the runner tells of it. entries grows as status lines come; a
// list reply also gives the job's own lines (token, mode, destination and
// each entry's op and source pattern).
struct RunnerJob {
    int number = 0;
    RunnerJobState state = RunnerJobState::Unknown;
    std::string token;
    std::optional<TransferMode> mode;
    std::string destWord;
    // Each entry's op and source pattern: "cp /var/media/hdd/a.ts".
    std::vector<std::string> entryWords;
    std::vector<RunnerEntry> entries;
    // The status lines read so far: a poll asks only for those after them.
    std::size_t statusLines = 0;
    // The kB of the running entry's temporary copy, when the poll told it.
    std::optional<std::int64_t> progressKB;
};

// The job number that submit printed; nullopt when the runner refused it,
// with its reason in refusal when given.
std::optional<int> ParseSubmitted(const ReplyLines& lines, std::string* refusal = nullptr);

// Reads a poll's reply into job, which keeps what earlier polls told.
void ReadPoll(const ReplyLines& lines, RunnerJob& job);

// Every job a list reply names, in its order; complete only when the reply
// has its end line, else nullopt (no runner answered: the box's /tmp was
// emptied, or the reply was cut short).
std::optional<std::vector<RunnerJob>> ParseList(const ReplyLines& lines);

// Applies one status line ("3 done", "2 failed cp cp: ...", "end") to job.
void ApplyStatusLine(std::string_view line, RunnerJob& job);

// The German reason an entry was not done, for the end report; empty for a
// done entry.
std::string EntryReason(const RunnerEntry& status, TransferMode mode);

}  // namespace olmira
