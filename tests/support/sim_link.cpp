#include "support/sim_link.h"

#include <algorithm>

namespace onlinetest {

class SimLink::EndPoint : public online::Transport {
public:
    EndPoint(SimLink& link, int side) : link_(link), side_(side) {}

    void Send(std::span<const std::uint8_t> datagram) override { link_.Carry(side_, datagram); }

    std::optional<std::vector<std::uint8_t>> Receive() override {
        auto& queue = link_.inFlight_[side_];
        if (queue.empty() || queue.begin()->first > link_.clock_.NowUs()) {
            return std::nullopt;
        }
        auto datagram = std::move(queue.begin()->second);
        queue.erase(queue.begin());
        return datagram;
    }

private:
    SimLink& link_;
    int side_;
};

SimLink::SimLink(const LinkConditions& conditions, std::uint32_t seed, const VirtualClock& clock)
    : conditions_(conditions), dice_(seed), clock_(clock) {
    ends_[0] = std::make_unique<EndPoint>(*this, 0);
    ends_[1] = std::make_unique<EndPoint>(*this, 1);
}

SimLink::~SimLink() = default;

void SimLink::Carry(int from, std::span<const std::uint8_t> datagram) {
    LinkCounts& counts = counts_[from];
    ++counts.Sent;
    auto percentChance = [this](double percent) {
        return std::uniform_real_distribution<double>(0.0, 100.0)(dice_) < percent;
    };
    // Half of the loss comes alone, half in bursts of five packets.
    if (cut_ || burstLeft_[from] > 0) {
        burstLeft_[from] = std::max(burstLeft_[from] - 1, 0);
        ++counts.Lost;
        return;
    }
    if (percentChance(conditions_.LossPercent / 10.0)) {
        burstLeft_[from] = 4;
        ++counts.Lost;
        return;
    }
    if (percentChance(conditions_.LossPercent / 2.0)) {
        ++counts.Lost;
        return;
    }
    const int copies = percentChance(conditions_.DuplicatePercent) ? 2 : 1;
    counts.Duplicated += copies - 1;
    for (int i = 0; i < copies; ++i) {
        std::int64_t delayUs = std::int64_t{conditions_.RoundTripMs} * 500;
        if (conditions_.JitterMs > 0) {
            delayUs += std::uniform_int_distribution<std::int64_t>(
                -conditions_.JitterMs * 1000, conditions_.JitterMs * 1000)(dice_);
        }
        if (percentChance(conditions_.ReorderPercent)) {
            delayUs += std::uniform_int_distribution<std::int64_t>(20'000, 60'000)(dice_);
        }
        const std::int64_t arrival = clock_.NowUs() + std::max<std::int64_t>(delayUs, 0);
        inFlight_[1 - from].emplace(arrival,
                                    std::vector<std::uint8_t>(datagram.begin(), datagram.end()));
    }
}

} // namespace onlinetest
