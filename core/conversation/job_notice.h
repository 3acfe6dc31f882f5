#pragma once

#include <optional>
#include <string_view>

namespace olmira {

enum class JobEnd { Succeeded, Failed };

// The shell's notice that a background job has ended, as bash and busybox
// ash print it before a prompt.
struct JobNotice {
    int job = 0;
    JobEnd end = JobEnd::Succeeded;
    // Marked "+": the shell's current job, the one started last.
    bool current = false;

    bool operator==(const JobNotice&) const = default;
};

// "[2]+  Done  cmd" is a success of job 2; "[1]-  Done(1)", "[1]+  Exit 1",
// "[1]+  Terminated", "[1]+  Killed" and the other signals' names are
// failures. Notices of a running or stopped job and a job's process id
// ("[1] 1234") end nothing.
std::optional<JobNotice> ParseJobNotice(std::string_view line);

}  // namespace olmira
