#pragma once
// The input delay a round trip calls for: the frames a player's own input
// waits before it is stepped, so that the partner's input usually arrives in
// time and little is rolled back. Prediction covers the rest of the way.

#include <algorithm>
#include <cstdint>

namespace online {

inline constexpr int kMaxInputDelay = 4;

inline int InputDelayFor(std::int32_t roundTripMs, std::int32_t frameMs) {
    const std::int32_t oneWayFrames = (roundTripMs / 2 + frameMs - 1) / frameMs;
    return std::clamp(oneWayFrames - 2, 0, kMaxInputDelay);
}

} // namespace online
