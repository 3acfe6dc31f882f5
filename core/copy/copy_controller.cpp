#include "copy/copy_controller.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "conversation/conversation.h"
#include "conversation/shell_command.h"
#include "copy/box_figures.h"
#include "copy/copy_commands.h"
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
constexpr char kCancelled[] = "abgebrochen";
constexpr char kNotStarted[] = "nicht begonnen";

void Append(std::vector<std::string>& to, std::vector<std::string> more) {
    to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

std::string FailureText(const std::vector<std::string>& cpMessages) {
    return std::string(kFailedStatus) + (cpMessages.empty() ? "." : ":\n") +
           Joined(cpMessages, "\n");
}

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

std::string SourcePath(const JobSource& source) {
    return source.folder + std::string(BareName(source.entry.caption));
}

}  // namespace

CopyController::CopyController(const TSetup& settings, BoxSession& session, SessionWindow& window,
                               CopyWindow& copyWindow, Conversation& conversation)
    : settings_(settings),
      session_(session),
      window_(window),
      copyWindow_(copyWindow),
      conversation_(conversation) {}

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
    if (Running() || session_.PaneOf(to).CurrentPath.empty()) {
        return;
    }
    const PaneState& pane = session_.PaneOf(from);
    std::vector<ListEntry> selected = window_.SelectedEntries(from);
    for (const ListEntry& entry : selected) {
        if (!Unambiguous(entry.caption, *pane.Entries)) {
            return;
        }
    }
    if (settings_.with_crid) {
        selected = WithInfoFiles(selected, *pane.Entries);
    }
    std::vector<JobSource> sources;
    for (ListEntry& entry : selected) {
        sources.push_back({pane.ListedPath, std::move(entry)});
    }
    StartJob(mode, std::move(sources), to);
}

void CopyController::StartJob(TransferMode mode, std::vector<JobSource> sources, Pane to) {
    if (Running() || sources.empty() || (TidyBusy && TidyBusy())) {
        return;
    }
    const Pane from = to == Source ? Destination : Source;
    phase_ = Phase::Waiting;
    conversation_.Then([this, mode, sources = std::move(sources), from, to]() mutable {
        Plan(mode, std::move(sources), from, to);
    });
    if (phase_ == Phase::Waiting) {
        copyWindow_.SetMainPanelEnabled(false);
    }
}

void CopyController::Plan(TransferMode mode, std::vector<JobSource> sources, Pane from, Pane to) {
    if (phase_ != Phase::Waiting) {
        return;
    }
    const PaneState& dest = session_.PaneOf(to);
    job_ = Job{};
    job_.mode = mode;
    job_.from = from;
    job_.to = to;
    job_.destFolder = dest.ListedPath;
    report_ = JobReport{mode, sources.size(), 0, {}};
    if (const std::optional<std::string> refusal = PlaceRefusal(sources, job_.destFolder, mode)) {
        Refuse(*refusal);
        return;
    }
    if (!ChooseItems(std::move(sources), *dest.Entries)) {
        phase_ = Phase::Idle;
        copyWindow_.SetMainPanelEnabled(true);
        if (report_.entries > 1) {
            window_.ShowMessage(ReportText(report_));
        }
        return;
    }
    phase_ = Phase::Measuring;
    copyWindow_.SetMainPanelEnabled(false);
    window_.SetStatusText("Starte Kopiervorgang...");
    if (AllRename()) {
        Begin();
    } else {
        SendMeasures();
    }
}

// An entry the destination has already is overwritten only when the user
// says so; the others are skipped. False when no entry is left.
bool CopyController::ChooseItems(std::vector<JobSource> sources, const EntryList& destEntries) {
    std::optional<bool> all;
    const bool single = sources.size() == 1;
    for (JobSource& source : sources) {
        const bool exists = ListsName(source.entry.caption, destEntries);
        bool take = !exists;
        if (exists) {
            const std::string question = std::string(BareName(source.entry.caption)) +
                                         " ist im Ziel schon vorhanden. Überschreiben?";
            if (all) {
                take = *all;
            } else if (single) {
                take = copyWindow_.AskYesNo(question);
            } else {
                const OverwriteAnswer answer = copyWindow_.AskOverwrite(question);
                take = answer == OverwriteAnswer::Yes || answer == OverwriteAnswer::YesToAll;
                if (answer == OverwriteAnswer::YesToAll || answer == OverwriteAnswer::NoToAll) {
                    all = take;
                }
            }
        }
        if (take) {
            job_.items.push_back({std::move(source), 0, exists});
        } else {
            report_.problems.push_back(
                {SourcePath(source), "übersprungen, im Ziel schon vorhanden"});
        }
    }
    return !job_.items.empty();
}

