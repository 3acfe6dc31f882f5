#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "pane.h"

namespace olmira {

struct TSetup;
class SessionWindow;
class TTelnetChannel;
class TickClock;

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
};

// The main window's conversation with the box's shell: login paced by quiet
// time, one command at a time, replies collected up to the prompt and handed
// to the handler of the current state. Runs on the UI thread only.
class BoxSession {
public:
    BoxSession(TSetup& settings, SessionWindow& window, TTelnetChannel& telnet,
               const TickClock& clock);
    ~BoxSession();
    BoxSession(const BoxSession&) = delete;
    BoxSession& operator=(const BoxSession&) = delete;

    // Handlers. They throw olmira::Error; the window shows it.
    void tbConnectClick();
    void TimerTimer();
    void TelnetDataAvailable(const std::string& buffer);
    // Exit button: disconnects when connected. Never fails because the box
    // has already gone.
    void DisconnectForExit();

    // Pane handlers, the same logic for both panes.
    void ChooseDrive(Pane pane);      // "go"
    void EnterSelected(Pane pane);    // double click / Enter
    void Refresh(Pane pane);
    void FolderUp(Pane pane);

    void SetSessionState(int state);
    void CapturePromptMarker();

    int SessionState() const { return sessionState_; }
    const std::vector<std::string>& ReplyLines() const { return replyLines_; }
    const std::string& ReceiveBuffer() const { return receiveBuffer_; }
    bool CopyDone() const { return copyDone_; }
    void ClearCopyDone() { copyDone_ = false; }
    std::uint32_t LastActivityTick() const { return lastActivityTick_; }
    const PaneState& PaneOf(Pane pane) const;
    // True while a connect runs in the background.
    bool Connecting() const;

private:
    void Connect();
    void Connected();
    void Disconnect();
    void ConnectionLost();
    void ShowDisconnectedLook();
    void LoginStep();
    void DispatchReply();
    void CollectLines();
    void HandleDriveList();
    void HandleListing(Pane pane);
    void SendListing(Pane pane, const std::string& path);
    PaneState& MutablePane(Pane pane);
    std::string ConnectHint(const char* action) const;

    TSetup& settings_;
    SessionWindow& window_;
    TTelnetChannel& telnet_;
    const TickClock& clock_;

    int sessionState_ = ssDisconnected;
    std::string receiveBuffer_;
    std::vector<std::string> replyLines_;
    std::uint32_t lastActivityTick_ = 0;
    bool copyDone_ = false;
    std::array<PaneState, 2> panes_;
};

}  // namespace olmira
