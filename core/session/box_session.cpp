#include "session/box_session.h"

#include <algorithm>
#include <chrono>
#include <string_view>
#include <utility>

#include "conversation/shell_command.h"
#include "conversation/tick_clock.h"
#include "error.h"
#include "session/listing.h"
#include "session/login_refusal.h"
#include "session/session_window.h"
#include "settings/setup.h"
#include "tidy/box_path.h"

namespace olmira {

namespace {

constexpr std::uint32_t kQuietTimeMs = 750;
constexpr std::chrono::milliseconds kExitGrace{500};

// The last line the box sent that holds more than blanks.
std::string LastLine(const ReplyLines& lines, std::string_view openLine) {
    if (const std::string_view open = Trim(openLine); !open.empty()) {
        return std::string(open);
    }
    for (std::size_t i = lines.size(); i > 0; --i) {
        if (const std::string_view line = Trim(lines[i - 1]); !line.empty()) {
            return std::string(line);
        }
    }
    return {};
}

// Whether a listing shows more than "./" and "../".
bool HoldsEntries(const EntryList& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (IsFolderOrFile(entries.Kind(i))) {
            return true;
        }
    }
    return false;
}

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

std::string ConnectHint(const std::string& host, bool connected) {
    return "Verbindung zu " + host + (connected ? " trennen" : " herstellen");
}

BoxSession::BoxSession(TSetup& settings, SessionWindow& window, BoxChannel& channel,
                       Conversation& conversation, const TickClock& clock)
    : settings_(settings),
      window_(window),
      channel_(channel),
      conversation_(conversation),
      clock_(clock),
      self_(std::make_shared<BoxSession*>(this)) {}

BoxSession::~BoxSession() = default;

bool BoxSession::IsConnected() const {
    return window_.ConnectImage() == 1;
}

bool BoxSession::Connecting() const {
    return channel_.Connecting();
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
    window_.SetConnectHint(ConnectHint(settings_.olmira_Host, true));
    window_.SetStatusText("Verbindung zu " + settings_.olmira_Host + " wird hergestellt...");
}

void BoxSession::Disconnect() {
    leaving_ = true;
    try {
        conversation_.Write("exit");
        // Hanging up at once could end the box's shell before it has read
        // its "exit"; a box that answers closes within milliseconds.
        channel_.AwaitClose(kExitGrace);
    } catch (const Error&) {
        // The box has gone already; leaving locally is all that is left to do.
    }
    channel_.Disconnect();
    leaving_ = false;
    EndConnection();
}

void BoxSession::EndConnection() {
    conversation_.Drop();
    ShowDisconnectedLook();
    if (OnConnectionEnded) {
        OnConnectionEnded();
    }
}

void BoxSession::ConnectionLost() {
    if (!IsConnected() || leaving_) {
        return;
    }
    // The channel is reset by the next connect: its reader is still handing
    // this notice over and cannot be waited for from here.
    if (!loggedIn_) {
        // A box that hangs up before its drive list has refused the login;
        // its last line says why ("Login incorrect").
        ReportRefusedLogin(LastLine(ReplyLines(), ReceiveBuffer()));
        return;
    }
    window_.SetStatusText("Verbindung zur Box wurde getrennt");
    EndConnection();
}

void BoxSession::ReportRefusedLogin(const std::string& reason) {
    window_.SetStatusText("Anmeldung fehlgeschlagen");
    EndConnection();
    window_.ShowError("Die Anmeldung an der Box ist fehlgeschlagen" +
                      (reason.empty() ? std::string(".") : ": " + reason));
}

// A login that asks again must not be typed our commands into: we hang up.
void BoxSession::CheckLoginRefused() {
    const bool passwordSent =
        sessionState_ == ssAwaitShellPrompt || sessionState_ == ssAwaitDriveList;
    if (loggedIn_ || !passwordSent) {
        return;
    }
    const std::optional<std::string> refusal = LoginRefusal(ReplyLines(), ReceiveBuffer());
    if (!refusal) {
        return;
    }
    leaving_ = true;
    channel_.Disconnect();
    leaving_ = false;
    ReportRefusedLogin(*refusal);
}

void BoxSession::DisconnectForExit() {
    if (IsConnected()) {
        Disconnect();
    }
}

void BoxSession::ShowDisconnectedLook() {
    sessionState_ = ssDisconnected;
    loggedIn_ = false;
    for (PaneState& pane : panes_) {
        pane.Entries = NoEntries();
    }
    window_.StopTimer();
    window_.SetConnectImage(0);
    window_.SetConnectHint(ConnectHint(settings_.olmira_Host, false));
    window_.SetSetupEnabled(true);
    for (const Pane pane : {Source, Destination}) {
        window_.ClearEntryList(pane);
        window_.SetFolderUpEnabled(pane, false);
        window_.SetFolderCaption(pane, kNotConnected);
    }
    drives_.clear();
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
            // A slow box may not have listed its drives when it first falls
            // quiet; without the timer the login would stop here.
            if (!HandleDriveList()) {
                window_.StartTimer();
            }
            break;
        default:
            break;
    }
}

