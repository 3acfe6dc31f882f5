#include "copy/copy_controller.h"

#include <utility>

#include "conversation/conversation.h"
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

void Append(std::vector<std::string>& to, std::vector<std::string> more) {
    to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

std::string FailureText(const std::vector<std::string>& cpMessages) {
    std::string text = kFailedStatus;
    text += cpMessages.empty() ? "." : ":";
    for (const std::string& message : cpMessages) {
        text += "\n" + message;
    }
    return text;
}

}  // namespace

CopyController::CopyController(const TSetup& settings, BoxSession& session, SessionWindow& window,
                               CopyWindow& copyWindow, Conversation& conversation)
    : settings_(settings),
      session_(session),
      window_(window),
      copyWindow_(copyWindow),
      conversation_(conversation) {}

bool CopyController::ProgressShown() const {
    return copySizeKB_ > settings_.progress_min_size;
}

// A name the box showed with "?" must lead to one entry only.
bool CopyController::Unambiguous(const std::string& name) const {
    if (name.find('?') != std::string::npos &&
        CountMatches(name, *session_.PaneOf(Source).Entries) > 1) {
        window_.ShowMessage("Der Name " + name +
                            " passt auf der Box zu mehreren Einträgen; bitte einzeln umbenennen.");
        return false;
    }
    return true;
}

// An entry the destination has already is overwritten only when the user
// says so.
bool CopyController::Confirmed(const std::string& name) const {
    if (CountMatches(name, *session_.PaneOf(Destination).Entries) > 0) {
        return copyWindow_.AskYesNo(std::string(BareName(name)) +
                                    " ist im Ziel schon vorhanden. Überschreiben?");
    }
    return true;
}

void CopyController::StartJob(TransferMode mode, Pane from) {
    if (mode == TransferMode::Copy && from == Source) {
        tbCopyFileClick();
    }
}

// The entry is the source pane's as it lists it now; the destination's
// answer to a listing still on its way is waited for, with the panes locked.
void CopyController::tbCopyFileClick() {
    const std::optional<ListEntry> entry = window_.SelectedEntry(Source);
    // "./" and "../" would copy a whole folder or drive into the destination.
    if (Running() || !entry || entry->kind == EntryKind::ThisFolder ||
        entry->kind == EntryKind::ParentFolder ||
        session_.PaneOf(Destination).CurrentPath.empty() || !Unambiguous(entry->caption)) {
        return;
    }
    phase_ = Phase::Waiting;
    conversation_.Then([this, entry = *entry, folder = session_.PaneOf(Source).ListedPath] {
        Start(entry, folder);
    });
    if (phase_ == Phase::Waiting) {
        copyWindow_.SetMainPanelEnabled(false);
    }
}

void CopyController::Start(const ListEntry& entry, const std::string& sourceFolder) {
    if (phase_ != Phase::Waiting) {
        return;
    }
    phase_ = Phase::Idle;
    if (!Confirmed(entry.caption)) {
        copyWindow_.SetMainPanelEnabled(true);
        return;
    }
    const PaneState& dest = session_.PaneOf(Destination);
    session_.ClearCopyDone();
    conversation_.Send({CopyCommand(sourceFolder, entry.caption, dest.ListedPath),
                        [this] { session_.SetSessionState(ssAwaitCopyStart); },
                        [this] { HandleCopyStarted(); }});
    window_.SetStatusText("Starte Kopiervorgang...");
    copyWindow_.SetMainPanelEnabled(false);

    phase_ = Phase::Starting;
    sourceFolder_ = sourceFolder;
    name_ = entry.caption;
    destFolder_ = dest.ListedPath;
    copySizeKB_ = ReadInt32(entry.size);
    lastTransferredKB_ = 0;
    windowShown_ = pollOutstanding_ = cancelRequested_ = killSent_ = false;
    targetExisted_ = CountMatches(name_, *dest.Entries) > 0;
    cpMessages_.clear();
    failure_.clear();
}

void CopyController::Send(std::string line, void (CopyController::*reply)()) {
    conversation_.Send({std::move(line), {}, [this, reply] { (this->*reply)(); }});
}

void CopyController::HandleCopyStarted() {
    if (phase_ != Phase::Starting) {
        return;
    }
    cpMessages_ = CpMessages(session_.ReplyLines());
    session_.SetSessionState(ssAwaitCopyProgress);
    phase_ = Phase::Running;
    if (cancelRequested_) {
        SendPoll();
    } else if (ProgressShown()) {
        StartProgress();
    } else {
        copyWindow_.StartCopyTimer(kQuietPollMs);
    }
}

