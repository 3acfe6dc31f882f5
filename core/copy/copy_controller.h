#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "copy/job_board.h"
#include "copy/job_follower.h"
#include "copy/job_plan.h"
#include "copy/job_planner.h"
#include "copy/jobs_found_again.h"
#include "jobs/job_handover.h"
#include "jobs/job_record.h"
#include "session/pane.h"

namespace olmira {

struct TSetup;
class BoxSession;
class Conversation;
class SessionWindow;
class CopyWindow;

// Copies or moves entries into the other pane's folder as one job that the
// box runs alone: this PC plans and checks the job (JobPlanner), hands it to
// the runner on the box (JobHandover) and remembers it, then only watches
// it (JobFollower). A lost connection, or the program's end, leaves the job
// running on the box. Runs on the UI thread; the window's copy timer calls
// CopyTimerTimer.
class CopyController final {
public:
    CopyController(const TSetup& settings, BoxSession& session, SessionWindow& window,
                   CopyWindow& copyWindow, Conversation& conversation);

    // Handlers. They throw olmira::Error for the window to show.
    // F5 (Copy) and F6 (Move): the entries selected in pane from, into the
    // other pane's folder; a recording's info file goes along when the
    // settings say so.
    void StartJob(TransferMode mode, Pane from);
    // The copy button: left to right.
    void tbCopyFileClick();
    // Before the hand-over nothing of the job reaches the box; after it,
    // the runner ends the running entry, removes its temporary copy and
    // leaves the later entries unstarted. A job in the background is
    // cancelled from the job list only.
    void Cancel();
    // "Im Hintergrund": the job goes on while the panes browse.
    void SendToBackground() { follower_.SendToBackground(); }
    void CopyTimerTimer();
    // Disconnect, exit or a lost connection.
    void ConnectionEnded();

    // The entries, as listed in their folders, into the folder that pane to
    // lists, as the console front gathers them.
    void StartJob(TransferMode mode, std::vector<JobSource> sources, Pane to);
    // After a login: follows or reports the jobs handed to this box before;
    // after one that came by itself, those still running in the background
    // as the setting says for every job.
    void FindJobsAgain(bool afterDrop);

    bool Running() const;
    // Whether a new job may start: none is being planned or handed over,
    // and none holds the panes. One started while another runs waits for
    // it on the box.
    bool Accepting() const;

    // Every job of this run as the job list shows it: those ended since
    // ClearEnded, the one running and those waiting behind it.
    std::vector<BoardJob> Board() const;
    // The number of the job not yet ended that reads or writes the entry
    // at path (below the media root), or holds it in a folder it takes.
    std::optional<int> JobUsing(const std::string& path) const;
    void CancelJob(int number);
    // Leaves a waiting entry (counted from 0) of a job out.
    void CancelEntry(int number, std::size_t entry);
    void ClearEnded();
    // The job list has changed.
    std::function<void()> OnJobsChanged;
    // Whether entries are being deleted, renamed or made: no job starts then.
    std::function<bool()> TidyBusy;
    // What became of the last job's entries.
    const JobReport& LastReport() const { return report_; }
    // The box's number of the job being followed, once it has one.
    int FollowedNumber() const { return number_; }
    // The program's own record of the jobs it handed over.
    // The settings are read after the window is made: the path is taken
    // from them each time.
    JobRecord Record() const;
    // Follows a job the box has, handed over in an earlier run or by
    // another PC, to its end as if this run had handed it over.
    void Follow(FollowedJob job);
    // Reports a job of this PC that the box no longer knows (a restart
    // emptied its /tmp) as cut short, after removing its temporary copies.
    void FollowLost(const HandedJob& job) { Follow(foundAgain_.Lost(job)); }
    // Sends command to this version's runner, which is put on the box first
    // when missing; replied runs with the reply in the session's
    // ReplyLines, or with ready false and the box's words when the runner
    // could not be put there.
    void AskRunner(std::string command,
                   std::function<void(bool ready, const std::string& reason)> replied);

private:
    bool Unambiguous(const std::string& name, const EntryList& entries) const;
    void HandOver(const PlannedJob& job);
    void HandedOver(const PlannedJob& job, const HandedJob& handed, std::optional<int> number,
                    const std::string& reason);
    void FollowNext();
    void Changed() const;

    const TSetup& settings_;
    SessionWindow& window_;
    CopyWindow& copyWindow_;
    BoxSession& session_;
    Conversation& conversation_;
    JobPlanner planner_;
    JobHandover handover_;
    JobFollower follower_;
    JobsFoundAgain foundAgain_;
    bool handingOver_ = false;
    bool cancelBeforeHandedOver_ = false;
    int number_ = 0;
    JobReport report_;
    // Handed over while another job ran: the box runs them in turn.
    std::deque<FollowedJob> queued_;
    std::vector<int> cancelledQueued_;
    std::vector<BoardJob> ended_;
    // The jobs not ended when the line dropped, until they are followed
    // again.
    std::vector<BoardJob> away_;
};

}  // namespace olmira
