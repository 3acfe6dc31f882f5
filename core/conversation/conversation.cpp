#include "conversation/conversation.h"

#include <algorithm>
#include <utility>

#include "conversation/box_channel.h"
#include "conversation/command_fit.h"
#include "error.h"

namespace olmira {

Conversation::Conversation(BoxChannel& channel, const std::string& promptMarker)
    : channel_(channel), framer_(promptMarker) {}

bool Conversation::Pending(int slot) const {
    return (outstanding_ && outstanding_->slot == slot) ||
           std::any_of(queue_.begin(), queue_.end(), [slot](const Item& item) {
               return !item.step && item.command.slot == slot;
           });
}

// A waiting command of the same slot is replaced where it stands, unless a
// step lies between: what the step sees must stay what was asked before it.
void Conversation::Send(Command command) {
    if (const std::string refusal = CommandRefusal(command.line); !refusal.empty()) {
        throw Error(refusal);
    }
    if (command.slot != 0 && !stepInsert_) {
        for (auto item = queue_.rbegin(); item != queue_.rend() && !item->step; ++item) {
            if (item->command.slot == command.slot) {
                item->command = std::move(command);
                return;
            }
        }
    }
    Enqueue({std::move(command), {}});
}

void Conversation::Ask(std::string line, Step reply, int slot) {
    Send({std::move(line), [this] { framer_.Clear(); }, std::move(reply), slot});
}

void Conversation::Then(Step step) {
    Enqueue({{}, std::move(step)});
}

void Conversation::Enqueue(Item item) {
    if (stepInsert_) {
        queue_.insert(queue_.begin() + static_cast<std::ptrdiff_t>((*stepInsert_)++),
                      std::move(item));
        return;
    }
    queue_.push_back(std::move(item));
    SendNext();
}

void Conversation::Write(std::string_view line) {
    channel_.SendLine(line);
}

void Conversation::SendNext() {
    while (!outstanding_ && !stepInsert_ && !queue_.empty()) {
        Item item = std::move(queue_.front());
        queue_.pop_front();
        if (item.step) {
            stepInsert_ = 0;
            try {
                item.step();
            } catch (...) {
                stepInsert_.reset();
                throw;
            }
            stepInsert_.reset();
            continue;
        }
        SendCommand(std::move(item.command));
    }
}

void Conversation::SendCommand(Command command) {
    std::vector<std::string> lines = FitCommand(command.line);
    command.line = std::move(lines.back());
    lines.pop_back();
    preparing_.assign(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    outstanding_ = std::move(command);
    try {
        SendPreparedLine();
    } catch (...) {
        // A line that did not go out leaves nothing outstanding.
        outstanding_.reset();
        preparing_.clear();
        preparingReply_ = false;
        throw;
    }
}

// A prompt still unfinished as a line goes out (the login's, which no reply
// ended) is the one that let it go: left there, it would end the new reply
// at its first block. What else the box said stays for the command's owner
// to read or forget.
void Conversation::SendPreparedLine() {
    preparingReply_ = !preparing_.empty();
    framer_.ForgetPrompt();
    if (preparingReply_) {
        const std::string line = std::move(preparing_.front());
        preparing_.pop_front();
        framer_.ExpectEcho(line);
        channel_.SendLine(line);
        return;
    }
    framer_.ExpectEcho(outstanding_->line);
    channel_.SendLine(outstanding_->line);
    if (outstanding_->sent) {
        outstanding_->sent();
    }
}

void Conversation::Receive(std::string_view block) {
    if (!framer_.Feed(block)) {
        return;
    }
    framer_.EndReply();
    if (preparingReply_ && outstanding_) {
        SendPreparedLine();
        return;
    }
    if (outstanding_) {
        const Step reply = std::move(outstanding_->reply);
        outstanding_.reset();
        if (reply) {
            reply();
        }
    }
    SendNext();
}

void Conversation::Drop() {
    queue_.clear();
    outstanding_.reset();
    preparing_.clear();
    preparingReply_ = false;
}

}  // namespace olmira