void CopyController::StartProgress() {
    copyWindow_.ShowProgressWindow({sourceFolder_ + name_, destFolder_, copySizeKB_});
    windowShown_ = true;
    lastTransferredKB_ = 0;
    copyWindow_.StartCopyTimer(PollIntervalMs(settings_.update_intervall));
}

// The next command of a running copy: its listing, or the kill once the
// user has cancelled. One is outstanding at a time.
void CopyController::SendPoll() {
    if (cancelRequested_ && !killSent_) {
        Send(std::string(kKillCopyCommand), &CopyController::HandleCopyProgress);
        killSent_ = true;
    } else {
        Send(ProgressListing(destFolder_, name_), &CopyController::HandleCopyProgress);
    }
    pollOutstanding_ = true;
}

void CopyController::CopyTimerTimer() {
    if (phase_ == Phase::Running && !pollOutstanding_) {
        SendPoll();
    } else if (phase_ == Phase::Finishing) {
        ListDestination();
    }
}

void CopyController::HandleCopyProgress() {
    pollOutstanding_ = false;
    if (phase_ == Phase::Removing) {
        Settle();
        return;
    }
    if (phase_ != Phase::Running) {
        return;
    }
    if (windowShown_ && !session_.CopyDone() && !cancelRequested_) {
        UpdateProgress();
    }
    if (session_.CopyDone()) {
        Finish();
    } else if (cancelRequested_) {
        copyWindow_.StartCopyTimer(kCancelPollMs);
    } else {
        copyWindow_.StartCopyTimer(windowShown_ ? PollIntervalMs(settings_.update_intervall)
                                                : kQuietPollMs);
    }
}

void CopyController::UpdateProgress() {
    const std::int64_t transferred =
        TransferredKB(ProgressLine(session_.ReplyLines(), settings_.PromptMarker));
    CopyProgressUpdate update;
    update.transferredKB = transferred;
    update.bar = BarPosition(transferred, copySizeKB_);
    update.rateKBs = TransferRate(transferred, lastTransferredKB_,
                                  PollIntervalMs(settings_.update_intervall));
    copyWindow_.UpdateProgressWindow(update);
    lastTransferredKB_ = transferred;
}

void CopyController::Finish() {
    const bool failed = session_.CopyFailed();
    session_.ClearCopyDone();
    if (windowShown_) {
        copyWindow_.CloseProgressWindow();
        windowShown_ = false;
    }
    if (cancelRequested_ && failed) {
        FinishCancelled();
        return;
    }
    if (failed) {
        Append(cpMessages_, CpMessages(session_.ReplyLines()));
        failure_ = FailureText(cpMessages_);
        window_.SetStatusText(kFailedStatus);
    } else {
        window_.SetStatusText("Bereit...");
    }
    Settle();
}

void CopyController::FinishCancelled() {
    window_.SetStatusText("Kopiervorgang abgebrochen");
    if (targetExisted_) {
        Settle();
        return;
    }
    Send(RemoveCopyCommand(destFolder_, name_), &CopyController::HandleCopyProgress);
    pollOutstanding_ = true;
    phase_ = Phase::Removing;
}

// The panes come back at once; the destination is listed a moment later.
void CopyController::Settle() {
    copyWindow_.SetMainPanelEnabled(true);
    phase_ = Phase::Finishing;
    copyWindow_.StartCopyTimer(kSettleMs);
}

void CopyController::ListDestination() {
    phase_ = Phase::Idle;
    session_.Refresh(Destination);
    if (!failure_.empty()) {
        window_.ShowMessage(std::exchange(failure_, {}));
    }
}

void CopyController::Cancel() {
    if (phase_ == Phase::Waiting) {
        // Nothing has been sent for this copy yet.
        phase_ = Phase::Idle;
        copyWindow_.SetMainPanelEnabled(true);
        return;
    }
    if ((phase_ != Phase::Starting && phase_ != Phase::Running) || cancelRequested_) {
        return;
    }
    cancelRequested_ = true;
    window_.SetStatusText("Kopiervorgang wird abgebrochen...");
    if (phase_ == Phase::Running && !pollOutstanding_) {
        copyWindow_.StopCopyTimer();
        SendPoll();
    }
}

void CopyController::ConnectionEnded() {
    if (phase_ == Phase::Idle) {
        return;
    }
    const bool copyRunning = phase_ == Phase::Starting || phase_ == Phase::Running;
    copyWindow_.StopCopyTimer();
    if (windowShown_) {
        copyWindow_.CloseProgressWindow();
        windowShown_ = false;
    }
    copyWindow_.SetMainPanelEnabled(true);
    phase_ = Phase::Idle;
    if (copyRunning) {
        window_.SetStatusText("Verbindung getrennt; der Kopiervorgang läuft auf der Box weiter");
    }
}

}  // namespace olmira