// Nothing has been sent that changes anything.
void CopyController::Refuse(const std::string& reason) {
    phase_ = Phase::Idle;
    copyWindow_.SetMainPanelEnabled(true);
    report_.problems.clear();
    for (const Item& item : job_.items) {
        report_.problems.push_back({SourcePath(item.source), reason});
    }
    window_.SetStatusText(job_.cancelRequested ? kCancelledStatus : "Bereit...");
    if (!job_.cancelRequested) {
        window_.ShowMessage(reason);
    }
}

// A command whose reply is read on its own: what the box said before it is
// forgotten as it goes out.
void CopyController::Ask(std::string line, Conversation::Step reply) {
    conversation_.Send(
        {std::move(line), [this] { conversation_.Framer().Clear(); }, std::move(reply)});
}

// A poll's reply is read with what the box said since the last one: cp's
// message may follow the prompt in between.
void CopyController::Poll(std::string line) {
    conversation_.Send({std::move(line), {}, [this] { Polled(); }});
    copy_.pollOutstanding = true;
}

// Each entry's size, the destination's free space and its file system, one
// command at a time; the checks follow once all have come.
void CopyController::SendMeasures() {
    for (std::size_t i = 0; i < job_.items.size(); ++i) {
        const JobSource& source = job_.items[i].source;
        if (!Renames(job_.items[i])) {
            Ask(DiskUsageCommand(source.folder, source.entry.caption),
                [this, i] { MeasuredSize(i); });
        }
    }
    Ask(FreeSpaceCommand(job_.destFolder),
        [this] { job_.space = ParseDiskSpace(session_.ReplyLines()); });
    Ask(std::string(kMountsCommand), [this] { MeasuredMounts(); });
    conversation_.Then([this] { Check(); });
}

void CopyController::MeasuredSize(std::size_t index) {
    if (phase_ != Phase::Measuring) {
        return;
    }
    Item& item = job_.items[index];
    if (const std::optional<std::int64_t> kB = ParseDuFigure(session_.ReplyLines())) {
        item.sizeKB = *kB;
        return;
    }
    std::string unmeasured = SourcePath(item.source);
    const std::vector<std::string> messages = ToolMessages(session_.ReplyLines(), "du: ");
    if (!messages.empty()) {
        unmeasured += " (" + Joined(messages, "; ") + ")";
    }
    job_.unmeasured.push_back(std::move(unmeasured));
}

// A FAT drive cannot take files of 4 GiB or more: cp would find out only
// after copying 4 GiB.
void CopyController::MeasuredMounts() {
    if (phase_ != Phase::Measuring) {
        return;
    }
    const std::string destPath = std::string(kMediaRoot) + job_.destFolder;
    job_.fat = IsFatFileSystem(FileSystemType(session_.ReplyLines(), destPath));
}

// Runs as a step, so the searches go before the check that follows them.
void CopyController::SearchLargeFiles() {
    job_.searched = true;
    for (const Item& item : job_.items) {
        if (!Renames(item)) {
            Ask(LargeFilesCommand(item.source.folder, item.source.entry.caption),
                [this] { Append(job_.tooLarge, FoundPaths(session_.ReplyLines())); });
        }
    }
    conversation_.Then([this] { Check(); });
}

std::optional<std::string> CopyController::CheckRefusal() const {
    if (!job_.unmeasured.empty()) {
        return "Die Größe ist nicht zu ermitteln:\n" + Joined(job_.unmeasured, "\n");
    }
    if (!job_.space) {
        return "Der freie Platz auf " + job_.destFolder + " ist nicht zu ermitteln.";
    }
    if (job_.totalKB > job_.space->freeKB) {
        return SpaceRefusal(job_.destFolder, job_.space->freeKB, job_.totalKB);
    }
    if (!job_.tooLarge.empty()) {
        return FatRefusal(job_.destFolder, job_.tooLarge);
    }
    return std::nullopt;
}

