#pragma once

#include <cstdint>

namespace olmira {

// The system's millisecond tick; it wraps at 2^32, so compare ticks only by
// unsigned difference.
class TickClock {
public:
    virtual ~TickClock() = default;
    virtual std::uint32_t Now() const = 0;
};

// The monotonic clock of this machine, cut to 32 bits.
class SystemTickClock final : public TickClock {
public:
    std::uint32_t Now() const override;
};

}  // namespace olmira
