#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "copy/job_board.h"
#include "copy/job_plan.h"
#include "jobs/runner_commands.h"
#include "jobs/runner_status.h"

namespace olmira {

struct TSetup;
class BoxSession;
class Conversation;
class SessionWindow;
class CopyWindow;

// A job the runner on the box has, as the program follows it.
struct FollowedJob {
    int number = 0;
    HandedJob job;
    // Every entry of the job as the user gave it; those left out before it
    // was handed over among its problems.
    JobReport report;
    // Handed over in an earlier run: its end report says so.
    bool foundAgain = false;
    // Handed over by this run, so its copying started from nothing: the
    // first poll's rate counts from 0 kB. Of another job only the copying
    // between two polls is known.
    bool startedHere = false;
    // Followed without a progress window and with the panes usable; its
    // end is told by the desktop's notification.
    bool background = false;
};

// Follows a job that the box runs: one short poll of the runner per
// update_intervall (more often without a progress window, so that a short
// job's end shows at once), the progress window from the runner's status and
// the size of the running entry's temporary copy, Esc as the runner's
// cancel, and at the end the report, the box's record of the job cleared
// and the panes listed afresh. The window's copy timer calls TimerTimer.
class JobFollower {
public:
    JobFollower(const TSetup& settings, BoxSession& session, SessionWindow& window,
                CopyWindow& copyWindow, Conversation& conversation);

    void Follow(FollowedJob job);
    void Cancel();
    // The progress window closes and the panes are usable again; the job
    // is followed on.
    void SendToBackground();
    void TimerTimer();
    // The job goes on on the box; the program stops following it.
    void ConnectionEnded();
    bool Busy() const { return phase_ != Phase::Idle; }
    // Following a job that locks the panes.
    bool InForeground() const { return phase_ == Phase::Following && !followed_.background; }
    const FollowedJob& Followed() const { return followed_; }
    // What the polls have told of the job so far.
    JobProgress Progress() const;

    // The job has ended on the box and its report is final.
    std::function<void(const FollowedJob&, const JobReport&)> OnEnded;
    // A poll has told something new of the job.
    std::function<void()> OnProgress;

    // Between the polls of a job without a window: such a job is small, and
    // its end shows at once.
    static constexpr int kQuietPollMs = 100;
    // Before the panes are listed after the job: none, as the runner ends a
    // job only once every entry is in place. The listing is still the
    // timer's step, taken after the poll's reply has been handled.
    static constexpr int kSettleMs = 0;
    // Between polls while a cancelled job ends.
    static constexpr int kCancelPollMs = 250;

private:
    enum class Phase { Idle, Following, Finishing };

    void SendPoll();
    void Polled();
    void UpdateProgress();
    void TellEnd(const JobReport& report);
    void Ended();
    JobReport FinalReport() const;
    std::string FinalStatus(const JobReport& report) const;
    std::string FinalMessage(const JobReport& report) const;
    void ListPanes();
    void ListPanesOf(std::size_t first);
    void ListChangedPanes();
    int PollMs() const;
    bool SingleCopy() const;

    const TSetup& settings_;
    BoxSession& session_;
    SessionWindow& window_;
    CopyWindow& copyWindow_;
    Conversation& conversation_;

    Phase phase_ = Phase::Idle;
    FollowedJob followed_;
    RunnerJob status_;
    std::int64_t totalKB_ = 0;
    std::optional<std::int64_t> lastKB_;
    std::optional<std::int64_t> rateKBs_;
    // The entries, from the first on, whose folders have been listed since
    // they ended.
    std::size_t listedEnded_ = 0;
    bool windowShown_ = false;
    bool pollOutstanding_ = false;
    bool cancelRequested_ = false;
    bool cancelSent_ = false;
    std::string message_;
};

}  // namespace olmira
