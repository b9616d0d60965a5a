#pragma once
// The game's random numbers: a 32-bit linear congruential generator seeded
// with 0 at program start, so every start plays the same sequence and a
// scripted replay always gives the same frames.

#include <cstdint>

namespace game {

class GameRandom {
public:
    // A uniform integer in [0, n) for n > 0; 0 for n <= 0.
    std::int32_t Next(std::int32_t n);

    std::uint32_t Seed() const { return seed_; }
    void SetSeed(std::uint32_t seed) { seed_ = seed; }

private:
    std::uint32_t seed_ = 0;
};

} // namespace game