void BoxSession::LoginStep() {
    switch (sessionState_) {
        case ssAwaitLoginPrompt:
            conversation_.Write(settings_.olmira_User);
            window_.SetStatusText("Login als User " + settings_.olmira_User);
            SetSessionState(ssAwaitPasswordPrompt);
            break;
        case ssAwaitPasswordPrompt:
            conversation_.Write(settings_.olmira_Pass);
            window_.SetStatusText("Schicke Passwort...");
            SetSessionState(ssAwaitShellPrompt);
            break;
        case ssAwaitShellPrompt:
            conversation_.Write(kDriveListCommand);
            window_.SetStatusText("Hole Liste der verbundenen Laufwerke...");
            SetSessionState(ssAwaitDriveList);
            break;
        default:
            break;
    }
}

void BoxSession::TelnetDataAvailable(const std::string& buffer) {
    conversation_.Receive(buffer);
    window_.AppendLog(buffer);
    lastActivityTick_ = clock_.Now();
    CheckLoginRefused();
}

// In the order of folders: the pane showing the first is listed first.
void BoxSession::RefreshShowing(const std::vector<std::string>& folders, std::optional<Pane> done) {
    std::array<bool, 2> listed{done == Source, done == Destination};
    for (const std::string& folder : folders) {
        for (const Pane pane : {Source, Destination}) {
            const std::string& shown = PaneOf(pane).CurrentPath;
            if (!listed[Index(pane)] && !shown.empty() && shown.starts_with(folder)) {
                listed[Index(pane)] = true;
                Refresh(pane);
            }
        }
    }
}

void BoxSession::SetSessionState(int state) {
    sessionState_ = state;
    conversation_.Framer().Clear();
    lastActivityTick_ = clock_.Now();
}

void BoxSession::CapturePromptMarker() {
    std::string& marker = settings_.PromptMarker;
    marker = ReceiveBuffer();
    if (!marker.empty()) {
        marker.pop_back();
    }
}

bool BoxSession::HandleDriveList() {
    drives_ = DriveEntries(ReplyLines());
    if (drives_.empty()) {
        return false;
    }
    for (const std::string& drive : drives_) {
        window_.AddDrive(Source, drive);
        window_.AddDrive(Destination, drive);
    }
    CapturePromptMarker();
    loggedIn_ = true;
    window_.SelectFirstDrive(Source);
    window_.SelectFirstDrive(Destination);
    window_.SetPaneEnabled(Source, true);
    window_.SetCopyEnabled(false);
    window_.SetPaneEnabled(Destination, true);
    window_.SetSetupEnabled(false);
    if (OnDrivesListed) {
        OnDrivesListed();
    }
    if (AfterLogin) {
        AfterLogin();
    }
    return true;
}

