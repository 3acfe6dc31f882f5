#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "handover/ui_hand_over.h"

namespace olmira {

// A worker thread that reaches the UI thread only through the hand-over.
// The UI thread ends it with Join(), which keeps serving the worker's calls
// while it waits, so a worker in the middle of a hand-over cannot deadlock
// its own shutdown.
class HandOverThread {
public:
    // Starts body at once.
    HandOverThread(UiHandOver& handOver, std::function<void()> body);
    ~HandOverThread();
    HandOverThread(const HandOverThread&) = delete;
    HandOverThread& operator=(const HandOverThread&) = delete;

    // Worker side: runs task on the UI thread and waits for it.
    void RunOnUi(const UiHandOver::Task& task);

    // UI side: true while one of this worker's calls is running further up
    // the UI thread's stack; joining it now would wait for ourselves.
    bool InHandOver() const { return inHandOver_; }
    // UI side: serves hand-overs until the body has returned, then joins.
    void Join();

private:
    UiHandOver& handOver_;
    std::atomic<bool> finished_{false};
    bool inHandOver_ = false;  // UI thread only
    std::thread thread_;       // last: starts once everything above exists
};

}  // namespace olmira
