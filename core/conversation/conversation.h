#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "conversation/reply_framer.h"

namespace olmira {

class BoxChannel;

// The conversation with the box's shell: one command line at a time, the
// next when the previous reply has come to its prompt. Runs on the UI thread.
class Conversation {
public:
    using Step = std::function<void()>;

    struct Command {
        std::string line;
        // Runs as the line goes out.
        Step sent;
        // Runs when the line's reply is complete.
        Step reply;
        // Non-zero: a later command of the same slot replaces this one as
        // long as it waits unsent.
        int slot = 0;
    };

    Conversation(BoxChannel& channel, const std::string& promptMarker);

    // Sends the command now when no reply is outstanding, else queues it.
    // A line that the box cannot take as it stands goes out as several
    // (FitCommand); the command's handlers run once the last has
    // its reply, with the earlier replies' lines still before it. Throws olmira::Error when the
    // line cannot be sent now, or never (too long), before anything has gone out.
    void Send(Command command);
    // A command whose reply is read on its own: what the box said before it
    // is forgotten as the line goes out.
    void Ask(std::string line, Step reply, int slot = 0);
    // Runs step once every command given before it has had its reply;
    // commands it sends go out before those given after it.
    void Then(Step step);
    // A line whose reply nobody waits for by its prompt: the login's lines
    // and the goodbye.
    void Write(std::string_view line);
    // A received block, Telnet commands removed.
    void Receive(std::string_view block);
    // The connection has gone: nothing outstanding, nothing queued.
    void Drop();

    bool ReplyOutstanding() const { return outstanding_.has_value(); }
    // Whether a command of slot is outstanding or waits its turn.
    bool Pending(int slot) const;

    ReplyFramer& Framer() { return framer_; }
    const ReplyFramer& Framer() const { return framer_; }

private:
    struct Item {
        Command command;
        Step step;  // set for a step, which has no line
    };

    void Enqueue(Item item);
    void SendNext();
    void SendCommand(Command command);
    // Sends the next line that prepares the outstanding command, or the
    // command's own line once none is left.
    void SendPreparedLine();

    BoxChannel& channel_;
    ReplyFramer framer_;
    std::deque<Item> queue_;
    std::optional<Command> outstanding_;
    // The lines that still go out before the outstanding command's own.
    std::deque<std::string> preparing_;
    // The reply on its way answers a preparing line.
    bool preparingReply_ = false;
    // While a step runs, where its commands go in the queue.
    std::optional<std::size_t> stepInsert_;
};

}  // namespace olmira
