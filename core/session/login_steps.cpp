#include "session/box_session.h"

#include <string_view>

#include "conversation/shell_command.h"
#include "session/listing.h"
#include "session/session_window.h"
#include "settings/setup.h"
#include "telnet/cursor_query.h"

// The login's steps after the connect: the name and password over Telnet,
// then the drive list, which ends the login.

namespace olmira {

namespace {

// The end of a shell's prompt: root's "# ", a user's "$ ", or "> ", perhaps
// followed by busybox's line editor asking where the cursor is.
bool LooksLikePrompt(std::string_view line) {
    while (line.ends_with(kCursorPositionRequest)) {
        line.remove_suffix(kCursorPositionRequest.size());
    }
    return line.size() >= 2 && line.back() == ' ' &&
           std::string_view("#$>").find(line[line.size() - 2]) != std::string_view::npos;
}
}  // namespace

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

// Over SSH the connect has logged in: the shell's first prompt says it is
// ready, and the same prompt after the drive list that the list is whole,
// with no quiet time to wait for. Should the prompt not be recognised, the
// quiet time still moves the login on.
void BoxSession::FollowPrompt() {
    if (!channel_.LogsIn()) {
        return;
    }
    const std::string_view open = ReceiveBuffer();
    if (sessionState_ == ssAwaitShellPrompt && LooksLikePrompt(open)) {
        shellPrompt_ = open;
        LoginStep();
    } else if (sessionState_ == ssAwaitDriveList && !shellPrompt_.empty() && open == shellPrompt_ &&
               HandleDriveList()) {
        window_.StopTimer();
    }
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
    reconnected_ = reconnect_.Active();
    reconnect_.Stop();
    window_.SelectFirstDrive(Source);
    window_.SelectFirstDrive(Destination);
    window_.SetPaneEnabled(Source, true);
    window_.SetCopyEnabled(false);
    window_.SetPaneEnabled(Destination, true);
    window_.SetSetupEnabled(false);
    // the drives have come; a step that follows (a job found again) may
    // tell more
    window_.SetStatusText("Bereit...");
    if (OnDrivesListed) {
        OnDrivesListed();
    }
    if (AfterLogin) {
        AfterLogin();
    }
    return true;
}

}  // namespace olmira
