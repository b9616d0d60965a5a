#pragma once
// The seven sound effects, synthesised: 16-bit mono samples at 22,050 Hz that
// start and end in silence.

#include <cstdint>
#include <vector>

namespace datamaker {

constexpr int kSampleRate = 22050;

// 1 burst, 2 strike, 3 ball lost, 4 landing on a pimuru, 5 bump, 6 knock,
// 7 pass bonus.
std::vector<std::int16_t> MakeSoundEffect(int number);

} // namespace datamaker
