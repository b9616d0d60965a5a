#pragma once
// One seeded rally played headless from a run's start: each pimuru by the
// computer partner or by the scripted person, until the ball is lost or a
// frame limit. The benchmark and the tests measure the partner with it.

#include "partner/strength.h"

#include <array>
#include <cstdint>
#include <optional>

namespace partner {

struct TrialSetup {
    // Per pimuru: the computer's strength, or none for the scripted person.
    std::array<std::optional<Strength>, 2> Players;
    bool Hard = false;
    std::uint32_t Seed = 0; // the world's generator, and the players' apart from it
    std::int64_t FrameLimit = 0;
};

struct RallyResult {
    std::int64_t Frames = 0; // until the ball was lost, or the limit
    std::int32_t Score = 0;  // the rally's score
    bool Limited = false;    // the limit came first
};

RallyResult PlayRally(const TrialSetup& setup);

} // namespace partner
