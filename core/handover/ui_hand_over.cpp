#include "handover/ui_hand_over.h"

#include <utility>

namespace olmira {

struct UiHandOver::Pending {
    Task task;
    std::exception_ptr error;
    bool done = false;
};

void UiHandOver::SetWake(std::function<void()> wake) {
    std::lock_guard lock(mutex_);
    wake_ = std::move(wake);
}

void UiHandOver::Run(Task task) {
    Pending pending{std::move(task), nullptr, false};
    std::function<void()> wake;
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(&pending);
        wake = wake_;
    }
    callArrived_.notify_all();
    if (wake) {
        wake();
    }
    std::unique_lock lock(mutex_);
    callDone_.wait(lock, [&] { return pending.done; });
    if (pending.error) {
        std::rethrow_exception(pending.error);
    }
}

bool UiHandOver::ServeOne() {
    Pending* pending = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (queue_.empty()) {
            return false;
        }
        pending = queue_.front();
        queue_.pop_front();
    }
    // Run outside the lock: the call may itself serve (a nested wait for a
    // worker) or make workers queue further calls.
    try {
        pending->task();
    } catch (...) {
        pending->error = std::current_exception();
    }
    {
        std::lock_guard lock(mutex_);
        pending->done = true;
    }
    callDone_.notify_all();
    return true;
}

std::size_t UiHandOver::Serve() {
    std::size_t waiting = 0;
    {
        std::lock_guard lock(mutex_);
        waiting = queue_.size();
    }
    // Only the calls waiting now: a worker that queues its next call at once
    // must not keep the event loop here for ever.
    std::size_t ran = 0;
    while (ran < waiting && ServeOne()) {
        ++ran;
    }
    return ran;
}

bool UiHandOver::ServeFor(std::chrono::milliseconds timeout) {
    {
        std::unique_lock lock(mutex_);
        if (!callArrived_.wait_for(lock, timeout, [this] { return !queue_.empty(); })) {
            return false;
        }
    }
    return Serve() > 0;
}

void UiHandOver::ServeUntil(const std::function<bool()>& done) {
    while (!done()) {
        if (ServeOne()) {
            continue;
        }
        std::unique_lock lock(mutex_);
        callArrived_.wait(lock, [this] { return !queue_.empty() || notified_; });
        notified_ = false;
    }
}

void UiHandOver::Notify() {
    {
        std::lock_guard lock(mutex_);
        notified_ = true;
    }
    callArrived_.notify_all();
}

void UiHandOver::ServeWhile(const std::function<bool()>& open, std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + limit;
    while (open()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return;
        }
        ServeFor(left);
    }
}

}  // namespace olmira
