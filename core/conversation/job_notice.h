#pragma once

#include <optional>
#include <string_view>

namespace olmira {

enum class JobEnd { Succeeded, Failed };

// The shell's notice that background job 1 has ended, as bash and busybox ash
// print it before a prompt: "[1]+  Done  cmd" is a success; "[1]+  Done(1)",
// "[1]+  Exit 1", "[1]+  Terminated", "[1]+  Killed" and the other signals'
// names are failures. Notices of a running or stopped job and the job's
// process id ("[1] 1234") end nothing.
std::optional<JobEnd> ParseJobEnd(std::string_view line);

}  // namespace olmira
