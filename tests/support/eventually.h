#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace olmira::test_support {

// Waits up to patience for condition; true when it held.
inline bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace olmira::test_support
