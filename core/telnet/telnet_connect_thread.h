#pragma once

#include <atomic>
#include <exception>
#include <functional>

#include "handover/hand_over_thread.h"
#include "telnet/channel_worker.h"
#include "telnet/unique_fd.h"

namespace olmira {

class UiHandOver;

// Opens a connection off the UI thread and hands the outcome to the UI
// thread. A stop request cancels it: the wait for the connect ends at once
// and no outcome is delivered.
class TelnetConnectThread final : public ChannelWorker {
public:
    // Runs on the worker; returns an invalid UniqueFd when cancelFd woke it.
    using Open = std::function<UniqueFd(int cancelFd)>;
    // Runs on the UI thread: the socket, or the error that Open threw.
    using Outcome = std::function<void(UniqueFd socket, std::exception_ptr error)>;

    TelnetConnectThread(UiHandOver& handOver, Open open, Outcome outcome);

    void RequestStop() override;
    bool InHandOver() const override { return thread_.InHandOver(); }
    void Join() override { thread_.Join(); }

private:
    void Execute();

    const Open open_;
    const Outcome outcome_;
    const UniqueFd cancel_;
    std::atomic<bool> cancelled_{false};
    HandOverThread thread_;  // last: the thread runs on everything above
};

}  // namespace olmira
