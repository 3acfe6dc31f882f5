#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "session/list_entry.h"
#include "session/pane.h"

namespace olmira {

struct TSetup;
class SessionWindow;
class BoxChannel;
class TickClock;
class CopyReplies;

enum SessionStateValue : int {
    ssDisconnected = 0,
    ssAwaitLoginPrompt = 1,
    ssAwaitPasswordPrompt = 2,
    ssAwaitShellPrompt = 3,
    ssAwaitDriveList = 4,
    ssAwaitSourceListing = 5,
    ssAwaitDestListing = 6,
    ssAwaitCopyStart = 7,
    ssAwaitCopyProgress = 8,
};

// What a pane shows: its folder below /var/media (ending in "/" once a drive
// has been chosen, empty before) and how deep that folder lies.
struct PaneState {
    std::string CurrentPath;
    int FolderDepth = 0;
    // What the pane lists now.
    std::vector<ListEntry> Entries;
};

// The main window's conversation with the box's shell: login paced by quiet
// time, one command at a time, replies collected up to the prompt and handed
// to the handler of the current state. Runs on the UI thread only.
//
// Wiring: the channel's received blocks go to TelnetDataAvailable and the end
// of its reader to ConnectionLost (TelnetLink::Attach does both); the window's
// 250 ms timer calls TimerTimer.
class BoxSession {
public:
    BoxSession(TSetup& settings, SessionWindow& window, BoxChannel& channel,
               const TickClock& clock);
    ~BoxSession();
    BoxSession(const BoxSession&) = delete;
    BoxSession& operator=(const BoxSession&) = delete;

    // Handlers. They throw olmira::Error for the window to show.
    void tbConnectClick();
    void TimerTimer();
    void TelnetDataAvailable(const std::string& buffer);
    // The box closed the connection or the channel's reader failed.
    void ConnectionLost();
    // Exit button: disconnects when connected, even when the box has gone.
    void DisconnectForExit();

    // Pane handlers, the same logic for both panes.
    void ChooseDrive(Pane pane);    // "go"
    void EnterSelected(Pane pane);  // double click or Enter on an entry
    void Refresh(Pane pane);
    void FolderUp(Pane pane);
    // Lists path (relative to /var/media, ending in "/") in the pane.
    void ShowFolder(Pane pane, const std::string& path);

    void SetSessionState(int state);
    void CapturePromptMarker();

    // Hands the replies of the copy states to copy; nullptr: none.
    void SetCopyReplies(CopyReplies* copy) { copy_ = copy; }

    int SessionState() const { return sessionState_; }
    const std::vector<std::string>& ReplyLines() const { return replyLines_; }
    const std::string& ReceiveBuffer() const { return receiveBuffer_; }
    bool CopyDone() const { return copyDone_; }
    // How the job ended, valid while CopyDone is set.
    bool CopyFailed() const { return copyFailed_; }
    void ClearCopyDone() { copyDone_ = copyFailed_ = false; }
    // A command's reply has been asked for by SetSessionState and not yet handled.
    bool ReplyOutstanding() const { return replyOutstanding_; }
    std::uint32_t LastActivityTick() const { return lastActivityTick_; }
    const PaneState& PaneOf(Pane pane) const;
    bool Connecting() const;

private:
    bool IsConnected() const;
    void Connect();
    void OnConnected();
    void Disconnect();
    void ShowDisconnectedLook();
    void LoginStep();
    void DispatchReply();
    std::string CollectLines();
    void HandleDriveList();
    void HandleListing(Pane pane);
    void OpenFolder(Pane pane, PaneState& state, const std::string& path, int depth);
    PaneState* FindPane(Pane pane);
    std::string ConnectHint(const char* action) const;

    TSetup& settings_;
    SessionWindow& window_;
    BoxChannel& channel_;
    const TickClock& clock_;
    // Dropped with the session, so a connect that completes later finds no one.
    std::shared_ptr<BoxSession*> self_;

    int sessionState_ = ssDisconnected;
    std::string receiveBuffer_;
    std::vector<std::string> replyLines_;
    std::uint32_t lastActivityTick_ = 0;
    bool copyDone_ = false;
    bool copyFailed_ = false;
    bool replyOutstanding_ = false;
    CopyReplies* copy_ = nullptr;
    // Set while we hang up ourselves: the box closing is expected then.
    bool leaving_ = false;
    std::array<PaneState, 2> panes_;
};

}  // namespace olmira
