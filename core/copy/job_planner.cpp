#include "copy/job_planner.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <utility>

#include "conversation/command_fit.h"
#include "conversation/conversation.h"
#include "conversation/shell_command.h"
#include "copy/copy_commands.h"
#include "copy/copy_progress.h"
#include "copy/copy_window.h"
#include "copy/name_pattern.h"
#include "session/box_session.h"
#include "session/session_window.h"
#include "settings/setup.h"

namespace olmira {

namespace {

// The paths that a search of the box printed, below the media root.
std::vector<std::string> FoundPaths(const ReplyLines& lines) {
    std::vector<std::string> paths;
    for (const std::string_view line : lines) {
        if (line.starts_with(kMediaRoot)) {
            paths.emplace_back(line.substr(kMediaRoot.size()));
        }
    }
    return paths;
}

// items split into runs in their order, each as long as command(run) still
// fits a line; an item too long for any line has a run of its own.
template <typename Command>
std::vector<std::vector<std::size_t>> FittingRuns(const std::vector<std::size_t>& items,
                                                  const Command& command) {
    std::vector<std::vector<std::size_t>> runs;
    std::vector<std::size_t> run;
    for (const std::size_t item : items) {
        run.push_back(item);
        if (run.size() > 1 && command(run).size() > kMaxLineBytes) {
            run.pop_back();
            runs.push_back(std::exchange(run, {item}));
        }
    }
    if (!run.empty()) {
        runs.push_back(std::move(run));
    }
    return runs;
}

}  // namespace

bool PlannedJob::Renames(const PlannedItem& item) const {
    return mode == TransferMode::Move && DriveOf(item.source.folder) == DriveOf(destFolder);
}

bool PlannedJob::AllRename() const {
    return std::all_of(items.begin(), items.end(),
                       [this](const PlannedItem& item) { return Renames(item); });
}

JobPlanner::JobPlanner(const TSetup& settings, BoxSession& session, SessionWindow& window,
                       CopyWindow& copyWindow, Conversation& conversation)
    : settings_(settings),
      session_(session),
      window_(window),
      copyWindow_(copyWindow),
      conversation_(conversation) {}

// The plan waits for what the conversation holds already; a job cancelled
// meanwhile keeps its id, so its step finds it gone even when another job
// has started since.
void JobPlanner::Start(TransferMode mode, std::vector<JobSource> sources, Pane to) {
    phase_ = Phase::Waiting;
    const std::uint64_t id = ++lastId_;
    copyWindow_.SetMainPanelEnabled(false);
    conversation_.Then([this, id, mode, sources = std::move(sources), to]() mutable {
        Plan(id, mode, std::move(sources), to);
    });
}

void JobPlanner::Plan(std::uint64_t id, TransferMode mode, std::vector<JobSource> sources,
                      Pane to) {
    if (phase_ != Phase::Waiting || id != lastId_) {
        return;
    }
    const PaneState& dest = session_.PaneOf(to);
    job_ = PlannedJob{};
    job_.id = id;
    job_.mode = mode;
    job_.from = to == Source ? Destination : Source;
    job_.to = to;
    job_.destFolder = dest.ListedPath;
    job_.report = JobReport{{GivenCount(sources), 0, {}}, mode};
    unmeasured_.clear();
    space_.reset();
    fat_ = searched_ = cancelled_ = false;
    tooLarge_.clear();
    if (const std::optional<std::string> refusal = PlaceRefusal(sources, job_.destFolder, mode)) {
        for (const JobSource& source : sources) {
            job_.report.problems.push_back({SourcePath(source), *refusal});
        }
        Drop(*refusal, true);
        return;
    }
    if (!ChooseItems(std::move(sources), *dest.Entries)) {
        Drop(job_.report.entries > 1 ? ReportText(job_.report) : std::string(), true);
        return;
    }
    phase_ = Phase::Measuring;
    window_.SetStatusText("Starte Kopiervorgang...");
    if (job_.AllRename()) {
        Check();
    } else {
        SendMeasures();
    }
}

// The user's answer to whether source replaces its namesake in the
// destination; all holds an answer for every entry after it.
bool JobPlanner::Overwrites(const JobSource& source, bool single, std::optional<bool>& all) {
    const std::string question = std::string(BareName(source.entry.caption)) +
                                 " ist im Ziel schon vorhanden. Überschreiben?";
    if (all) {
        return *all;
    }
    if (single) {
        return copyWindow_.AskYesNo(question);
    }
    const OverwriteAnswer answer = copyWindow_.AskOverwrite(question);
    const bool take = answer == OverwriteAnswer::Yes || answer == OverwriteAnswer::YesToAll;
    if (answer == OverwriteAnswer::YesToAll || answer == OverwriteAnswer::NoToAll) {
        all = take;
    }
    return take;
}

// An entry the destination has already is overwritten only when the user
// says so; the others are left out. An info file that goes along is not
// asked about: it goes with its recording, replacing an info file there
// (which, without that recording, belongs to nothing), or stays silently
// with it. False when no entry is left.
bool JobPlanner::ChooseItems(std::vector<JobSource> sources, const EntryList& destEntries) {
    std::optional<bool> all;
    const bool single = GivenCount(sources) == 1;
    bool recordingTaken = false;
    for (JobSource& source : sources) {
        if (source.withRecording) {
            if (recordingTaken) {
                job_.items.push_back({std::move(source), 0});
            }
            continue;
        }
        const bool take =
            !ListsName(source.entry.caption, destEntries) || Overwrites(source, single, all);
        recordingTaken = take;
        if (take) {
            job_.items.push_back({std::move(source), 0});
        } else {
            job_.report.problems.push_back(
                {SourcePath(source), "übersprungen, im Ziel schon vorhanden"});
        }
    }
    return !job_.items.empty();
}

// Nothing has been sent that changes anything.
void JobPlanner::Drop(const std::string& reason, bool show) {
    phase_ = Phase::Idle;
    copyWindow_.SetMainPanelEnabled(true);
    // the status tells this job's end, not the one before it
    window_.SetStatusText(cancelled_ ? "Kopiervorgang abgebrochen" : ReportStatus(job_.report));
    if (show && !reason.empty()) {
        window_.ShowMessage(reason);
    }
    if (OnDropped) {
        OnDropped(job_.report);
    }
}

// Each entry's size, as many as a line takes in one command, then the
// destination's free space and its file system; the checks follow once all
// have come.
void JobPlanner::SendMeasures() {
    std::vector<std::size_t> together;
    std::vector<std::size_t> alone;
    for (std::size_t i = 0; i < job_.items.size(); ++i) {
        if (!job_.Renames(job_.items[i])) {
            const bool pattern = SourcePath(job_.items[i].source).find('?') != std::string::npos;
            (pattern ? alone : together).push_back(i);
        }
    }
    SendSizesTogether(together);
    SendSizesAlone(alone);
    conversation_.Ask(FreeSpaceCommand(job_.destFolder),
                      [this] { space_ = ParseDiskSpace(session_.ReplyLines()); });
    conversation_.Ask(std::string(kMountsCommand), [this] { MeasuredMounts(); });
    conversation_.Then([this] { Check(); });
}

// Entries whose paths the box prints as they were given: one du for many.
void JobPlanner::SendSizesTogether(const std::vector<std::size_t>& items) {
    const auto pathsOf = [this](const std::vector<std::size_t>& run) {
        std::vector<std::string> paths;
        for (const std::size_t i : run) {
            paths.push_back(SourcePath(job_.items[i].source));
        }
        return paths;
    };
    for (std::vector<std::size_t>& run :
         FittingRuns(items, [&](const auto& run) { return DiskUsagesCommand(pathsOf(run)); })) {
        std::vector<std::string> paths = pathsOf(run);
        std::string command = DiskUsagesCommand(paths);
        conversation_.Ask(std::move(command),
                          [this, run, paths = std::move(paths)] { MeasuredTogether(run, paths); });
    }
}

// Entries that the box's shell finds by a pattern: a du each, as only the
// order of the replies tells them apart.
void JobPlanner::SendSizesAlone(const std::vector<std::size_t>& items) {
    const auto marked = [this](const std::vector<std::size_t>& run) {
        std::vector<std::string> commands;
        for (const std::size_t i : run) {
            const JobSource& source = job_.items[i].source;
            commands.push_back(MarkedDiskUsageCommand(source.folder, source.entry.caption));
        }
        return Joined(commands, "; ");
    };
    for (std::vector<std::size_t>& run : FittingRuns(items, marked)) {
        conversation_.Ask(marked(run), [this, run] { MeasuredSizes(run); });
    }
}

void JobPlanner::MeasuredTogether(const std::vector<std::size_t>& items,
                                  const std::vector<std::string>& paths) {
    if (phase_ != Phase::Measuring) {
        return;
    }
    const std::vector<ReplyLines> replies = SizeReplies(session_.ReplyLines());
    const ReplyLines reply = replies.empty() ? ReplyLines() : replies.front();
    const std::vector<std::optional<std::int64_t>> figures = ParseDuFigures(reply, paths);
    const std::vector<std::string> messages = ToolMessages(reply, "du: ");
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (figures[i]) {
            job_.items[items[i]].sizeKB = *figures[i];
            continue;
        }
        // du's message names the path as it was given, unless it quoted it
        const std::string given = std::string(kMediaRoot) + paths[i];
        std::vector<std::string> own;
        std::copy_if(messages.begin(), messages.end(), std::back_inserter(own),
                     [&given](const std::string& message) {
                         return message.find(given) != std::string::npos;
                     });
        Unmeasured(items[i], own.empty() ? messages : own);
    }
}

