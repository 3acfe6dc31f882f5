#include "copy/copy_controller.h"

#include <algorithm>
#include <chrono>
#include <random>

#include "copy/copy_window.h"
#include "copy/name_pattern.h"
#include "session/box_session.h"
#include "session/session_window.h"
#include "settings/setup.h"

namespace olmira {

namespace {

// Tells a job from every other on the box and in the record, whichever PC
// or run handed it over.
std::string NewToken() {
    std::random_device random;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now).count();
    return std::to_string(seconds) + "-" + std::to_string(random()) + std::to_string(random());
}

HandedJob Handed(const PlannedJob& job) {
    HandedJob handed{NewToken(), job.mode, job.destFolder, {}};
    for (const PlannedItem& item : job.items) {
        const EntryOp op = job.Renames(item)                ? EntryOp::Rename
                           : job.mode == TransferMode::Move ? EntryOp::Carry
                                                            : EntryOp::Copy;
        handed.entries.push_back({op, item.source.folder, item.source.entry.caption, item.sizeKB,
                                  item.source.withRecording});
    }
    return handed;
}

}  // namespace

CopyController::CopyController(const TSetup& settings, BoxSession& session, SessionWindow& window,
                               CopyWindow& copyWindow, Conversation& conversation)
    : settings_(settings),
      window_(window),
      copyWindow_(copyWindow),
      session_(session),
      conversation_(conversation),
      planner_(settings, session, window, copyWindow, conversation),
      handover_(session, conversation),
      follower_(settings, session, window, copyWindow, conversation),
      foundAgain_(settings, session, conversation, handover_) {
    planner_.OnPlanned = [this](PlannedJob job) { HandOver(job); };
    planner_.OnDropped = [this](const JobReport& report) { report_ = report; };
    follower_.OnEnded = [this](const FollowedJob& job, const JobReport& report) {
        report_ = report;
        Record().Remove(job.job.token);
        ended_.push_back(MakeBoardJob(job.job, follower_.Progress(), true));
        Changed();
    };
    follower_.OnProgress = [this] { Changed(); };
    planner_.PendingKB = [this](const std::string& destFolder) {
        return PendingKB(Board(), destFolder);
    };
    foundAgain_.Follow = [this](FollowedJob job) { Follow(std::move(job)); };
}

void CopyController::FindJobsAgain(bool afterDrop) {
    foundAgain_.Look(afterDrop || settings_.background_jobs);
}

void CopyController::Follow(FollowedJob job) {
    std::erase_if(away_, [&job](const BoardJob& away) { return away.token == job.job.token; });
    number_ = job.number;
    follower_.Follow(std::move(job));
}

void CopyController::AskRunner(std::string command,
                               std::function<void(bool, const std::string&)> replied) {
    handover_.EnsureRunner([this, command = std::move(command), replied = std::move(replied)](
                               bool ready, const std::string& reason) {
        if (!ready) {
            replied(false, reason);
            return;
        }
        conversation_.Send({command, [this] { conversation_.Framer().Clear(); },
                            [replied] { replied(true, {}); }});
    });
}

JobRecord CopyController::Record() const {
    return JobRecord(settings_.JobRecordPath);
}

bool CopyController::Running() const {
    return planner_.Busy() || handingOver_ || follower_.Busy() || !queued_.empty();
}

bool CopyController::Accepting() const {
    return !planner_.Busy() && !handingOver_ && !follower_.InForeground();
}

std::vector<BoardJob> CopyController::Board() const {
    std::vector<BoardJob> board = ended_;
    if (follower_.Busy() && follower_.Followed().number != 0 &&
        (ended_.empty() || ended_.back().number != follower_.Followed().number)) {
        board.push_back(MakeBoardJob(follower_.Followed().job, follower_.Progress()));
    }
    board.insert(board.end(), away_.begin(), away_.end());
    for (const FollowedJob& job : queued_) {
        JobProgress waiting;
        waiting.status.number = job.number;
        waiting.status.state = RunnerJobState::Queued;
        waiting.cancelling = std::find(cancelledQueued_.begin(), cancelledQueued_.end(),
                                       job.number) != cancelledQueued_.end();
        board.push_back(MakeBoardJob(job.job, waiting));
    }
    return board;
}

std::optional<int> CopyController::JobUsing(const std::string& path) const {
    return olmira::JobUsing(Board(), path);
}

void CopyController::CancelJob(int number) {
    if (follower_.Busy() && follower_.Followed().number == number) {
        follower_.Cancel();
    } else if (std::any_of(queued_.begin(), queued_.end(),
                           [number](const FollowedJob& job) { return job.number == number; })) {
        conversation_.Send({CancelCommand(number), {}, {}});
        cancelledQueued_.push_back(number);
    }
    Changed();
}

void CopyController::CancelEntry(int number, std::size_t entry) {
    conversation_.Send({SkipCommand(number, entry), {}, {}});
}

void CopyController::ClearEnded() {
    ended_.clear();
    Changed();
}

void CopyController::Changed() const {
    if (OnJobsChanged) {
        OnJobsChanged();
    }
}

