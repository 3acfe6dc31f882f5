#include "copy/job_follower.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "conversation/conversation.h"
#include "copy/copy_progress.h"
#include "copy/copy_window.h"
#include "copy/name_pattern.h"
#include "session/box_session.h"
#include "session/session_window.h"
#include "settings/setup.h"

namespace olmira {

namespace {

constexpr char kFailedStatus[] = "Kopieren fehlgeschlagen";
constexpr char kCancelledStatus[] = "Kopiervorgang abgebrochen";

std::string EntryPath(const HandedEntry& entry) {
    return entry.folder + std::string(BareName(entry.caption));
}

bool Ended(const RunnerEntry& entry) {
    return entry.state != EntryState::Waiting && entry.state != EntryState::Running;
}

// A message's parts, one a line.
std::string LinesOf(std::string_view reason) {
    std::string text;
    for (std::size_t at = reason.find("; "); at != std::string_view::npos; at = reason.find("; ")) {
        text.append(reason.substr(0, at)).push_back('\n');
        reason.remove_prefix(at + 2);
    }
    return text.append(reason);
}

// The selected entries among the first end: an info file that travels
// along is part of its recording, not an entry the user chose.
std::size_t ChosenEntries(const std::vector<HandedEntry>& entries, std::size_t end) {
    return static_cast<std::size_t>(
        std::count_if(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(end),
                      [](const HandedEntry& entry) { return !entry.withRecording; }));
}

// A job of several entries names the one on its way, or the recording whose
// info file is, and where it stands among them.
void NameEntryOnItsWay(const std::vector<HandedEntry>& entries, std::size_t current,
                       CopyProgressUpdate& update) {
    const std::size_t count = ChosenEntries(entries, entries.size());
    if (count < 2) {
        return;
    }
    while (current > 0 && entries[current].withRecording) {
        --current;
    }
    const HandedEntry& entry = entries[current];
    update.item = BareName(entry.caption);
    update.source = entry.folder + entry.caption;
    update.itemNumber = ChosenEntries(entries, current + 1);
    update.itemCount = count;
}

}  // namespace

JobFollower::JobFollower(const TSetup& settings, BoxSession& session, SessionWindow& window,
                         CopyWindow& copyWindow, Conversation& conversation)
    : settings_(settings),
      session_(session),
      window_(window),
      copyWindow_(copyWindow),
      conversation_(conversation) {}

void JobFollower::Follow(FollowedJob job) {
    followed_ = std::move(job);
    status_ = RunnerJob{};
    status_.number = followed_.number;
    const std::vector<HandedEntry>& entries = followed_.job.entries;
    totalKB_ = std::accumulate(
        entries.begin(), entries.end(), std::int64_t{0},
        [](std::int64_t sum, const HandedEntry& entry) { return sum + entry.sizeKB; });
    const bool allRename = std::all_of(entries.begin(), entries.end(), [](const HandedEntry& e) {
        return e.op == EntryOp::Rename;
    });
    lastKB_ = followed_.startedHere ? std::optional<std::int64_t>(0) : std::nullopt;
    rateKBs_.reset();
    listedEnded_ = 0;
    pollOutstanding_ = cancelRequested_ = cancelSent_ = false;
    message_.clear();
    phase_ = Phase::Following;
    if (!followed_.background) {
        copyWindow_.SetMainPanelEnabled(false);
    }
    windowShown_ = !allRename && !followed_.foundAgain && !followed_.background &&
                   totalKB_ > settings_.progress_min_size;
    if (windowShown_) {
        const HandedEntry& first = entries.front();
        copyWindow_.ShowProgressWindow(
            {first.folder + first.caption, followed_.job.destFolder, totalKB_});
    }
    copyWindow_.StartCopyTimer(followed_.foundAgain ? 0 : PollMs());
}

int JobFollower::PollMs() const {
    if (cancelRequested_) {
        return kCancelPollMs;
    }
    const bool large =
        windowShown_ || (followed_.background && totalKB_ > settings_.progress_min_size);
    return large ? PollIntervalMs(settings_.update_intervall) : kQuietPollMs;
}

JobProgress JobFollower::Progress() const {
    return {status_, status_.progressKB, rateKBs_, cancelRequested_};
}

void JobFollower::SendToBackground() {
    if (!InForeground()) {
        return;
    }
    followed_.background = true;
    if (windowShown_) {
        copyWindow_.CloseProgressWindow();
        windowShown_ = false;
    }
    copyWindow_.SetMainPanelEnabled(true);
    window_.SetStatusText("Der Auftrag läuft auf der Box im Hintergrund weiter");
}

// One command at a time: the cancel, once asked for, goes before the poll.
void JobFollower::SendPoll() {
    if (cancelRequested_ && !cancelSent_) {
        conversation_.Send({CancelCommand(followed_.number), {}, {}});
        cancelSent_ = true;
    }
    pollOutstanding_ = true;
    conversation_.Ask(PollCommand(followed_.number, status_.statusLines), [this] { Polled(); });
}

void JobFollower::TimerTimer() {
    if (phase_ == Phase::Following && !pollOutstanding_) {
        SendPoll();
    } else if (phase_ == Phase::Finishing) {
        ListPanes();
    }
}

void JobFollower::Polled() {
    pollOutstanding_ = false;
    if (phase_ != Phase::Following) {
        return;
    }
    ReadPoll(session_.ReplyLines(), status_);
    if (status_.state == RunnerJobState::Ended || status_.state == RunnerJobState::Interrupted ||
        status_.state == RunnerJobState::Unknown) {
        Ended();
        return;
    }
    UpdateProgress();
    if (followed_.background) {
        ListChangedPanes();
    }
    if (OnProgress) {
        OnProgress();
    }
    copyWindow_.StartCopyTimer(PollMs());
}

void JobFollower::UpdateProgress() {
    const std::vector<HandedEntry>& entries = followed_.job.entries;
    std::int64_t doneKB = 0;
    std::size_t next = 0;
    // files copied together all run at once: the first of them is shown
    std::optional<std::size_t> running;
    // only what was copied counts: an entry that failed or never began adds
    // nothing, and the measure of a temporary copy no more than its entries
    std::int64_t runningKB = 0;
    for (std::size_t i = 0; i < status_.entries.size() && i < entries.size(); ++i) {
        if (olmira::Ended(status_.entries[i])) {
            doneKB += status_.entries[i].state == EntryState::Done ? entries[i].sizeKB : 0;
            next = i + 1;
        } else if (status_.entries[i].state == EntryState::Running) {
            running = running.value_or(i);
            runningKB += entries[i].sizeKB;
        }
    }
    const std::size_t current = std::min(running.value_or(next), entries.size() - 1);
    CopyProgressUpdate update;
    update.transferredKB = doneKB + std::min(status_.progressKB.value_or(0), runningKB);
    update.bar = BarPosition(update.transferredKB, totalKB_);
    if (lastKB_) {
        update.rateKBs = TransferRate(update.transferredKB, *lastKB_, PollMs());
    }
    rateKBs_ = update.rateKBs;
    lastKB_ = update.transferredKB;
    if (!windowShown_ || cancelRequested_) {
        return;
    }
    NameEntryOnItsWay(entries, current, update);
    copyWindow_.UpdateProgressWindow(update);
}

JobReport JobFollower::FinalReport() const {
    JobReport report = followed_.report;
    const std::vector<HandedEntry>& entries = followed_.job.entries;
    std::vector<bool> done(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const RunnerEntry status = i < status_.entries.size() ? status_.entries[i] : RunnerEntry{};
        if (status.state == EntryState::Done) {
            done[i] = true;
            continue;
        }
        std::string reason =
            status_.state == RunnerJobState::Unknown
                ? std::string("unterbrochen, die Box wurde neu gestartet")
            : status.state == EntryState::Waiting && status_.state != RunnerJobState::Interrupted
                ? std::string("nicht begonnen")
                : EntryReason(status, followed_.job.mode);
        report.problems.push_back({EntryPath(entries[i]), std::move(reason)});
    }
    report.done += GivenDone(entries, done);
    return report;
}

// The panes come back at once; they are listed a moment later.
void JobFollower::Ended() {
    const JobReport report = FinalReport();
    phase_ = Phase::Finishing;
    if (windowShown_) {
        copyWindow_.CloseProgressWindow();
        windowShown_ = false;
    }
    if (followed_.background) {
        TellEnd(report);
    } else {
        copyWindow_.SetMainPanelEnabled(true);
        window_.SetStatusText(FinalStatus(report));
        message_ = FinalMessage(report);
    }
    if (followed_.number != 0) {
        conversation_.Send({ClearCommand(followed_.number), {}, {}});
    }
    if (OnEnded) {
        OnEnded(followed_, report);
    }
    copyWindow_.StartCopyTimer(kSettleMs);
}

// A job in the background ends without a message box: the desktop tells
// of it, or the status bar where the desktop cannot.
void JobFollower::TellEnd(const JobReport& report) {
    std::string text = ReportStatus(report);
    if (!report.problems.empty()) {
        text += ":\n" + ProblemLines(report.problems);
    }
    copyWindow_.TellJobEnded("Auftrag " + std::to_string(followed_.number) + " auf der Box beendet",
                             text);
}

// A job of one entry, copied: the status and the message it always had. A
// recording with its info file tells of each.
bool JobFollower::SingleCopy() const {
    return followed_.report.entries == 1 && followed_.job.entries.size() == 1 &&
           followed_.job.mode == TransferMode::Copy && !followed_.foundAgain;
}

std::string JobFollower::FinalStatus(const JobReport& report) const {
    if (followed_.foundAgain) {
        return "Während der Trennung: " + ReportStatus(report);
    }
    if (!SingleCopy()) {
        return ReportStatus(report) + (cancelRequested_ ? ", abgebrochen" : "");
    }
    if (report.done == 1) {
        return "Bereit...";
    }
    return cancelRequested_ ? kCancelledStatus : kFailedStatus;
}

std::string JobFollower::FinalMessage(const JobReport& report) const {
    if (followed_.foundAgain) {
        return AwayReportText(report);
    }
    if (report.problems.empty() || (SingleCopy() && cancelRequested_)) {
        return {};
    }
    if (!SingleCopy()) {
        return ReportText(report);
    }
    return std::string(kFailedStatus) + ":\n" + LinesOf(report.problems.front().reason);
}

// The panes that show what the entries from first on changed: the
// destination and, for a move, the folders they came from.
void JobFollower::ListPanesOf(std::size_t first) {
    std::vector<std::string> changed{followed_.job.destFolder};
    if (followed_.job.mode == TransferMode::Move) {
        for (std::size_t i = first; i < followed_.job.entries.size(); ++i) {
            changed.push_back(followed_.job.entries[i].folder);
        }
    }
    session_.RefreshShowing(changed);
}

// While the user browses, a pane shows each entry once it is in place.
void JobFollower::ListChangedPanes() {
    std::size_t ended = 0;
    while (ended < status_.entries.size() && olmira::Ended(status_.entries[ended])) {
        ++ended;
    }
    if (ended > listedEnded_) {
        ListPanesOf(listedEnded_);
        listedEnded_ = ended;
    }
}

void JobFollower::ListPanes() {
    phase_ = Phase::Idle;
    ListPanesOf(0);
    if (!message_.empty()) {
        window_.ShowMessage(std::exchange(message_, {}));
    }
}

void JobFollower::Cancel() {
    if (phase_ != Phase::Following || cancelRequested_) {
        return;
    }
    cancelRequested_ = true;
    window_.SetStatusText("Kopiervorgang wird abgebrochen...");
    if (!pollOutstanding_) {
        copyWindow_.StopCopyTimer();
        SendPoll();
    }
}

void JobFollower::ConnectionEnded() {
    if (phase_ == Phase::Idle) {
        return;
    }
    const bool following = phase_ == Phase::Following;
    copyWindow_.StopCopyTimer();
    if (windowShown_) {
        copyWindow_.CloseProgressWindow();
        windowShown_ = false;
    }
    copyWindow_.SetMainPanelEnabled(true);
    phase_ = Phase::Idle;
    pollOutstanding_ = false;
    if (following) {
        window_.SetStatusText("Verbindung getrennt; der Kopiervorgang läuft auf der Box weiter");
    }
}

}  // namespace olmira
