#include "session/box_session.h"

#include <algorithm>
#include <chrono>
#include <string_view>

#include "copy/job_notice.h"
#include "error.h"
#include "session/box_channel.h"
#include "session/copy_replies.h"
#include "session/listing.h"
#include "session/session_window.h"
#include "session/shell_command.h"
#include "session/tick_clock.h"
#include "settings/setup.h"

namespace olmira {

namespace {

constexpr std::uint32_t kQuietTimeMs = 750;
constexpr std::chrono::milliseconds kExitGrace{500};
constexpr char kNotConnected[] = "nicht verbunden";

int ListingState(Pane pane) {
    return pane == Source ? ssAwaitSourceListing : ssAwaitDestListing;
}

std::string ErrorText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    }
}

}  // namespace

BoxSession::BoxSession(TSetup& settings, SessionWindow& window, BoxChannel& channel,
                       const TickClock& clock)
    : settings_(settings),
      window_(window),
      channel_(channel),
      clock_(clock),
      self_(std::make_shared<BoxSession*>(this)) {}

BoxSession::~BoxSession() = default;

bool BoxSession::IsConnected() const {
    return window_.ConnectImage() == 1;
}

bool BoxSession::Connecting() const {
    return channel_.Connecting();
}

std::string BoxSession::ConnectHint(const char* action) const {
    return "Verbindung zu " + settings_.olmira_Host + " " + action;
}

void BoxSession::tbConnectClick() {
    if (settings_.olmira_Host.empty()) {
        window_.ShowMessage("Kein Host in den Konfigurationsdaten hinterlegt!");
        return;
    }
    if (channel_.Connecting()) {
        return;
    }
    switch (window_.ConnectImage()) {
        case 0:
            Connect();
            break;
        case 1:
            Disconnect();
            break;
        default:
            break;
    }
}

void BoxSession::Connect() {
    // A channel the box closed (or whose reader failed) is still open here.
    channel_.Disconnect();
    channel_.SetHost(settings_.olmira_Host);
    // Every connection learns the prompt afresh, by quiet time.
    settings_.PromptMarker.clear();
    std::weak_ptr<BoxSession*> session = self_;
    channel_.ConnectAsync([session, this](std::exception_ptr error) {
        if (session.expired()) {
            return;
        }
        if (error) {
            window_.ShowError(ErrorText(error));
        } else {
            OnConnected();
        }
    });
}

void BoxSession::OnConnected() {
    lastActivityTick_ = clock_.Now();
    sessionState_ = ssAwaitLoginPrompt;
    window_.StartTimer();
    window_.SetConnectImage(1);
    window_.SetConnectHint(ConnectHint("trennen"));
    window_.SetStatusText("Verbindung zu " + settings_.olmira_Host + " wird hergestellt...");
}

void BoxSession::Disconnect() {
    leaving_ = true;
    try {
        channel_.SendLine("exit");
        // Hanging up at once could end the box's shell before it has read
        // its "exit"; a box that answers closes within milliseconds.
        channel_.AwaitClose(kExitGrace);
    } catch (const Error&) {
        // The box has gone already; leaving locally is all that is left to do.
    }
    channel_.Disconnect();
    leaving_ = false;
    ShowDisconnectedLook();
    if (copy_ != nullptr) {
        copy_->ConnectionEnded();
    }
}

void BoxSession::ConnectionLost() {
    if (!IsConnected() || leaving_) {
        return;
    }
    // The channel is reset by the next connect: its reader is still handing
    // this notice over and cannot be waited for from here.
    ShowDisconnectedLook();
    window_.SetStatusText("Verbindung zur Box wurde getrennt");
    if (copy_ != nullptr) {
        copy_->ConnectionEnded();
    }
}

void BoxSession::DisconnectForExit() {
    if (IsConnected()) {
        Disconnect();
    }
}

