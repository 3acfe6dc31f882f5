#include "conversation/tick_clock.h"

#include <chrono>

namespace olmira {

std::uint32_t SystemTickClock::Now() const {
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count();
    return static_cast<std::uint32_t>(ms);
}

}  // namespace olmira
