#pragma once
// Drives a world frame by frame from the start of a run with scripted input,
// keeping the requests of the last frame.

#include "rules/recording_sink.h"
#include "rules/world.h"

namespace gametest {

struct Replay {
    game::World world;
    RecordingSink sink;

    explicit Replay(bool coupleMode = false, bool hard = false) {
        world.StartRun(coupleMode, hard);
    }

    void Frame(const game::FrameInput& input = {}) {
        sink.events.clear();
        world.Step(input, sink);
    }
    void Frames(int count, const game::FrameInput& input = {}) {
        for (int i = 0; i < count; ++i) {
            Frame(input);
        }
    }
    // Frames with the ball kept far above the screen, out of everyone's reach.
    void IdleFrames(int count, const game::FrameInput& input = {}) {
        for (int i = 0; i < count; ++i) {
            HoldBallAway();
            Frame(input);
        }
    }
    void HoldBallAway() {
        game::Ball& ball = world.BallForTesting();
        ball.X = 320;
        ball.Y = -200;
        ball.VX = 0;
        ball.VY = 0;
    }
    // Puts the ball at rest just above a pimuru's centre, inside the upper
    // part of its strike box even after this frame's fall.
    void PlaceBallOver(int index) {
        const game::Pimuru& p = world.PimuruAt(index);
        game::Ball& ball = world.BallForTesting();
        ball.X = p.X;
        ball.Y = p.Y - 20;
        ball.VX = 0;
        ball.VY = 0;
    }
};

inline game::FrameInput FireOf(int index) {
    game::FrameInput input;
    input.Pads[index].Fire = true;
    return input;
}

inline game::FrameInput Keys(game::KeyFlags keys) {
    game::FrameInput input;
    input.Keys = keys;
    return input;
}

} // namespace gametest