void BoxSession::ShowDisconnectedLook() {
    sessionState_ = ssDisconnected;
    replyOutstanding_ = false;
    for (PaneState& pane : panes_) {
        pane.Entries.clear();
    }
    window_.StopTimer();
    window_.SetConnectImage(0);
    window_.SetConnectHint(ConnectHint("herstellen"));
    window_.SetSetupEnabled(true);
    for (const Pane pane : {Source, Destination}) {
        window_.ClearEntryList(pane);
        window_.SetFolderUpEnabled(pane, false);
        window_.SetFolderCaption(pane, kNotConnected);
    }
    for (const Pane pane : {Source, Destination}) {
        window_.ClearDriveBox(pane);
    }
    for (const Pane pane : {Source, Destination}) {
        window_.SetPaneEnabled(pane, false);
    }
}

void BoxSession::TimerTimer() {
    if (static_cast<std::uint32_t>(clock_.Now() - lastActivityTick_) <= kQuietTimeMs) {
        return;
    }
    window_.StopTimer();
    switch (sessionState_) {
        case ssAwaitLoginPrompt:
        case ssAwaitPasswordPrompt:
        case ssAwaitShellPrompt:
            LoginStep();
            window_.StartTimer();
            break;
        case ssAwaitDriveList:
            HandleDriveList();
            break;
        default:
            break;
    }
}

void BoxSession::LoginStep() {
    switch (sessionState_) {
        case ssAwaitLoginPrompt:
            channel_.SendLine(settings_.olmira_User);
            window_.SetStatusText("Login als User " + settings_.olmira_User);
            SetSessionState(ssAwaitPasswordPrompt);
            break;
        case ssAwaitPasswordPrompt:
            channel_.SendLine(settings_.olmira_Pass);
            window_.SetStatusText("Schicke Passwort...");
            SetSessionState(ssAwaitShellPrompt);
            break;
        case ssAwaitShellPrompt:
            channel_.SendLine(kDriveListCommand);
            window_.SetStatusText("Hole Liste der verbundenen Laufwerke...");
            SetSessionState(ssAwaitDriveList);
            break;
        default:
            break;
    }
}

void BoxSession::TelnetDataAvailable(const std::string& buffer) {
    receiveBuffer_ += buffer;
    std::string tail = CollectLines();
    const std::string& marker = settings_.PromptMarker;
    if (!marker.empty() && buffer.find(marker) != std::string::npos) {
        replyLines_.push_back(std::move(tail));
        DispatchReply();
        receiveBuffer_.clear();
    } else {
        receiveBuffer_ = std::move(tail);
    }
    window_.AppendLog(buffer);
    lastActivityTick_ = clock_.Now();
}

// Moves the CR-ended lines of the receive buffer to the reply lines and
// returns what follows the last CR. LF never ends a line; it is dropped.
std::string BoxSession::CollectLines() {
    std::string line;
    for (const char c : receiveBuffer_) {
        if (c == '\r') {
            if (const std::optional<JobEnd> end = ParseJobEnd(line)) {
                copyDone_ = true;
                copyFailed_ = *end == JobEnd::Failed;
            } else {
                replyLines_.push_back(std::move(line));
            }
            line.clear();
        } else if (c != '\n') {
            line += c;
        }
    }
    return line;
}

void BoxSession::DispatchReply() {
    replyOutstanding_ = false;
    switch (sessionState_) {
        case ssAwaitLoginPrompt:
            LoginStep();
            window_.StartTimer();
            break;
        case ssAwaitPasswordPrompt:
        case ssAwaitShellPrompt:
            LoginStep();
            break;
        case ssAwaitDriveList:
            HandleDriveList();
            break;
        case ssAwaitSourceListing:
            HandleListing(Source);
            break;
        case ssAwaitDestListing:
            HandleListing(Destination);
            break;
        case ssAwaitCopyStart:
            if (copy_ != nullptr) {
                copy_->HandleCopyStarted();
            }
            break;
        case ssAwaitCopyProgress:
            if (copy_ != nullptr) {
                copy_->HandleCopyProgress();
            }
            break;
        default:
            break;
    }
}

void BoxSession::SetSessionState(int state) {
    sessionState_ = state;
    replyOutstanding_ = true;
    replyLines_.clear();
    receiveBuffer_.clear();
    lastActivityTick_ = clock_.Now();
}

