#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>

namespace olmira {

// Runs calls from worker threads on the user-interface thread. A worker's
// Run() queues the call, wakes the UI thread's event loop through the wake
// callback and blocks until the call has run there; an exception thrown by
// the call is rethrown in the worker. Any event loop can serve it: Qt posts
// a Serve() from the wake callback, the console front and tests call
// ServeFor() from their own loops.
class UiHandOver {
public:
    using Task = std::function<void()>;

    // The wake callback is called from worker threads; it must only schedule
    // a Serve() on the UI thread, never run one.
    void SetWake(std::function<void()> wake);

    // Worker side: runs task on the UI thread and waits for it.
    void Run(Task task);

    // UI side: runs every call that is waiting now; returns how many ran.
    std::size_t Serve();
    // UI side: waits up to timeout for a call, then serves. True if any ran.
    bool ServeFor(std::chrono::milliseconds timeout);
    // UI side: serves calls until done() holds. done is checked after every
    // call and whenever Notify() is called.
    void ServeUntil(const std::function<bool()>& done);
    // Wakes ServeUntil so it checks its condition again.
    void Notify();
    // UI side: serves calls while open() holds, for limit at most.
    void ServeWhile(const std::function<bool()>& open, std::chrono::milliseconds limit);

private:
    struct Pending;

    // Runs the oldest waiting call, if any; false when none was waiting.
    bool ServeOne();

    std::mutex mutex_;
    std::condition_variable callArrived_;  // also signalled by Notify()
    std::condition_variable callDone_;
    // Pending records live on their workers' stacks until their call has run.
    std::deque<Pending*> queue_;
    std::function<void()> wake_;
    bool notified_ = false;
};

}  // namespace olmira
