#pragma once
// The clock a real online game reads: the machine's monotonic clock.

#include "online/clock.h"

#include <chrono>

namespace online {

class SteadyClock : public Clock {
public:
    std::int64_t NowUs() const override {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

} // namespace online
