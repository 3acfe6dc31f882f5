#pragma once

#include <functional>
#include <optional>
#include <string>

#include "jobs/runner_commands.h"

namespace olmira {

class BoxSession;
class Conversation;

// Hands jobs to the runner on the box: writes this version's runner there
// when it is missing, then the job's file, and submits it. From then on the
// box runs the job alone, whatever becomes of the connection.
class JobHandover {
public:
    // number is the box's number for the job; nullopt with the reason when
    // the box did not take it, and nothing was started then.
    using Done = std::function<void(std::optional<int> number, const std::string& reason)>;

    JobHandover(BoxSession& session, Conversation& conversation);

    void HandOver(const HandedJob& job, Done done);
    // Makes sure this version's runner is on the box; ready tells whether
    // it is, with the box's words when not.
    void EnsureRunner(std::function<void(bool ready, const std::string& reason)> next);

private:
    void Install(std::function<void(bool, const std::string&)> next);
    void Submit(const HandedJob& job, Done done);

    BoxSession& session_;
    Conversation& conversation_;
};

}  // namespace olmira