void BoxSession::HandleListing(Pane pane, const std::string& path, int depth) {
    PaneState* state = FindPane(pane);
    if (state == nullptr) {
        return;
    }
    const std::string fallback = std::exchange(fallbacks_[Index(pane)], {});
    auto entries = std::make_shared<const EntryList>(ListingEntries(ReplyLines(), depth));
    std::vector<std::string> messages = ListingMessages(ReplyLines());
    if (!fallback.empty() && !messages.empty() && !HoldsEntries(*entries)) {
        conversation_.Framer().Clear();
        OpenFolder(pane, fallback, 1);
        return;
    }
    state->Entries = std::move(entries);
    state->ListingMessages = std::move(messages);
    // The entries keep the reply's text; what the box says before the next
    // command starts a text of its own rather than a copy of a long listing.
    conversation_.Framer().Clear();
    state->ListedPath = path;
    state->ListedDepth = depth;
    window_.SetEntries(pane, state->Entries);
    window_.SetFolderUpEnabled(pane, depth > 1);
    if (!state->ListingMessages.empty()) {
        window_.SetStatusText(state->ListingMessages.front());
    }
    if (OnListed) {
        OnListed(pane);
    }
}

PaneState* BoxSession::FindPane(Pane pane) {
    if (pane != Source && pane != Destination) {
        return nullptr;
    }
    return &panes_[Index(pane)];
}

const PaneState& BoxSession::PaneOf(Pane pane) const {
    return panes_[Index(pane)];
}

// The pane's label names the folder at once; the listing goes out when the
// conversation is free, and a later one of the same pane replaces it while
// it waits. A line that cannot be sent leaves the pane where it was.
void BoxSession::OpenFolder(Pane pane, const std::string& path, int depth) {
    PaneState* state = FindPane(pane);
    if (state == nullptr) {
        return;
    }
    conversation_.Send({ListingCommand(path), [this, pane] { SetSessionState(ListingState(pane)); },
                        [this, pane, path, depth] { HandleListing(pane, path, depth); }, pane});
    state->CurrentPath = path;
    state->FolderDepth = depth;
    window_.SetFolderCaption(pane, path);
}

void BoxSession::ShowFolder(Pane pane, const std::string& path) {
    if (!path.empty()) {
        OpenFolder(pane, path, static_cast<int>(std::count(path.begin(), path.end(), '/')));
    }
}

void BoxSession::ReopenFolder(Pane pane, const std::string& path) {
    if (FindPane(pane) == nullptr || path.empty() || PathRefusal(path, PathUse::Read)) {
        return;
    }
    fallbacks_[Index(pane)] = path.substr(0, path.find('/') + 1);
    ShowFolder(pane, path);
    if (pane == Destination) {
        window_.SetCopyEnabled(true);
    }
}

void BoxSession::ChooseDrive(Pane pane, const std::string& drive) {
    if (FindPane(pane) == nullptr ||
        std::find(drives_.begin(), drives_.end(), drive) == drives_.end()) {
        return;
    }
    OpenFolder(pane, drive, 1);
    if (pane == Destination) {
        window_.SetCopyEnabled(true);
    }
}

// The entry belongs to the folder the pane lists, which is not the one its
// label names while another listing is on its way.
void BoxSession::EnterSelected(Pane pane) {
    const PaneState* state = FindPane(pane);
    const std::optional<ListEntry> entry = window_.SelectedEntry(pane);
    if (state == nullptr || !entry) {
        return;
    }
    switch (entry->kind) {
        case EntryKind::ThisFolder:
            Refresh(pane);
            break;
        case EntryKind::ParentFolder:
            FolderUp(pane);
            break;
        case EntryKind::Folder:
            OpenFolder(pane, state->ListedPath + entry->caption, state->ListedDepth + 1);
            break;
        case EntryKind::File:
            break;
    }
}

void BoxSession::Refresh(Pane pane) {
    const PaneState* state = FindPane(pane);
    // Before a drive has been chosen there is no folder to list.
    if (state != nullptr && !state->CurrentPath.empty()) {
        OpenFolder(pane, state->CurrentPath, state->FolderDepth);
    }
}

void BoxSession::FolderUp(Pane pane) {
    const PaneState* state = FindPane(pane);
    if (state == nullptr || state->FolderDepth <= 1 || state->CurrentPath.size() < 2) {
        return;
    }
    const std::string& path = state->CurrentPath;
    const std::size_t slash = path.rfind('/', path.size() - 2);
    if (slash != std::string::npos) {
        OpenFolder(pane, path.substr(0, slash + 1), state->FolderDepth - 1);
    }
}

}  // namespace olmira
