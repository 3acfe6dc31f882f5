#include "session/reconnect_schedule.h"

#include <algorithm>

namespace olmira {

void ReconnectSchedule::Start(std::uint32_t now) {
    dropped_ = now;
    delay_ = kFirstDelayMs;
    next_ = now + delay_;
    trying_ = false;
}

bool ReconnectSchedule::Due(std::uint32_t now) const {
    return next_ && !trying_ && static_cast<std::int32_t>(now - *next_) >= 0;
}

bool ReconnectSchedule::Attempt(std::uint32_t now) {
    if (now - dropped_ > kGiveUpAfterMs) {
        Stop();
        return false;
    }
    trying_ = true;
    return true;
}

void ReconnectSchedule::Failed(std::uint32_t now) {
    if (!next_) {
        return;
    }
    trying_ = false;
    delay_ = std::min(delay_ * 2, kLongestDelayMs);
    next_ = now + delay_;
}

std::uint32_t ReconnectSchedule::SecondsLeft(std::uint32_t now) const {
    if (!next_ || trying_ || static_cast<std::int32_t>(now - *next_) >= 0) {
        return 0;
    }
    return (*next_ - now + 999) / 1000;
}

}  // namespace olmira
