#include "session/box_session.h"

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
    if (reconnect_.Active()) {
        // the user takes over: no more tries, and one under way is dropped
        reconnect_.Stop();
        reopen_ = {};
        dropTry_ = channel_.Connecting();
        window_.StopTimer();
        window_.SetStatusText("Verbindung zur Box wurde getrennt");
        if (IsConnected()) {
            EndConnection();
        }
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
        if (std::exchange(dropTry_, false)) {
            channel_.Disconnect();
            return;
        }
        if (error && reconnect_.Active()) {
            RetryFailed(ErrorText(error));
        } else if (error) {
            window_.ShowError(ErrorText(error));
        } else {
            OnConnected();
        }
    });
}

void BoxSession::OnConnected() {
    lastActivityTick_ = clock_.Now();
    sessionState_ = channel_.LogsIn() ? ssAwaitShellPrompt : ssAwaitLoginPrompt;
    shellPrompt_.clear();
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
    if (!loggedIn_ && reconnect_.Active()) {
        // a box still starting may hang up on a login
        EndConnection();
        RetryFailed("die Box hat aufgelegt");
        return;
    }
    if (!loggedIn_) {
        // A box that hangs up before its drive list has refused the login;
        // its last line says why ("Login incorrect").
        ReportRefusedLogin(LastLine(ReplyLines(), ReceiveBuffer()));
        return;
    }
    LineDropped();
}

// The user did not hang up: the line is tried again, and the folders the
// panes showed are opened again once it is back.
void BoxSession::LineDropped() {
    for (const Pane pane : {Source, Destination}) {
        reopen_[Index(pane)] = panes_[Index(pane)].CurrentPath;
    }
    EndConnection();
    reconnect_.Start(clock_.Now());
    RetryTimer();
    window_.StartTimer();
}

void BoxSession::RetryFailed(const std::string& reason) {
    reconnect_.Failed(clock_.Now());
    window_.AppendLog("Verbindungsversuch fehlgeschlagen: " + reason + "\n");
    RetryTimer();
    window_.StartTimer();
}

// Counts down to the next try in the status bar, and makes it when due.
void BoxSession::RetryTimer() {
    const std::uint32_t now = clock_.Now();
    if (!reconnect_.Due(now)) {
        if (const std::uint32_t seconds = reconnect_.SecondsLeft(now); seconds > 0) {
            window_.SetStatusText("Verbindung zur Box unterbrochen; neuer Versuch in " +
                                  std::to_string(seconds) + " s");
        }
        return;
    }
    if (!reconnect_.Attempt(now)) {
        window_.StopTimer();
        reopen_ = {};
        window_.SetStatusText("Verbindung zur Box unterbrochen");
        window_.ShowMessage(
            "Die Verbindung zur Box ist unterbrochen und kam in 5 Minuten nicht "
            "wieder. Bitte später neu verbinden.");
        return;
    }
    window_.SetStatusText("Verbindung zur Box wird wieder hergestellt...");
    Connect();
}

std::string BoxSession::TakeFolderToReopen(Pane pane) {
    return std::exchange(reopen_[Index(pane)], {});
}

void BoxSession::ReportRefusedLogin(const std::string& reason) {
    reconnect_.Stop();
    reopen_ = {};
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
        window_.SetListingPending(pane, false);
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
    if (sessionState_ == ssDisconnected) {
        if (reconnect_.Active()) {
            RetryTimer();
        }
        return;
    }
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

void BoxSession::TelnetDataAvailable(const std::string& buffer) {
    conversation_.Receive(buffer);
    window_.AppendLog(buffer);
    lastActivityTick_ = clock_.Now();
    CheckLoginRefused();
    FollowPrompt();
}

void BoxSession::SetSessionState(int state) {
    sessionState_ = state;
    conversation_.Framer().Clear();
    lastActivityTick_ = clock_.Now();
}

}  // namespace olmira