void JobPlanner::MeasuredSizes(const std::vector<std::size_t>& items) {
    if (phase_ != Phase::Measuring) {
        return;
    }
    const std::vector<ReplyLines> replies = SizeReplies(session_.ReplyLines());
    for (std::size_t i = 0; i < items.size(); ++i) {
        MeasuredSize(items[i], i < replies.size() ? replies[i] : ReplyLines());
    }
}

void JobPlanner::MeasuredSize(std::size_t index, const ReplyLines& reply) {
    if (const std::optional<std::int64_t> kB = ParseDuFigure(reply)) {
        job_.items[index].sizeKB = *kB;
        return;
    }
    Unmeasured(index, ToolMessages(reply, "du: "));
}

void JobPlanner::Unmeasured(std::size_t index, const std::vector<std::string>& messages) {
    std::string unmeasured = SourcePath(job_.items[index].source);
    if (!messages.empty()) {
        unmeasured += " (" + Joined(messages, "; ") + ")";
    }
    unmeasured_.push_back(std::move(unmeasured));
}

// A FAT drive cannot take files of 4 GiB or more: cp would find out only
// after copying 4 GiB.
void JobPlanner::MeasuredMounts() {
    if (phase_ != Phase::Measuring) {
        return;
    }
    const std::string destPath = std::string(kMediaRoot) + job_.destFolder;
    fat_ = IsFatFileSystem(FileSystemType(session_.ReplyLines(), destPath));
}

