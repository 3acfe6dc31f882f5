#include "conversation/job_notice.h"

namespace olmira {

namespace {

constexpr std::string_view kJobOne = "[1]";
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

}  // namespace

std::optional<JobEnd> ParseJobEnd(std::string_view line) {
    // "[1]", the current-job mark ('+', '-' or a blank), two blanks, status.
    if (line.substr(0, kJobOne.size()) != kJobOne || line.size() <= kJobOne.size() + kGap.size()) {
        return std::nullopt;
    }
    const char mark = line[kJobOne.size()];
    if ((mark != '+' && mark != '-' && mark != ' ') ||
        line.substr(kJobOne.size() + 1, kGap.size()) != kGap) {
        return std::nullopt;
    }
    const std::string_view status = line.substr(kJobOne.size() + 1 + kGap.size());
    if (StartsWithWord(status, "Done")) {
        return JobEnd::Succeeded;
    }
    for (const std::string_view end : kEndStatuses) {
        if (status.substr(0, end.size()) == end) {
            return JobEnd::Failed;
        }
    }
    return std::nullopt;
}

}  // namespace olmira