void BoxSession::CapturePromptMarker() {
    std::string& marker = settings_.PromptMarker;
    marker = receiveBuffer_;
    if (!marker.empty()) {
        marker.pop_back();
    }
}

void BoxSession::HandleDriveList() {
    const std::vector<std::string> drives = DriveEntries(replyLines_);
    if (drives.empty()) {
        return;
    }
    for (const std::string& drive : drives) {
        window_.AddDrive(Source, drive);
        window_.AddDrive(Destination, drive);
    }
    CapturePromptMarker();
    window_.SelectFirstDrive(Source);
    window_.SelectFirstDrive(Destination);
    window_.SetPaneEnabled(Source, true);
    window_.SetCopyEnabled(false);
    window_.SetPaneEnabled(Destination, true);
    window_.SetSetupEnabled(false);
}

void BoxSession::HandleListing(Pane pane) {
    PaneState* state = FindPane(pane);
    if (state == nullptr) {
        return;
    }
    state->Entries = ListingEntries(replyLines_, state->FolderDepth);
    window_.SetEntries(pane, state->Entries);
    window_.SetFolderUpEnabled(pane, state->FolderDepth > 1);
}

PaneState* BoxSession::FindPane(Pane pane) {
    if (pane != Source && pane != Destination) {
        return nullptr;
    }
    return &panes_[pane == Source ? 0 : 1];
}

const PaneState& BoxSession::PaneOf(Pane pane) const {
    return panes_[pane == Source ? 0 : 1];
}

// Sends the listing command first: when the box has gone, the pane keeps
// showing where it was.
void BoxSession::OpenFolder(Pane pane, PaneState& state, const std::string& path, int depth) {
    channel_.SendLine(ListingCommand(path));
    state.CurrentPath = path;
    state.FolderDepth = depth;
    window_.SetFolderCaption(pane, path);
    SetSessionState(ListingState(pane));
}

void BoxSession::ShowFolder(Pane pane, const std::string& path) {
    PaneState* state = FindPane(pane);
    if (state != nullptr && !path.empty()) {
        OpenFolder(pane, *state, path, static_cast<int>(std::count(path.begin(), path.end(), '/')));
    }
}

void BoxSession::ChooseDrive(Pane pane) {
    PaneState* state = FindPane(pane);
    const std::optional<std::string> drive = window_.SelectedDrive(pane);
    if (state == nullptr || !drive) {
        return;
    }
    OpenFolder(pane, *state, *drive, 1);
    if (pane == Destination) {
        window_.SetCopyEnabled(true);
    }
}

void BoxSession::EnterSelected(Pane pane) {
    PaneState* state = FindPane(pane);
    const std::optional<ListEntry> entry = window_.SelectedEntry(pane);
    if (state == nullptr || !entry) {
        return;
    }
    if (entry->caption == "./") {
        Refresh(pane);
    } else if (entry->caption == "../") {
        FolderUp(pane);
    } else if (entry->image == ImageFolder) {
        OpenFolder(pane, *state, state->CurrentPath + entry->caption, state->FolderDepth + 1);
    }
}

void BoxSession::Refresh(Pane pane) {
    const PaneState* state = FindPane(pane);
    // Before a drive has been chosen there is no folder to list.
    if (state == nullptr || state->CurrentPath.empty()) {
        return;
    }
    channel_.SendLine(ListingCommand(state->CurrentPath));
    SetSessionState(ListingState(pane));
}

void BoxSession::FolderUp(Pane pane) {
    PaneState* state = FindPane(pane);
    if (state == nullptr || state->FolderDepth <= 1 || state->CurrentPath.size() < 2) {
        return;
    }
    const std::string& path = state->CurrentPath;
    const std::size_t slash = path.rfind('/', path.size() - 2);
    if (slash != std::string::npos) {
        OpenFolder(pane, *state, path.substr(0, slash + 1), state->FolderDepth - 1);
    }
}

}  // namespace olmira
