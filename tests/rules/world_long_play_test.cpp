// Long scripted play: the world keeps its invariants whatever the input.
#include "rules/replay.h"

#include <random>

#include <gtest/gtest.h>

using namespace game;
using gametest::Replay;

namespace {

void ExpectInvariants(const World& w, int frame) {
    for (int i = 0; i < kPimuruCount; ++i) {
        const Pimuru& p = w.PimuruAt(i);
        ASSERT_GE(p.X, -40) << frame;
        ASSERT_LE(p.X, 680) << frame;
        ASSERT_GE(p.Y, 100) << frame;
        ASSERT_LE(p.Y, 440) << frame;
        ASSERT_GE(p.SwingFrame, 0) << frame;
        ASSERT_LE(p.SwingFrame, 17) << frame;
    }
    ASSERT_GE(w.GetBall().X, 60) << frame;
    ASSERT_LE(w.GetBall().X, 580) << frame;
    ASSERT_LE(w.GetBall().Y, 550) << frame;
    for (int slot = 1; slot <= kDrifterSlots; ++slot) {
        const int state = w.DrifterAt(slot).State;
        const bool known =
            state == 0 || (state >= 1 && state <= 4) || state == 9 || (state >= 11 && state <= 14);
        ASSERT_TRUE(known) << frame << " slot " << slot << " state " << state;
        if (slot > w.GetDifficulty().Capacity) {
            ASSERT_EQ(state, 0);
        }
    }
    ASSERT_GE(w.SpeedLevel(), 4);
    ASSERT_LE(w.SpeedLevel(), 33);
    ASSERT_LE(w.FinalScoreCounter(), 130);
    ASSERT_NE(w.FinalScoreCounter(), 1);
    ASSERT_GE(w.HighScore(), w.Score());
}

} // namespace

TEST(LongPlay, RandomAndChasingInputKeepTheWorldInBounds) {
    std::mt19937 dice(7);
    Replay r(true, true);
    int strikes = 0;
    int bursts = 0;
    int lostBalls = 0;
    for (int frame = 1; frame <= 20000; ++frame) {
        FrameInput input;
        input.Hard = frame % 2000 < 1000;
        // Pimuru 1 plays at random.
        input.Pads[0] = {static_cast<int>(dice() % 3) - 1, static_cast<int>(dice() % 3) - 1,
                         dice() % 4 == 0};
        // Pimuru 2 chases the ball and swings when it is close, with pauses
        // in which the ball is lost.
        const Ball& ball = r.world.GetBall();
        const Pimuru& p2 = r.world.PimuruAt(1);
        if (frame % 2500 < 2000) {
            input.Keys.Left = ball.X < p2.X - 4;
            input.Keys.Right = ball.X > p2.X + 4;
            input.Keys.Down = p2.Y < 400;
            input.Keys.Fire = ball.Y > p2.Y - 60 && ball.Y < p2.Y && dice() % 2 == 0;
        }
        r.Frame(input);
        strikes += r.sink.Count("sound 1");
        bursts += r.sink.Count("sound 0");
        lostBalls += r.sink.Count("sound 2");
        ExpectInvariants(r.world, frame);
        if (HasFatalFailure()) {
            return;
        }
    }
    // The play reached the interesting rules.
    EXPECT_GT(strikes, 50);
    EXPECT_GT(bursts, 5);
    EXPECT_GT(lostBalls, 5);
    EXPECT_GT(r.world.HighScore(), 0);
}
