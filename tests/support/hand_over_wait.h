#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>

#include "handover/ui_hand_over.h"

namespace olmira::test {

using namespace std::chrono_literals;

// The test's own event loop: serves hand-overs until done() holds or the
// limit passes. Returns done().
inline bool ServeUntil(UiHandOver& handOver, const std::function<bool()>& done,
                       std::chrono::milliseconds limit = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        handOver.ServeFor(10ms);
    }
    return done();
}

// Serves for a while, for checking that something does not happen.
inline void ServeAWhile(UiHandOver& handOver, std::chrono::milliseconds time = 200ms) {
    ServeUntil(
        handOver, [] { return false; }, time);
}

// Ends the test program when a step that could deadlock takes too long, so
// a deadlock shows as a failure instead of a hang.
class Watchdog {
public:
    explicit Watchdog(const char* step, std::chrono::seconds limit = 10s)
        : thread_([this, step, limit] {
              std::unique_lock lock(mutex_);
              if (!finished_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "deadlock: %s did not finish\n", step);
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        finished_.notify_one();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace olmira::test