// Runs as a step, so the searches go before the check that follows them.
void JobPlanner::SearchLargeFiles() {
    searched_ = true;
    for (const PlannedItem& item : job_.items) {
        if (!job_.Renames(item)) {
            conversation_.Ask(
                LargeFilesCommand(item.source.folder, item.source.entry.caption), [this] {
                    std::vector<std::string> found = FoundPaths(session_.ReplyLines());
                    tooLarge_.insert(tooLarge_.end(), found.begin(), found.end());
                });
        }
    }
    conversation_.Then([this] { Check(); });
}

std::optional<std::string> JobPlanner::CheckRefusal() const {
    if (job_.AllRename()) {
        return std::nullopt;
    }
    if (!unmeasured_.empty()) {
        return "Die Größe ist nicht zu ermitteln:\n" + Joined(unmeasured_, "\n");
    }
    if (!space_) {
        return "Der freie Platz auf " + job_.destFolder + " ist nicht zu ermitteln.";
    }
    // what the jobs before this one will still write is not free for it
    const std::int64_t freeKB = space_->freeKB - (PendingKB ? PendingKB(job_.destFolder) : 0);
    if (job_.totalKB > freeKB) {
        return SpaceRefusal(job_.destFolder, std::max<std::int64_t>(freeKB, 0), job_.totalKB);
    }
    if (!tooLarge_.empty()) {
        return FatRefusal(job_.destFolder, tooLarge_);
    }
    return std::nullopt;
}

void JobPlanner::Check() {
    if (phase_ != Phase::Measuring) {
        return;
    }
    if (fat_ && !searched_ && !cancelled_) {
        SearchLargeFiles();
        return;
    }
    job_.totalKB = std::accumulate(
        job_.items.begin(), job_.items.end(), std::int64_t{0},
        [](std::int64_t sum, const PlannedItem& item) { return sum + item.sizeKB; });
    std::optional<std::string> refusal =
        cancelled_ ? std::optional<std::string>("abgebrochen") : CheckRefusal();
    if (refusal) {
        job_.report.problems.clear();
        for (const PlannedItem& item : job_.items) {
            job_.report.problems.push_back({SourcePath(item.source), *refusal});
        }
        Drop(*refusal, !cancelled_);
        return;
    }
    phase_ = Phase::Idle;
    if (OnPlanned) {
        OnPlanned(job_);
    }
}

void JobPlanner::ConnectionEnded() {
    if (phase_ != Phase::Idle) {
        phase_ = Phase::Idle;
        copyWindow_.SetMainPanelEnabled(true);
    }
}

void JobPlanner::Cancel() {
    if (phase_ == Phase::Waiting) {
        // Nothing has been sent for this job yet; its step finds it gone.
        phase_ = Phase::Idle;
        copyWindow_.SetMainPanelEnabled(true);
        return;
    }
    cancelled_ = true;
}

}  // namespace olmira
