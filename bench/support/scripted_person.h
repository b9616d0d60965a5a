#pragma once
// A simple scripted "person" to play beside the computer partner in trials:
// a beginner who sees the ball late, follows it on their own half at the
// height they started at, and swings when it is close, not always in time.

#include "rules/game_random.h"
#include "rules/world.h"

#include <cstdint>
#include <deque>

namespace partner {

class ScriptedPerson {
public:
    static constexpr int kReactionFrames = 12;

    ScriptedPerson(int index, std::uint32_t seed);
    game::PadInput Next(const game::World& world);

private:
    int index_;
    game::GameRandom random_;
    std::deque<std::int32_t> seenX_; // the ball's X over the last frames, oldest first
    std::int32_t wobble_ = 0;        // how far off the ball's line they stand
    bool fireHeld_ = false;
};

} // namespace partner
