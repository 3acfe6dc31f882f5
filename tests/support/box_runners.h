#pragma once

#include <sys/types.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "file_bytes.h"

namespace olmira::test_support {

// The box's runners (processes running the script's verb "run", but not
// their subshells), with all they started when asked: the test lives in
// the box's PID namespace.
inline std::vector<pid_t> Runners(bool andTheirs = false) {
    std::map<pid_t, pid_t> parents;
    std::set<pid_t> running;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const pid_t pid = std::atoi(entry.path().filename().c_str());
        std::ifstream stat(entry.path() / "stat");
        std::string skipped;
        std::string command;
        try {
            command = FileBytes(entry.path() / "cmdline");
        } catch (const std::ios_base::failure&) {
            continue;  // the process ended while it was read
        }
        if (pid > 0 && stat >> skipped >> skipped >> skipped >> parents[pid] &&
            command.find("/runner-") != std::string::npos &&
            command.ends_with(std::string("\0run\0", 5))) {
            running.insert(pid);
        }
    }
    std::vector<pid_t> found;
    for (const pid_t pid : running) {
        if (!running.contains(parents[pid])) {
            found.push_back(pid);
        }
    }
    for (std::size_t i = 0; andTheirs && i < found.size(); ++i) {
        for (const auto& [pid, parent] : parents) {
            if (parent == found[i]) {
                found.push_back(pid);
            }
        }
    }
    return found;
}

}  // namespace olmira::test_support
