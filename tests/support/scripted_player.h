#pragma once
// A player made of rules that plays both pimuru well enough for real runs:
// it follows the ball, swings when the ball comes down on a pimuru, hands
// the ball to the other one for passes, and now and then lets a ball drop or
// wanders into the drifters, so that a run has rallies that end, bursts and
// knocks. Seeded, so a script always plays the same run.

#include "replay/replay.h"
#include "rules/world.h"

#include <cstdint>

namespace testsupport {

struct ScriptedRun {
    std::uint32_t Seed = 1; // the player's own choices
    bool CoupleMode = false;
    bool Hard = false;               // the harder-game box at the start
    std::int64_t HardFromFrame = -1; // ticks the box at this frame when >= 0
    bool SecondByKeys = false;       // pimuru 2 steered by the keyboard flags
    std::int64_t Frames = 2000;
    game::World::CarryOver Start{};
    std::int32_t SloppyOneIn = 12; // a chance of 1 in this to miss on purpose
};

class ScriptedPlayer {
public:
    explicit ScriptedPlayer(const ScriptedRun& run) : run_(run), random_(run.Seed) {}

    // The input for the coming frame, chosen from the world as it is now.
    game::FrameInput Next(const game::World& world, std::int64_t frame);

private:
    std::uint32_t Roll(std::uint32_t n); // uniform in [0, n)
    int Taker(const game::World& world) const;

    ScriptedRun run_;
    std::uint32_t random_;
    bool fireWas_[game::kPimuruCount] = {};
    std::int64_t sloppyUntil_ = -1; // lets balls drop until this frame
    std::int64_t wanderUntil_ = -1; // the idle pimuru climbs into the drifters
    std::int32_t lastStriker_ = -1;
};

// Plays the run with a ScriptedPlayer and records it.
replay::Replay RecordScriptedRun(const ScriptedRun& run);

} // namespace testsupport
