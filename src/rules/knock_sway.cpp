// sin(2n) = sin(2π·t) with t the fractional part of n/π. t is found as a
// 64-bit fraction from 1/π to 128 bits, exact to within 2^-63 for every
// 32-bit n. The sway is then a count of the boundaries t has passed in its
// quarter of a turn: trunc(15·sin) reaches k where sin(2πt) = k/15.
//
// The boundaries are asin(k/15)/2π · 2^64, rounded, and the band around the
// top where the library's double sin rounds to exactly 1.0 (so 15.0 · sin is
// 15, not 14.99…): 1 - cos(δ) <= 2^-54, δ = acos(1 - 2^-54)/2π · 2^64. All
// were computed with 400-bit arithmetic (mpmath). No frame counter comes
// close enough to a boundary for the last bits to matter: a sweep over every
// 32-bit counter (tests/rules/sway_sweep.cpp) finds the same value as
// glibc's std::sin on x86-64 each time, the 28 counters in the top band too.
#include "rules/knock_sway.h"

#include <algorithm>
#include <array>

namespace game {

namespace {

// floor(2^128 / π), high and low 64 bits.
constexpr std::uint64_t kInversePiHigh = 0x517CC1B727220A94;
constexpr std::uint64_t kInversePiLow = 0xFE13ABE8FA9A6EE0;

// asin(k/15) / 2π · 2^64 for k = 1…14.
constexpr std::array<std::uint64_t, 14> kBoundaries = {
    0x02B7DFEA5F995A7B, 0x0572DEFEC4AE0E4C, 0x08343D429D527A25, 0x0AFF804DF891F40A,
    0x0DD8A0A6A97C16AF, 0x10C446C24955DD1C, 0x13C8234110786A41, 0x16EB774305FA5E78,
    0x1A37F5C4C419EF33, 0x1DBB55E66CADFC1D, 0x218A6992007A729F, 0x25C80A3B3BE610CD,
    0x2AB80F0CE4FD8891, 0x3109E1A43BC70E3B,
};
constexpr std::uint64_t kQuarterTurn = std::uint64_t{1} << 62;
constexpr std::uint64_t kTopBand = 0x733D90A6F;

// The fraction of n/π as a 64-bit fixed-point number, for n < 2^32.
std::uint64_t TurnsOf(std::uint32_t n) {
    const std::uint64_t lowHigh = n * (kInversePiLow >> 32);
    const std::uint64_t lowLow = n * (kInversePiLow & 0xFFFFFFFF);
    const std::uint64_t carry = (lowHigh + (lowLow >> 32)) >> 32;
    return n * kInversePiHigh + carry; // wraps: the whole turns drop out
}

} // namespace

std::int32_t KnockSway(std::int32_t frameCounter) {
    // sin is odd, and so is truncation.
    const bool negative = frameCounter < 0;
    const std::uint32_t n = negative ? 0u - static_cast<std::uint32_t>(frameCounter)
                                     : static_cast<std::uint32_t>(frameCounter);
    const std::uint64_t turns = TurnsOf(n);
    const bool lowerHalf = turns >= (std::uint64_t{1} << 63); // sin < 0
    const std::uint64_t inHalf = turns & ((std::uint64_t{1} << 63) - 1);
    const std::uint64_t fromEdge = std::min(inHalf, (std::uint64_t{1} << 63) - inHalf);

    std::int32_t size = 0;
    if (fromEdge >= kQuarterTurn - kTopBand) {
        size = 15;
    } else {
        while (size < 14 && fromEdge >= kBoundaries[size])
            ++size;
    }
    return negative != lowerHalf ? -size : size;
}

} // namespace game
