#pragma once
// The time an online session reads: a monotonic microsecond count. The game
// gives it the steady clock; tests give it a virtual one they advance.

#include <cstdint>

namespace online {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t NowUs() const = 0;
};

} // namespace online
