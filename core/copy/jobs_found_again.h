#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "copy/job_follower.h"
#include "jobs/job_record.h"
#include "jobs/runner_status.h"

namespace olmira {

struct TSetup;
class BoxSession;
class Conversation;
class JobHandover;

// After a login: the jobs this PC handed to the box and has not reported
// yet. One still running is followed as if started in this run; one that
// ended meanwhile is reported once and cleared on the box. One the box no
// longer knows (a restart emptied its /tmp) is reported as interrupted,
// after its temporary copies have been removed.
// Its reports come through the follower, one job at a time.
class JobsFoundAgain {
public:
    JobsFoundAgain(const TSetup& settings, BoxSession& session, Conversation& conversation,
                   JobHandover& handover);

    // Reads the box's jobs; follow is called for one job at a time, and
    // Next once it has ended. Those still running are followed in the
    // background when background says so.
    void Look(bool background);
    void Next();
    std::function<void(FollowedJob)> Follow;
    // A job of this PC that the box no longer knows: its temporary copies
    // are removed, and the job to follow, whose report tells that it was
    // cut short, is returned.
    FollowedJob Lost(const HandedJob& job);

private:
    void Listed();
    JobRecord Record() const;

    bool background_ = false;

    const TSetup& settings_;
    BoxSession& session_;
    Conversation& conversation_;
    JobHandover& handover_;
    std::deque<FollowedJob> due_;
};

}  // namespace olmira
