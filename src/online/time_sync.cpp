#include "online/time_sync.h"

#include <algorithm>

namespace online {

void TimeSync::OnPartnerPacket(std::int32_t partnerFrame, std::int16_t partnerAdvantageMs,
                               std::int64_t nowUs) {
    // Packets may come out of order: only a newer frame moves the estimate.
    if (partnerFrame > partnerFrame_) {
        partnerFrame_ = partnerFrame;
        partnerFrameAtUs_ = nowUs;
        partnerAdvantageMs_ = partnerAdvantageMs;
    }
}

void TimeSync::OnRoundTrip(std::int32_t ms) {
    // A round trip beyond the quiet partner's timeout is a bent echo, not a measurement.
    if (ms < 0 || ms > 10'000) {
        return;
    }
    roundTripMs_ = hasRoundTrip_ ? (7 * roundTripMs_ + ms) / 8 : ms;
    hasRoundTrip_ = true;
    ++samples_;
}

std::int16_t TimeSync::AdvantageMs(std::int32_t localFrame, std::int64_t nowUs) const {
    if (partnerFrame_ < 0) {
        return 0;
    }
    const std::int64_t sinceUs = nowUs - partnerFrameAtUs_ + std::int64_t{roundTripMs_} * 500;
    const std::int64_t us = std::int64_t{localFrame - partnerFrame_} * frameMs_ * 1000 - sinceUs;
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(us / 1000, -30000, 30000));
}

std::int32_t TimeSync::ExtraFrameMs(std::int32_t localFrame, std::int64_t nowUs) {
    if (partnerFrame_ < 0) {
        return 0;
    }
    const std::int64_t gapUs =
        (std::int64_t{AdvantageMs(localFrame, nowUs)} - partnerAdvantageMs_) * 1000 / 2;
    smoothedGapUs_ += (gapUs - smoothedGapUs_) / 16;
    if (smoothedGapUs_ >= 4000) {
        return 2;
    }
    if (smoothedGapUs_ >= 1000) {
        return 1;
    }
    return 0;
}

} // namespace online
