#include "conversation/job_notice.h"

#include <algorithm>
#include <charconv>

namespace olmira {

namespace {

constexpr std::string_view kGap = "  ";
// What bash and ash write for a job that has ended: its exit or the signal
// that ended it.
constexpr std::string_view kEndStatuses[] = {
    "Done",    "Exit",  "Terminated", "Killed",    "Hangup",    "Interrupt",    "Quit",
    "Illegal", "Trace", "Abort",      "Bus",       "Floating",  "Segmentation", "Broken",
    "Alarm",   "User",  "CPU",        "File size", "Bad system"};

bool StartsWithWord(std::string_view text, std::string_view word) {
    return text.substr(0, word.size()) == word &&
           (text.size() == word.size() || text[word.size()] == ' ');
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "[N]" at the start of line: N, and the rest of the line behind it.
std::optional<int> JobNumber(std::string_view& line) {
    const std::size_t close = line.find(']');
    if (!line.starts_with('[') || close == std::string_view::npos ||
        !AllDigits(line.substr(1, close - 1))) {
        return std::nullopt;
    }
    int job = 0;
    const auto [end, error] = std::from_chars(line.data() + 1, line.data() + close, job);
    if (error != std::errc() || job <= 0) {
        return std::nullopt;
    }
    line.remove_prefix(close + 1);
    return job;
}

// The status behind "[N]", the current-job mark ('+', '-' or a blank) and
// two blanks; nullopt when the line is no job line.
std::optional<std::string_view> JobStatus(std::string_view line, int& job, bool& current) {
    const std::optional<int> number = JobNumber(line);
    if (!number || line.size() <= 1 + kGap.size()) {
        return std::nullopt;
    }
    const char mark = line.front();
    if ((mark != '+' && mark != '-' && mark != ' ') || line.substr(1, kGap.size()) != kGap) {
        return std::nullopt;
    }
    job = *number;
    current = mark == '+';
    return line.substr(1 + kGap.size());
}

}  // namespace

std::optional<JobNotice> ParseJobNotice(std::string_view line) {
    int job = 0;
    bool current = false;
    const std::optional<std::string_view> status = JobStatus(line, job, current);
    if (!status) {
        return std::nullopt;
    }
    if (StartsWithWord(*status, "Done")) {
        return JobNotice{job, JobEnd::Succeeded, current};
    }
    for (const std::string_view end : kEndStatuses) {
        if (status->substr(0, end.size()) == end) {
            return JobNotice{job, JobEnd::Failed, current};
        }
    }
    return std::nullopt;
}

}  // namespace olmira
