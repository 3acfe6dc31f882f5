#pragma once

#include <optional>
#include <string>
#include <vector>

#include "copy/job_plan.h"
#include "jobs/runner_commands.h"
#include "jobs/runner_status.h"

namespace olmira {

class HeadlessSession;

// How a followed job ended: its report, and what the window would have
// shown of it (empty when every entry was done).
struct FollowedEnd {
    JobReport report;
    std::string message;
    bool AllDone() const { return report.done == report.entries; }
};

// A line for each entry of each job:
// "JOB<TAB>JOBSTATE<TAB>PATH<TAB>ENTRYSTATE", with "<TAB>REASON" when it
// failed. A job is "läuft", "wartet", "fertig" or "unterbrochen"; an entry
// "erledigt", "läuft", "wartet", "fehlgeschlagen", "abgebrochen",
// "übersprungen", or "unterbrochen" when its job was cut short before it
// ended. PATH is below /var/media.
std::vector<std::string> JobLines(const std::vector<RunnerJob>& jobs,
                                  const std::vector<HandedJob>& recorded);

// The console's verbs for the jobs of the runner on the box, whichever PC
// handed them over; a logged-in session is made when needed.
class HeadlessJobs {
public:
    explicit HeadlessJobs(HeadlessSession& run) : run_(run) {}

    // The JobLines of every job the runner has, oldest first.
    std::vector<std::string> Lines();
    // Follows job number to its end; when number is 0, this PC's job that
    // the box runs, else its lowest waiting one, else its oldest ended one,
    // else one the box no longer knows (a restart emptied its /tmp), which
    // is reported cut short. Throws when there is no such job.
    FollowedEnd Await(int number);
    // Cancels the running or waiting job number and follows it to its end.
    FollowedEnd Cancel(int number);

private:
    std::vector<RunnerJob> OnBox();
    std::vector<HandedJob> Recorded() const;
    std::optional<RunnerJob> OwnNext(const std::vector<RunnerJob>& jobs) const;
    std::optional<HandedJob> OwnLost(const std::vector<RunnerJob>& jobs) const;
    FollowedEnd AwaitOnce(int number);
    FollowedEnd Follow(const RunnerJob& job, bool cancel);
    FollowedEnd Ended();

    HeadlessSession& run_;
};

}  // namespace olmira
