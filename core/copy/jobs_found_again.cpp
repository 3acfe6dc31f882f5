#include "copy/jobs_found_again.h"

#include <algorithm>

#include "conversation/conversation.h"
#include "jobs/job_handover.h"
#include "session/box_session.h"
#include "settings/setup.h"

namespace olmira {

JobsFoundAgain::JobsFoundAgain(const TSetup& settings, BoxSession& session,
                               Conversation& conversation, JobHandover& handover)
    : settings_(settings), session_(session), conversation_(conversation), handover_(handover) {}

JobRecord JobsFoundAgain::Record() const {
    return JobRecord(settings_.JobRecordPath);
}

void JobsFoundAgain::Look(bool background) {
    background_ = background;
    if (Record().OfHost(settings_.olmira_Host).empty()) {
        return;
    }
    handover_.EnsureRunner([this](bool ready, const std::string&) {
        if (!ready) {
            return;
        }
        conversation_.Ask(ListCommand(), [this] { Listed(); });
    });
}

// Running and queued jobs come first, in the box's order, so the one the
// runner works on is followed at once; the others are reported after it.
void JobsFoundAgain::Listed() {
    const std::optional<std::vector<RunnerJob>> onBox = ParseList(session_.ReplyLines());
    if (!onBox) {
        return;
    }
    due_.clear();
    std::vector<FollowedJob> ended;
    for (const RecordedJob& recorded : Record().OfHost(settings_.olmira_Host)) {
        const auto found = std::find_if(onBox->begin(), onBox->end(), [&](const RunnerJob& job) {
            return job.token == recorded.job.token;
        });
        if (found == onBox->end()) {
            ended.push_back(Lost(recorded.job));
            continue;
        }
        const bool running =
            found->state == RunnerJobState::Running || found->state == RunnerJobState::Queued;
        FollowedJob job{found->number, recorded.job,
                        JobReport{{GivenCount(recorded.job.entries), 0, {}}, recorded.job.mode},
                        !running};
        job.background = running && background_;
        if (running) {
            due_.push_back(std::move(job));
        } else {
            ended.push_back(std::move(job));
        }
    }
    std::sort(due_.begin(), due_.end(),
              [](const FollowedJob& a, const FollowedJob& b) { return a.number < b.number; });
    due_.insert(due_.end(), ended.begin(), ended.end());
    Next();
}

void JobsFoundAgain::Next() {
    if (due_.empty() || !Follow) {
        return;
    }
    FollowedJob job = std::move(due_.front());
    due_.pop_front();
    Follow(std::move(job));
}

// Nothing of the job is left on the box but what it changed: its
// temporary copies go. Its number (0) names no job, so its report tells
// that it was cut short.
FollowedJob JobsFoundAgain::Lost(const HandedJob& job) {
    for (const HandedEntry& entry : job.entries) {
        if (entry.op != EntryOp::Rename) {
            conversation_.Send({RemoveTemporaryCommand(job.destFolder, entry.caption), {}, {}});
        }
    }
    return {0, job, {{GivenCount(job.entries), 0, {}}, job.mode}, true};
}

}  // namespace olmira
