#pragma once
// How DirectSound's units become OpenAL's: attenuation in hundredths of a
// decibel to a linear gain, left-handed vectors to right-handed ones, a
// playback frequency to a pitch.

#include "platform/dsound/dsound.h"

#include <array>
#include <cmath>

namespace dsound {

// 0 (full volume) gives 1, -10000 and below give silence.
inline float VolumeToGain(std::int32_t volume) {
    if (volume <= DSBVOLUME_MIN)
        return 0.0f;
    return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

// DirectSound looks along +z, OpenAL along -z: flipping z keeps left and right.
inline std::array<float, 3> ToOpenALVector(const D3DVECTOR& v) {
    return {v.x, v.y, -v.z};
}

// DSBFREQUENCY_ORIGINAL plays at the samples' own rate.
inline float FrequencyToPitch(std::uint32_t frequency, std::uint32_t samplesPerSecond) {
    if (frequency == DSBFREQUENCY_ORIGINAL || samplesPerSecond == 0)
        return 1.0f;
    return static_cast<float>(frequency) / static_cast<float>(samplesPerSecond);
}

inline bool IsFinite(const D3DVECTOR& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace dsound
