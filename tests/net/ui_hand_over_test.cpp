#include "handover/ui_hand_over.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "hand_over_wait.h"

namespace olmira::test {
namespace {

TEST(UiHandOver, RunsTheCallOnTheServingThreadAndWaitsForIt) {
    UiHandOver handOver;
    std::atomic<int> wakes{0};
    handOver.SetWake([&] { ++wakes; });
    const auto uiThread = std::this_thread::get_id();
    std::thread::id ranOn;
    bool returned = false;
    std::thread worker([&] {
        handOver.Run([&] { ranOn = std::this_thread::get_id(); });
        returned = true;
    });
    ASSERT_TRUE(ServeUntil(handOver, [&] { return ranOn != std::thread::id(); }));
    worker.join();
    EXPECT_EQ(ranOn, uiThread);
    EXPECT_TRUE(returned);
    EXPECT_EQ(wakes, 1);
}

TEST(UiHandOver, CarriesTheCallsErrorBackToTheWorker) {
    UiHandOver handOver;
    std::string caught;
    std::thread worker([&] {
        try {
            handOver.Run([] { throw std::runtime_error("handler failed"); });
        } catch (const std::runtime_error& error) {
            caught = error.what();
        }
    });
    ASSERT_TRUE(handOver.ServeFor(5s));
    worker.join();
    EXPECT_EQ(caught, "handler failed");
}

TEST(UiHandOver, ServeUntilWakesOnNotify) {
    UiHandOver handOver;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        std::this_thread::sleep_for(20ms);
        finished = true;
        handOver.Notify();
    });
    Watchdog watchdog("ServeUntil waiting for Notify");
    handOver.ServeUntil([&] { return finished.load(); });
    worker.join();
}

// A call that waits for another worker must still get that worker's call
// served, or the UI thread would wait for itself.
TEST(UiHandOver, NestedServingReachesCallsQueuedBehind) {
    UiHandOver handOver;
    std::atomic<bool> secondQueued{false};
    std::atomic<bool> secondRan{false};
    std::thread second;
    std::thread first([&] {
        handOver.Run([&] {
            second = std::thread([&] {
                secondQueued = true;
                handOver.Run([&] { secondRan = true; });
            });
            handOver.ServeUntil([&] { return secondRan.load(); });
        });
    });
    Watchdog watchdog("nested serving");
    ASSERT_TRUE(ServeUntil(handOver, [&] { return secondRan.load(); }));
    first.join();
    second.join();
}

}  // namespace
}  // namespace olmira::test
