#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "conversation/box_channel.h"
#include "conversation/conversation.h"
#include "session/entry_dates.h"
#include "session/list_entry.h"
#include "session/pane.h"
#include "session/reconnect_schedule.h"

namespace olmira {

struct TSetup;
class SessionWindow;
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

// What a pane shows: the folder below /var/media that its label names
// (ending in "/" once a drive has been chosen, empty before) and how deep
// that folder lies, and the folder whose entries it lists, which differs
// while a listing is on its way.
struct PaneState {
    std::string CurrentPath;
    int FolderDepth = 0;
    std::string ListedPath;
    int ListedDepth = 0;
    SharedEntries Entries = NoEntries();
    // What ls said about the listed folder, e.g. that it does not exist.
    std::vector<std::string> ListingMessages;
};

// The main window's session with the box's shell: login paced by quiet
// time, then the panes' commands through the conversation, one at a time,
// each reply handed to the handler of its command. Runs on the UI thread.
//
// Wiring: the channel's received blocks go to TelnetDataAvailable and the end
// of its reader to ConnectionLost (TelnetLink::Attach does both); the window's
// 250 ms timer calls TimerTimer.
class BoxSession final : public BoxListener {
public:
    BoxSession(TSetup& settings, SessionWindow& window, BoxChannel& channel,
               Conversation& conversation, const TickClock& clock);
    ~BoxSession();
    BoxSession(const BoxSession&) = delete;
    BoxSession& operator=(const BoxSession&) = delete;

    // Handlers. They throw olmira::Error for the window to show.
    void tbConnectClick();
    void TimerTimer();
    void TelnetDataAvailable(const std::string& buffer) override;
    void ConnectionLost() override;
    // Exit button: disconnects when connected, even when the box has gone.
    void DisconnectForExit();

    // Pane handlers, the same logic for both panes.
    // "go": drive is the one the user chose of those the box listed.
    void ChooseDrive(Pane pane, const std::string& drive);
    void EnterSelected(Pane pane);  // double click or Enter on an entry
    void Refresh(Pane pane);
    // After a change: lists afresh each pane but done that shows one of
    // folders (below the media root, ending in "/") or a folder inside one.
    void RefreshShowing(const std::vector<std::string>& folders,
                        std::optional<Pane> done = std::nullopt);
    void FolderUp(Pane pane);
    // Lists path (relative to /var/media, ending in "/") in the pane.
    void ShowFolder(Pane pane, const std::string& path);
    // The same for a folder from an earlier run: when the box says it is
    // not there any more, the drive it lay on is listed instead. A path off
    // the drives is left alone.
    void ReopenFolder(Pane pane, const std::string& path);

    void SetSessionState(int state);
    void CapturePromptMarker();

    // Disconnect, exit or a lost connection; the window shows the
    // disconnected look already.
    std::function<void()> OnConnectionEnded;
    // A pane has shown a new listing.
    std::function<void(Pane)> OnListed;
    // The drive boxes have been filled after the login.
    std::function<void()> OnDrivesListed;
    // Then: the jobs handed to the box earlier may be looked for.
    std::function<void()> AfterLogin;

    int SessionState() const { return sessionState_; }
    const olmira::ReplyLines& ReplyLines() const { return conversation_.Framer().Lines(); }
    std::string_view ReceiveBuffer() const { return conversation_.Framer().OpenLine(); }
    // Notices of background jobs that have ended since ClearEndedJobs.
    const std::vector<JobNotice>& EndedJobs() const { return conversation_.Framer().EndedJobs(); }
    std::optional<JobEnd> JobEnded(int job) const { return conversation_.Framer().JobEnded(job); }
    void ClearEndedJobs() { conversation_.Framer().ClearEndedJobs(); }
    std::uint32_t LastActivityTick() const { return lastActivityTick_; }
    const PaneState& PaneOf(Pane pane) const;
    bool Connecting() const;
    // Whether the line dropped by itself and is being tried again.
    bool Reconnecting() const { return reconnect_.Active(); }
    // Whether this login came by itself after a dropped line.
    bool Reconnected() const { return reconnected_; }
    // The folder a pane showed when the line dropped, once, after the login
    // that came by itself; empty otherwise.
    std::string TakeFolderToReopen(Pane pane);

private:
    bool IsConnected() const;
    void Connect();
    void OnConnected();
    void Disconnect();
    void ShowDisconnectedLook();
    void EndConnection();
    void ReportRefusedLogin(const std::string& reason);
    void LineDropped();
    void RetryTimer();
    void RetryFailed(const std::string& reason);
    void CheckLoginRefused();
    void FollowPrompt();
    void LoginStep();
    // False when the reply lists no drive yet.
    bool HandleDriveList();
    // select: the entry to make current once the listing is shown, if any.
    void HandleListing(Pane pane, const std::string& path, int depth, const std::string& select);
    void OpenFolder(Pane pane, const std::string& path, int depth, const std::string& select = {});
    void AskDates(Pane pane, const std::string& path, ListedOrder order);
    PaneState* FindPane(Pane pane);
    static std::size_t Index(Pane pane) { return pane == Source ? 0 : 1; }
    // A pane's dates after its listing; a later one waiting replaces them.
    static constexpr int kDatesSlot = 20;

    TSetup& settings_;
    SessionWindow& window_;
    BoxChannel& channel_;
    Conversation& conversation_;
    const TickClock& clock_;
    // Dropped with the session, so a connect that completes later finds no one.
    std::shared_ptr<BoxSession*> self_;

    int sessionState_ = ssDisconnected;
    std::uint32_t lastActivityTick_ = 0;
    // Set while we hang up ourselves: the box closing is expected then.
    bool leaving_ = false;
    // From the drive list on: a hang-up before it is a refused login.
    bool loggedIn_ = false;
    std::array<PaneState, 2> panes_;
    // Per pane: the drive to list when the reopened folder is gone.
    std::array<std::string, 2> fallbacks_;
    // The drives the box listed at the login.
    std::vector<std::string> drives_;
    ReconnectSchedule reconnect_;
    bool reconnected_ = false;
    // The user stopped the tries while one was connecting.
    bool dropTry_ = false;
    std::array<std::string, 2> reopen_;
    // Over SSH: the shell's prompt as it first showed it.
    std::string shellPrompt_;
};

}  // namespace olmira