// A name the box showed with "?" must lead to one entry only.
bool CopyController::Unambiguous(const std::string& name, const EntryList& entries) const {
    if (name.find('?') != std::string::npos && CountMatches(name, entries) > 1) {
        window_.ShowMessage("Der Name " + name +
                            " passt auf der Box zu mehreren Einträgen; bitte einzeln umbenennen.");
        return false;
    }
    return true;
}

void CopyController::tbCopyFileClick() {
    StartJob(TransferMode::Copy, Source);
}

// The entries are the pane's as it lists them now; the other pane's answer
// to a listing still on its way is waited for, with the panes locked.
void CopyController::StartJob(TransferMode mode, Pane from) {
    const Pane to = from == Source ? Destination : Source;
    if (!Accepting() || session_.PaneOf(to).CurrentPath.empty()) {
        return;
    }
    const PaneState& pane = session_.PaneOf(from);
    std::vector<ListEntry> selected = window_.SelectedEntries(from);
    for (const ListEntry& entry : selected) {
        if (!Unambiguous(entry.caption, *pane.Entries)) {
            return;
        }
    }
    std::vector<JobSource> sources =
        SourcesTaken(settings_, pane.ListedPath, std::move(selected), *pane.Entries);
    for (const JobSource& source : sources) {
        const std::optional<int> user = JobUsing(SourcePath(source));
        if (mode == TransferMode::Move && user) {
            window_.ShowMessage(UsedByJobText(SourcePath(source), *user));
            return;
        }
    }
    StartJob(mode, std::move(sources), to);
}

void CopyController::StartJob(TransferMode mode, std::vector<JobSource> sources, Pane to) {
    if (!Accepting() || sources.empty() || (TidyBusy && TidyBusy())) {
        return;
    }
    number_ = 0;
    planner_.Start(mode, std::move(sources), to);
}

void CopyController::HandOver(const PlannedJob& job) {
    handingOver_ = true;
    cancelBeforeHandedOver_ = false;
    const HandedJob handed = Handed(job);
    handover_.HandOver(handed,
                       [this, job, handed](std::optional<int> number, const std::string& reason) {
                           HandedOver(job, handed, number, reason);
                       });
}

void CopyController::HandedOver(const PlannedJob& job, const HandedJob& handed,
                                std::optional<int> number, const std::string& reason) {
    if (!handingOver_) {
        return;
    }
    handingOver_ = false;
    if (!number) {
        report_ = job.report;
        for (const PlannedItem& item : job.items) {
            report_.problems.push_back({SourcePath(item.source), reason});
        }
        copyWindow_.SetMainPanelEnabled(true);
        window_.SetStatusText(ReportStatus(report_));
        window_.ShowMessage(reason);
        return;
    }
    number_ = *number;
    Record().Add({settings_.olmira_Host, *number, handed});
    FollowedJob followed{*number, handed, job.report, false, true, settings_.background_jobs};
    if (follower_.Busy()) {
        followed.background = true;
        queued_.push_back(std::move(followed));
        copyWindow_.SetMainPanelEnabled(true);
        window_.SetStatusText("Auftrag " + std::to_string(*number) +
                              " wartet auf der Box, bis der laufende beendet ist");
        if (cancelBeforeHandedOver_) {
            CancelJob(*number);
        }
        Changed();
        return;
    }
    const bool background = followed.background;
    follower_.Follow(std::move(followed));
    if (background) {
        copyWindow_.SetMainPanelEnabled(true);
        window_.SetStatusText("Auftrag " + std::to_string(*number) +
                              " läuft auf der Box im Hintergrund");
    }
    if (cancelBeforeHandedOver_) {
        follower_.Cancel();
    }
    Changed();
}

// The next job waiting on the box, once the one before it has been
// reported.
void CopyController::FollowNext() {
    if (queued_.empty() || follower_.Busy()) {
        return;
    }
    FollowedJob next = std::move(queued_.front());
    queued_.pop_front();
    const bool cancelled = std::erase(cancelledQueued_, next.number) > 0;
    follower_.Follow(std::move(next));
    if (cancelled) {
        follower_.Cancel();
    }
}

// A job found again waits until the one before it has been reported.
void CopyController::CopyTimerTimer() {
    follower_.TimerTimer();
    FollowNext();
    if (!Running()) {
        foundAgain_.Next();
    }
}

void CopyController::Cancel() {
    if (handingOver_) {
        cancelBeforeHandedOver_ = true;
        window_.SetStatusText("Kopiervorgang wird abgebrochen...");
    } else if (follower_.InForeground()) {
        follower_.Cancel();
    } else {
        planner_.Cancel();
    }
}

void CopyController::ConnectionEnded() {
    if (handingOver_) {
        copyWindow_.SetMainPanelEnabled(true);
    }
    for (BoardJob& job : Board()) {
        if (!job.ended && !job.away) {
            job.away = true;
            away_.push_back(std::move(job));
        }
    }
    handingOver_ = false;
    planner_.ConnectionEnded();
    follower_.ConnectionEnded();
    // the box runs them on; the next login finds them again
    queued_.clear();
    cancelledQueued_.clear();
    Changed();
}

}  // namespace olmira
