#pragma once
// Keeps two partners' frames level. Each side estimates how far it runs
// ahead of the other (its frame against the partner's last known frame,
// carried forward by the time since and half the round trip) and tells the
// other; the side ahead by the average of both views lengthens its frames by
// a millisecond or two until level, never by a jump.

#include <cstdint>

namespace online {

class TimeSync {
public:
    explicit TimeSync(std::int32_t frameMs) : frameMs_(frameMs) {}

    // A packet from the partner: its next frame when it sent, its own
    // advantage then.
    void OnPartnerPacket(std::int32_t partnerFrame, std::int16_t partnerAdvantageMs,
                         std::int64_t nowUs);
    // A measured round trip.
    void OnRoundTrip(std::int32_t ms);

    // How far this side runs ahead of the partner (negative: behind).
    std::int16_t AdvantageMs(std::int32_t localFrame, std::int64_t nowUs) const;
    // What to add to the next frame's length: 0, 1 or 2 ms. Called once a frame.
    std::int32_t ExtraFrameMs(std::int32_t localFrame, std::int64_t nowUs);

    std::int32_t RoundTripMs() const { return roundTripMs_; }
    bool HasRoundTrip() const { return hasRoundTrip_; }
    int RoundTripSamples() const { return samples_; }

private:
    std::int32_t frameMs_;
    std::int32_t partnerFrame_ = -1;
    std::int64_t partnerFrameAtUs_ = 0;
    std::int16_t partnerAdvantageMs_ = 0;
    std::int32_t roundTripMs_ = 0;
    bool hasRoundTrip_ = false;
    int samples_ = 0;
    // The difference of both views, smoothed over about 16 frames (in µs so
    // that the smoothing keeps its fractions in integers).
    std::int64_t smoothedGapUs_ = 0;
};

} // namespace online