void CopyController::Check() {
    if (phase_ != Phase::Measuring) {
        return;
    }
    if (job_.fat && !job_.searched && !job_.cancelRequested) {
        SearchLargeFiles();
        return;
    }
    job_.totalKB =
        std::accumulate(job_.items.begin(), job_.items.end(), std::int64_t{0},
                        [](std::int64_t sum, const Item& item) { return sum + item.sizeKB; });
    if (job_.cancelRequested) {
        Refuse(kCancelled);
    } else if (const std::optional<std::string> refusal = CheckRefusal()) {
        Refuse(*refusal);
    } else {
        Begin();
    }
}

void CopyController::Begin() {
    phase_ = Phase::Running;
    if (!AllRename() && job_.totalKB > settings_.progress_min_size) {
        const Item& first = job_.items.front();
        copyWindow_.ShowProgressWindow(
            {first.source.folder + first.source.entry.caption, job_.destFolder, job_.totalKB});
        job_.windowShown = true;
    }
    NextItem();
}

void CopyController::NextItem() {
    if (job_.cancelRequested) {
        for (; job_.current < job_.items.size(); ++job_.current) {
            report_.problems.push_back({SourcePath(Current().source), kNotStarted});
        }
    }
    if (job_.current == job_.items.size()) {
        Finish();
        return;
    }
    copy_ = Copy{};
    const JobSource& source = Current().source;
    if (Renames(Current())) {
        Ask(MoveCommand(source.folder, source.entry.caption, job_.destFolder), [this] { Moved(); });
    } else if (job_.mode == TransferMode::Move) {
        Ask(MeasureCommand(source.folder, source.entry.caption), [this] {
            copy_.sourceFigures = ReadFigures();
            StartCopy();
        });
    } else {
        StartCopy();
    }
}

void CopyController::StartCopy() {
    if (phase_ != Phase::Running) {
        return;
    }
    if (job_.mode == TransferMode::Move && !copy_.sourceFigures) {
        ItemFailed("die Größe der Quelle ist nicht zu ermitteln");
        return;
    }
    const JobSource& source = Current().source;
    session_.ClearEndedJobs();
    conversation_.Send({CopyCommand(source.folder, source.entry.caption, job_.destFolder),
                        [this] {
                            session_.SetSessionState(ssAwaitCopyStart);
                            copy_.lineSent = true;
                        },
                        [this] { CopyStarted(); }});
}

// bash answers the copy line with the job's number, and `jobs %+` prints it
// on both shells; a copy that ended before `jobs` ran shows as the current
// job's notice.
std::optional<int> CopyController::StartedJob() const {
    for (const std::string_view line : session_.ReplyLines()) {
        if (const std::optional<int> job = ParseJobStart(line)) {
            return job;
        }
    }
    for (const JobNotice& notice : session_.EndedJobs()) {
        if (notice.current) {
            return notice.job;
        }
    }
    return std::nullopt;
}

void CopyController::CopyStarted() {
    if (phase_ != Phase::Running) {
        return;
    }
    copy_.cpMessages = CpMessages(session_.ReplyLines());
    const std::optional<int> job = StartedJob();
    session_.SetSessionState(ssAwaitCopyProgress);
    if (!job) {
        copy_.cpMessages.insert(copy_.cpMessages.begin(),
                                "der Kopiervorgang ließ sich nicht starten");
        ItemFailed(Joined(copy_.cpMessages, "; "));
        return;
    }
    copy_.job = *job;
    copy_.running = true;
    if (job_.cancelRequested) {
        SendPoll();
    } else {
        copyWindow_.StartCopyTimer(PollMs());
    }
}

// The next command of a running copy: its size, or the kill once the user
// has cancelled. One is outstanding at a time.
void CopyController::SendPoll() {
    const Item& item = Current();
    const std::string& name = item.source.entry.caption;
    if (job_.cancelRequested && !copy_.killSent) {
        Poll(KillJobCommand(copy_.job));
        copy_.killSent = true;
    } else if (item.source.entry.kind == EntryKind::Folder) {
        Poll(FolderProgressCommand(job_.destFolder, name));
    } else {
        Poll(ProgressListing(job_.destFolder, name));
    }
}

