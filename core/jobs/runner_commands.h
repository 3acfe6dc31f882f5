#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conversation/reply_lines.h"
#include "copy/job_plan.h"

namespace olmira {

// The runner lives in a folder of its own in the box's /tmp, a small tmpfs
// that a restart of the box empties.
inline constexpr std::string_view kRunnerFolder = "/tmp/olmirafm/";

// How each entry of a job reaches its destination.
enum class EntryOp {
    Copy,    // copied under a temporary name, then renamed into place
    Carry,   // a move across drives: copied so, then the source removed
    Rename,  // a move on the same drive: one mv
};

// One entry as it is handed to the runner: the folder it lies in and its
// caption, as a pane lists them below the media root, and its size as
// measured before (for the progress window; the runner does not need it).
struct HandedEntry {
    EntryOp op = EntryOp::Copy;
    std::string folder;
    std::string caption;
    std::int64_t sizeKB = 0;
    // An info file that goes along with the entry before it (JobSource).
    bool withRecording = false;
    bool operator==(const HandedEntry&) const = default;
};

// A job as the program hands it to the box; token tells it apart from every
// other job, on the box and in the program's own record.
struct HandedJob {
    std::string token;
    TransferMode mode = TransferMode::Copy;
    std::string destFolder;  // below the media root, ending in "/"
    std::vector<HandedEntry> entries;
    bool operator==(const HandedJob&) const = default;
};

// How many entries of a job the user gave, the info files that go along
// left out.
std::size_t GivenCount(const std::vector<HandedEntry>& entries);
// How many of them are done: each with the info files that went along.
std::size_t GivenDone(const std::vector<HandedEntry>& entries, const std::vector<bool>& done);

// "/tmp/olmirafm/runner-<version>.sh": another version of the program writes
// a runner of its own beside it.
std::string RunnerPath();

// Prints a line holding "olmirafm-ready" when this version's runner is there.
std::string RunnerCheckCommand();
bool RunnerReady(const ReplyLines& lines);

// The commands that write the runner to the box: under a temporary name
// first, so that a line dropped half-way leaves no runner cut short.
std::vector<std::string> RunnerInstallCommands();

// The commands that write job's file to path, each short enough for
// FitCommand to send; the file's lines are those the runner reads.
std::vector<std::string> JobFileCommands(const HandedJob& job, std::string_view path);
// The job file's lines.
std::vector<std::string> JobFileLines(const HandedJob& job);

// The runner's verbs: submit hands a written job file over and starts the
// runner when none runs; poll reads a job's state, its status lines from
// line known on and the running entry's progress; list reads every job;
// skip leaves an entry out that has not begun.
std::string SubmitCommand(std::string_view jobFile);
std::string PollCommand(int job, std::size_t known);
std::string ListCommand();
std::string CancelCommand(int job);
std::string ClearCommand(int job);
// Leaves entry (counted from 0) of job out when the runner comes to it.
std::string SkipCommand(int job, std::size_t entry);

// The temporary name an entry is copied to in its destination folder.
std::string TemporaryName(std::string_view caption);

// Whether a listed name (a folder's with its "/") is a job's temporary
// copy, or an entry set aside while its successor takes its name: the panes
// do not show them as recordings.
bool IsTemporaryName(std::string_view name);

// Removes the temporary copy a job's entry may have left in destFolder,
// when the runner's own record of it is gone with the box's /tmp.
std::string RemoveTemporaryCommand(std::string_view destFolder, std::string_view caption);

// The absolute source path as a pattern of the box's shell, as the runner
// evaluates it.
std::string SourceWord(const HandedEntry& entry);

}  // namespace olmira
