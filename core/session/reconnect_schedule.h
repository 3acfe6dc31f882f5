#pragma once

#include <cstdint>
#include <optional>

namespace olmira {

// When to try again after the line to the box dropped by itself: after 1,
// 2, 4 … 30 s, the last try no later than 5 minutes after the drop. Ticks
// are the TickClock's milliseconds.
class ReconnectSchedule {
public:
    static constexpr std::uint32_t kFirstDelayMs = 1000;
    static constexpr std::uint32_t kLongestDelayMs = 30000;
    static constexpr std::uint32_t kGiveUpAfterMs = 5 * 60 * 1000;

    // The line dropped at now: the first try is due a second later.
    void Start(std::uint32_t now);
    // The user took over, or the login succeeded.
    void Stop() { next_.reset(); }
    bool Active() const { return next_.has_value(); }

    // Whether a try is due at now.
    bool Due(std::uint32_t now) const;
    // A try begins at now; false when the time for tries is over, which
    // stops the schedule.
    bool Attempt(std::uint32_t now);
    // The try failed at now: the next one waits twice as long as the last.
    void Failed(std::uint32_t now);
    // Whole seconds until the next try, rounded up; 0 when it is due.
    std::uint32_t SecondsLeft(std::uint32_t now) const;

private:
    std::uint32_t dropped_ = 0;
    std::uint32_t delay_ = kFirstDelayMs;
    // When the next try is due; none while a try is under way.
    std::optional<std::uint32_t> next_;
    bool trying_ = false;
};

}  // namespace olmira