void CopyController::CopyTimerTimer() {
    if (phase_ == Phase::Running && copy_.running && !copy_.pollOutstanding) {
        SendPoll();
    } else if (phase_ == Phase::Finishing) {
        ListPanes();
    }
}

void CopyController::Polled() {
    copy_.pollOutstanding = false;
    if (phase_ != Phase::Running || !copy_.running) {
        return;
    }
    Append(copy_.cpMessages, CpMessages(session_.ReplyLines()));
    const std::optional<JobEnd> end = session_.JobEnded(copy_.job);
    if (!end && job_.windowShown && !job_.cancelRequested) {
        UpdateProgress();
    }
    conversation_.Framer().Clear();
    if (end) {
        copy_.running = false;
        CopyEnded(*end);
        return;
    }
    copyWindow_.StartCopyTimer(job_.cancelRequested ? kCancelPollMs : PollMs());
}

void CopyController::UpdateProgress() {
    const Item& item = Current();
    const std::int64_t part =
        item.source.entry.kind == EntryKind::Folder
            ? ParseDuFigure(session_.ReplyLines()).value_or(0)
            : TransferredKB(ProgressLine(session_.ReplyLines(), settings_.PromptMarker));
    CopyProgressUpdate update;
    update.transferredKB = job_.doneKB + part;
    update.bar = BarPosition(update.transferredKB, job_.totalKB);
    update.rateKBs = TransferRate(update.transferredKB, copy_.lastTransferredKB, PollMs());
    if (job_.items.size() > 1) {
        update.item = BareName(item.source.entry.caption);
        update.source = item.source.folder + item.source.entry.caption;
        update.itemNumber = job_.current + 1;
        update.itemCount = job_.items.size();
    }
    copyWindow_.UpdateProgressWindow(update);
    copy_.lastTransferredKB = update.transferredKB;
}

// A copy that ended well is done, or for a move checked and its source
// removed; one that failed or was cancelled leaves no partial entry behind
// that was not there before.
void CopyController::CopyEnded(JobEnd end) {
    if (end == JobEnd::Succeeded) {
        if (job_.mode == TransferMode::Move) {
            VerifyMove();
        } else {
            ItemDone();
        }
        return;
    }
    std::string reason = copy_.killSent             ? std::string(kCancelled)
                         : copy_.cpMessages.empty() ? std::string("cp meldete einen Fehler")
                                                    : Joined(copy_.cpMessages, "; ");
    RemovePartialCopy(std::move(reason));
}

// The source goes only when the copy holds as many files and bytes as it.
void CopyController::VerifyMove() {
    Ask(MeasureCommand(job_.destFolder, Current().source.entry.caption), [this] {
        if (ReadFigures() != copy_.sourceFigures) {
            ItemFailed("die Kopie ist nicht so groß wie die Quelle; die Quelle bleibt erhalten");
            return;
        }
        const JobSource& source = Current().source;
        Ask(RemoveCommand(source.folder, source.entry.caption), [this] { SourceRemoved(); });
    });
}

void CopyController::SourceRemoved() {
    const std::vector<std::string> messages = ToolMessages(session_.ReplyLines(), "rm: ");
    if (messages.empty()) {
        ItemDone();
    } else {
        ItemFailed("kopiert, aber die Quelle ließ sich nicht ganz entfernen: " +
                   Joined(messages, "; "));
    }
}

void CopyController::RemovePartialCopy(std::string reason) {
    const Item& item = Current();
    if (item.targetExisted) {
        ItemFailed(std::move(reason));
        return;
    }
    Ask(RemoveCommand(job_.destFolder, item.source.entry.caption),
        [this, reason = std::move(reason)] {
            const std::vector<std::string> messages = ToolMessages(session_.ReplyLines(), "rm: ");
            ItemFailed(reason + (messages.empty()
                                     ? "; die unvollständige Kopie wurde entfernt"
                                     : "; die unvollständige Kopie ließ sich nicht entfernen: " +
                                           Joined(messages, "; ")));
        });
}

void CopyController::Moved() {
    if (phase_ != Phase::Running) {
        return;
    }
    const std::vector<std::string> messages = ToolMessages(session_.ReplyLines(), "mv: ");
    if (messages.empty()) {
        ItemDone();
    } else {
        ItemFailed(Joined(messages, "; "));
    }
}

