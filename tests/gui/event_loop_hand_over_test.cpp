#include "event_loop_hand_over.h"

#include <gtest/gtest.h>

#include <QObject>
#include <atomic>
#include <numeric>
#include <thread>

#include "error.h"
#include "handover/ui_hand_over.h"
#include "window_under_test.h"

namespace {

struct HandOverOnEventLoop {
    HandOverOnEventLoop() { ServeHandOverOnEventLoop(handOver, context); }

    QObject context;
    olmira::UiHandOver handOver;
};

TEST(EventLoopHandOver, RunsWorkerCallsOnTheUiThreadInOrderAndOneAtATime) {
    HandOverOnEventLoop loop;
    constexpr int kCalls = 300;
    const std::thread::id uiThread = std::this_thread::get_id();
    std::vector<int> order;
    int running = 0;
    int mostRunning = 0;
    bool allOnUiThread = true;
    std::thread worker([&] {
        for (int i = 0; i < kCalls; ++i) {
            loop.handOver.Run([&, i] {
                mostRunning = std::max(mostRunning, ++running);
                allOnUiThread = allOnUiThread && std::this_thread::get_id() == uiThread;
                order.push_back(i);
                --running;
            });
        }
    });
    const bool allRan = WaitUntil([&] { return order.size() == kCalls; });
    worker.join();
    ASSERT_TRUE(allRan);
    std::vector<int> expected(kCalls);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(mostRunning, 1);
    EXPECT_TRUE(allOnUiThread);
}

TEST(EventLoopHandOver, AnErrorOfTheCallGoesBackToTheWorkerNotIntoTheEventLoop) {
    HandOverOnEventLoop loop;
    std::atomic<bool> done = false;
    std::string caught;
    std::thread worker([&] {
        try {
            loop.handOver.Run([] { throw olmira::Error("Disconnected."); });
        } catch (const olmira::Error& error) {
            caught = error.what();
        }
        done = true;
    });
    const bool returned = WaitUntil([&] { return done.load(); });
    worker.join();
    ASSERT_TRUE(returned);
    EXPECT_EQ(caught, "Disconnected.");
}

}  // namespace
