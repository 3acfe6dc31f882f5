#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "session/list_entry.h"
#include "session/pane.h"

namespace olmira {

struct TSetup;
class BoxSession;
class Conversation;
class SessionWindow;
class CopyWindow;

enum class TransferMode { Copy, Move };

// Copies the entry selected in the source pane into the destination pane's
// folder, on the box: cp runs as background job 1 of the box's shell, and a
// listing of the copy is sent again and again until the shell's notice that
// the job has ended comes with a reply. Every copy is polled, with or
// without a progress window, since the shell reports the job's end only in
// the reply to a further command line. A copy starts once the destination's
// listing of its current folder has come, so its questions read that
// folder's entries. Runs on the UI thread; the window's copy timer calls
// CopyTimerTimer.
class CopyController final {
public:
    CopyController(const TSetup& settings, BoxSession& session, SessionWindow& window,
                   CopyWindow& copyWindow, Conversation& conversation);

    // Handlers. They throw olmira::Error for the window to show.
    // F5 (Copy) and F6 (Move): the entries selected in pane from, into the
    // other pane's folder.
    void StartJob(TransferMode mode, Pane from);
    // The copy button: left to right.
    void tbCopyFileClick();
    // Ends the running copy and removes what it left, when that was new.
    void Cancel();
    void CopyTimerTimer();

    void HandleCopyStarted();
    void HandleCopyProgress();
    // Disconnect, exit or a lost connection.
    void ConnectionEnded();

    bool Running() const { return phase_ != Phase::Idle; }
    std::int64_t CopySizeKB() const { return copySizeKB_; }
    std::int64_t LastTransferredKB() const { return lastTransferredKB_; }

    // Between the polls of a copy without a window: its end shows at once.
    static constexpr int kQuietPollMs = 500;
    // Before the destination is listed after the copy.
    static constexpr int kSettleMs = 500;
    // Between polls while a cancelled copy's job ends.
    static constexpr int kCancelPollMs = 250;

private:
    enum class Phase { Idle, Waiting, Starting, Running, Removing, Finishing };

    bool Unambiguous(const std::string& name) const;
    bool Confirmed(const std::string& name) const;
    void Start(const ListEntry& entry, const std::string& sourceFolder);
    void Send(std::string line, void (CopyController::*reply)());
    bool ProgressShown() const;
    void StartProgress();
    void SendPoll();
    void UpdateProgress();
    void Finish();
    void FinishCancelled();
    void Settle();
    void ListDestination();

    const TSetup& settings_;
    BoxSession& session_;
    SessionWindow& window_;
    CopyWindow& copyWindow_;
    Conversation& conversation_;

    Phase phase_ = Phase::Idle;
    std::string sourceFolder_;
    std::string name_;
    std::string destFolder_;
    std::int64_t copySizeKB_ = 0;
    std::int64_t lastTransferredKB_ = 0;
    bool windowShown_ = false;
    bool pollOutstanding_ = false;
    bool cancelRequested_ = false;
    bool killSent_ = false;
    // Whether the destination listed the name before the copy: only a copy
    // that made a new entry may be removed when it is cancelled.
    bool targetExisted_ = false;
    // cp's messages from the replies that have been dropped since the start.
    std::vector<std::string> cpMessages_;
    std::string failure_;
};

}  // namespace olmira