void CopyController::ItemDone() {
    if (phase_ != Phase::Running) {
        return;
    }
    ++report_.done;
    job_.doneKB += Current().sizeKB;
    ++job_.current;
    NextItem();
}

void CopyController::ItemFailed(std::string reason) {
    if (phase_ != Phase::Running) {
        return;
    }
    report_.problems.push_back({SourcePath(Current().source), std::move(reason)});
    job_.doneKB += Current().sizeKB;
    ++job_.current;
    NextItem();
}

// The panes come back at once; they are listed a moment later.
void CopyController::Finish() {
    if (job_.windowShown) {
        copyWindow_.CloseProgressWindow();
        job_.windowShown = false;
    }
    copyWindow_.SetMainPanelEnabled(true);
    window_.SetStatusText(FinalStatus());
    job_.message = FinalMessage();
    phase_ = Phase::Finishing;
    copyWindow_.StartCopyTimer(kSettleMs);
}

// A job of one entry, copied: the status and the message it always had.
bool CopyController::SingleCopy() const {
    return report_.entries == 1 && job_.mode == TransferMode::Copy;
}

std::string CopyController::FinalStatus() const {
    if (!SingleCopy()) {
        return ReportStatus(report_) + (job_.cancelRequested ? ", abgebrochen" : "");
    }
    if (report_.done == 1) {
        return "Bereit...";
    }
    return job_.cancelRequested ? kCancelledStatus : kFailedStatus;
}

std::string CopyController::FinalMessage() const {
    if (report_.problems.empty()) {
        return {};
    }
    if (!SingleCopy()) {
        return ReportText(report_);
    }
    if (job_.cancelRequested) {
        return {};
    }
    std::vector<std::string> lines = copy_.cpMessages;
    const std::string& reason = report_.problems.front().reason;
    if (const std::size_t note = reason.find("; die unvollständige"); note != std::string::npos) {
        lines.push_back(reason.substr(note + 2));
    }
    return FailureText(lines);
}

void CopyController::ListPanes() {
    phase_ = Phase::Idle;
    session_.Refresh(job_.to);
    if (job_.mode == TransferMode::Move) {
        session_.Refresh(job_.from);
    }
    if (!job_.message.empty()) {
        window_.ShowMessage(std::exchange(job_.message, {}));
    }
}

void CopyController::Cancel() {
    if (phase_ == Phase::Waiting) {
        // Nothing has been sent for this job yet.
        phase_ = Phase::Idle;
        copyWindow_.SetMainPanelEnabled(true);
        return;
    }
    if ((phase_ != Phase::Measuring && phase_ != Phase::Running) || job_.cancelRequested) {
        return;
    }
    job_.cancelRequested = true;
    window_.SetStatusText("Kopiervorgang wird abgebrochen...");
    if (copy_.running && !copy_.pollOutstanding) {
        copyWindow_.StopCopyTimer();
        SendPoll();
    }
}

void CopyController::ConnectionEnded() {
    if (phase_ == Phase::Idle) {
        return;
    }
    const bool copyRunning = phase_ == Phase::Running && copy_.lineSent;
    copyWindow_.StopCopyTimer();
    if (job_.windowShown) {
        copyWindow_.CloseProgressWindow();
        job_.windowShown = false;
    }
    copyWindow_.SetMainPanelEnabled(true);
    phase_ = Phase::Idle;
    copy_ = Copy{};
    if (copyRunning) {
        window_.SetStatusText("Verbindung getrennt; der Kopiervorgang läuft auf der Box weiter");
    }
}

std::optional<CopyController::Figures> CopyController::ReadFigures() const {
    const std::optional<std::int64_t> bytes = ParseDuFigure(session_.ReplyLines());
    const std::optional<std::int64_t> files = ParseCount(session_.ReplyLines());
    if (!bytes || !files) {
        return std::nullopt;
    }
    return Figures{*bytes, *files};
}

bool CopyController::Renames(const Item& item) const {
    return job_.mode == TransferMode::Move &&
           DriveOf(item.source.folder) == DriveOf(job_.destFolder);
}

bool CopyController::AllRename() const {
    return std::all_of(job_.items.begin(), job_.items.end(),
                       [this](const Item& item) { return Renames(item); });
}

int CopyController::PollMs() const {
    return job_.windowShown ? PollIntervalMs(settings_.update_intervall) : kQuietPollMs;
}

}  // namespace olmira
