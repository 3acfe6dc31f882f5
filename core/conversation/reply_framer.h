#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversation/job_notice.h"
#include "conversation/reply_lines.h"

namespace olmira {

// Cuts what the box's shell prints into reply lines and tells when a reply
// has come to its prompt. Lines end at CR; LF is dropped. The shell's notices
// that background jobs have ended are taken out of the lines and kept.
//
// A reply is complete at the end of a block once one of its lines begins
// with the prompt: the prompt marker and at least one more byte. Only our
// own output lines could begin so, and none of them does (a listing line
// begins with its size, an echo with the command), so a name that holds the
// prompt's text never ends a reply, wherever the blocks split. What the
// shell prints behind the prompt on the same line (a background job's
// message) does not hide it.
class ReplyFramer {
public:
    // marker is read at every block, so a newly learnt prompt holds at once.
    explicit ReplyFramer(const std::string& marker) : marker_(marker) {}

    // Adds a received block; true once the reply has come to its prompt.
    bool Feed(std::string_view block);
    // The open line becomes the reply's last line, even when it is empty.
    void EndReply();
    // Forgets the lines and the open line, as a new command goes out.
    void Clear();
    // Forgets the open line when it is a prompt.
    void ForgetPrompt();
    // The line that has just gone out, whose echo opens the reply. A line
    // editor that wraps the echo at its terminal's width ends it with line
    // ends of its own; they are taken out again, so that the echo stays the
    // reply's first line and no part of it is read as output.
    void ExpectEcho(std::string_view line) { echo_ = line; }

    const ReplyLines& Lines() const { return lines_; }
    // What has come since the last CR: where the prompt stands.
    std::string_view OpenLine() const { return lines_.OpenLine(); }

    // The notices of ended jobs since the last ClearEndedJobs, oldest first.
    const std::vector<JobNotice>& EndedJobs() const { return endedJobs_; }
    // How job ended, if its notice has come.
    std::optional<JobEnd> JobEnded(int job) const;
    void ClearEndedJobs() { endedJobs_.clear(); }

private:
    bool HoldsPrompt(std::string_view line) const;
    bool InsideEcho(std::string_view openLine);
    void EndLine();

    const std::string& marker_;
    ReplyLines lines_;
    bool promptSeen_ = false;
    // The echo still expected; empty once its line has ended.
    std::string echo_;
    std::vector<JobNotice> endedJobs_;
};

}  // namespace olmira
