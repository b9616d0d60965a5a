#pragma once
// A simulated network between two online sessions in one process, on a
// virtual clock: a one-way delay of half the round trip with jitter, losses
// alone and in bursts of five, and a little reordering and duplication, all
// drawn from one seed so that a failing run can be run again.

#include "online/clock.h"
#include "online/transport.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <vector>

namespace onlinetest {

class VirtualClock : public online::Clock {
public:
    std::int64_t NowUs() const override { return nowUs_; }
    void Set(std::int64_t us) { nowUs_ = us; }

private:
    std::int64_t nowUs_ = 0;
};

struct LinkConditions {
    std::int32_t RoundTripMs = 0;
    std::int32_t JitterMs = 0;       // each way, ± this much around half the round trip
    std::int32_t LossPercent = 0;    // half as single losses, half in bursts of 5
    std::int32_t ReorderPercent = 1; // held back 20–60 ms more
    std::int32_t DuplicatePercent = 1;
};

struct LinkCounts {
    std::int64_t Sent = 0;
    std::int64_t Lost = 0;
    std::int64_t Duplicated = 0;
};

class SimLink {
public:
    SimLink(const LinkConditions& conditions, std::uint32_t seed, const VirtualClock& clock);

    // side 0 sends to side 1 and back.
    online::Transport& Side(int side) { return *ends_[side]; }
    ~SimLink();
    const LinkCounts& Counts(int fromSide) const { return counts_[fromSide]; }
    // A cut link loses everything, as when a partner's machine is gone.
    void SetCut(bool cut) { cut_ = cut; }
    // A datagram from a stranger, arriving at a side now.
    void Inject(int toSide, std::vector<std::uint8_t> datagram) {
        inFlight_[toSide].emplace(clock_.NowUs(), std::move(datagram));
    }

private:
    class EndPoint;
    void Carry(int from, std::span<const std::uint8_t> datagram);

    LinkConditions conditions_;
    std::mt19937 dice_;
    const VirtualClock& clock_;
    std::array<std::multimap<std::int64_t, std::vector<std::uint8_t>>, 2>
        inFlight_; // to side i, by arrival
    std::array<int, 2> burstLeft_{};
    bool cut_ = false;
    std::array<LinkCounts, 2> counts_{};
    std::array<std::unique_ptr<online::Transport>, 2> ends_;
};

} // namespace onlinetest
