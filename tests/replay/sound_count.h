#pragma once
// Plays a replay and counts what happened in it by the sounds the rules
// asked for: what the golden replays must between them cover.

#include "replay/replay.h"
#include "replay/replay_check.h"
#include "rules/world.h"

#include <algorithm>

namespace replaytest {

struct SoundCount {
    int Strikes = 0, Passes = 0, Bursts = 0, Knocks = 0, BallsLost = 0;
    int TopSpeed = 0;
    int HardFrames = 0; // frames played with the harder game's drifters
};

inline SoundCount CountSounds(const replay::Replay& r) {
    struct Counter : game::FrameSink {
        SoundCount c;
        void PlaySound(game::SoundEffect e) override {
            using game::SoundEffect;
            c.Strikes += e == SoundEffect::Strike;
            c.Passes += e == SoundEffect::PassBonus;
            c.Bursts += e == SoundEffect::Burst;
            c.Knocks += e == SoundEffect::Knock;
            c.BallsLost += e == SoundEffect::BallLost;
        }
    } counter;
    game::World world = replay::StartWorld(r);
    for (const game::FrameInput& input : r.Inputs) {
        world.Step(input, counter);
        counter.c.TopSpeed = std::max(counter.c.TopSpeed, world.SpeedLevel());
        const game::Difficulty d = world.GetDifficulty(), hard = game::Difficulty::Hard();
        counter.c.HardFrames +=
            d.DrifterSpeed == hard.DrifterSpeed && d.SpawnInterval == hard.SpawnInterval;
    }
    return counter.c;
}

} // namespace replaytest
