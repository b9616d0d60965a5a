// Swings, strikes and pass bonuses, played from the start of a run.
#include "rules/replay.h"

#include <gtest/gtest.h>

using namespace game;
using gametest::FireOf;
using gametest::Keys;
using gametest::Replay;

namespace {

// Pimuru 2 walks under the falling ball and waits until the ball enters the
// upper part of its strike box; that frame arms the ball.
void BringFirstBallToPimuru2(Replay& r) {
    r.Frames(10, Keys({.Left = true}));
    ASSERT_EQ(r.world.PimuruAt(1).X, 340);
    for (int guard = 0; r.world.GetBall().Y < 370 && guard < 500; ++guard) {
        r.Frame();
    }
    ASSERT_TRUE(r.world.BallArmed());
    ASSERT_LE(r.world.GetBall().Y, 400);
}

int ActiveEffectsOfKind(const World& world, int kind) {
    int n = 0;
    for (int slot = 1; slot <= kEffectSlots; ++slot) {
        n += world.EffectAt(slot).Active && world.EffectAt(slot).Kind == kind;
    }
    return n;
}

} // namespace

TEST(Strike, InTheFrameOfThePressSendsTheBallUpAt17WithoutPassBonus) {
    Replay r;
    BringFirstBallToPimuru2(r);
    r.Frame(Keys({.Fire = true}));

    EXPECT_EQ(r.world.GetBall().VY, -17);
    EXPECT_EQ(r.world.GetBall().VX, (320 - 340) / 10);
    EXPECT_EQ(r.world.LastStriker(), 2);
    EXPECT_EQ(r.world.Score(), 0);
    EXPECT_FALSE(r.sink.Has("sound 6"));
    // The strike sound belongs to pimuru 2's step: after pimuru 1 is drawn.
    EXPECT_LT(r.sink.IndexOf("pimuru 0"), r.sink.IndexOf("sound 1"));
    EXPECT_LT(r.sink.IndexOf("sound 1"), r.sink.IndexOf("pimuru 1"));
    // Three sparks, kinds 2, 1, 2, rising from the pimuru.
    for (int slot = 1; slot <= 3; ++slot) {
        const Effect& spark = r.world.EffectAt(slot);
        EXPECT_TRUE(spark.Active);
        EXPECT_EQ(spark.Kind, slot == 2 ? 1 : 2);
        EXPECT_GE(spark.DY, -3);
        EXPECT_LE(spark.DY, -1);
        EXPECT_EQ(spark.Y, 400 + spark.DY);
        EXPECT_GE(spark.X, 340 - 15);
        EXPECT_LT(spark.X, 340 + 15);
    }
    EXPECT_FALSE(r.world.EffectAt(4).Active);
}

TEST(Strike, ButtonHeldBeforeTheBallArrivesDoesNotStrike) {
    Replay r;
    r.Frames(10, Keys({.Left = true}));
    for (int guard = 0; r.world.GetBall().Y < 370 && guard < 500; ++guard) {
        r.Frame(Keys({.Fire = true}));
    }
    r.Frame(Keys({.Fire = true}));
    EXPECT_FALSE(r.sink.Has("sound 1"));
    EXPECT_GT(r.world.GetBall().VY, 0);
    EXPECT_EQ(r.world.LastStriker(), -1);
    // The latch also kept the ball from being armed.
    EXPECT_FALSE(r.world.BallArmed());
}

TEST(Strike, SpeedFollowsTheSwingTimer) {
    // A swing starts, the button is released, and pressed again n frames
    // after the swing started while the ball waits in the box.
    struct Case {
        int framesAfterSwing;
        int expectedVY;
    };
    for (Case c : {Case{2, -17}, Case{3, -17}, Case{4, -15}, Case{19, -15}, Case{20, -17}}) {
        Replay r;
        r.IdleFrames(1, FireOf(0));
        ASSERT_EQ(r.world.PimuruAt(0).SwingTimer, 50);
        r.IdleFrames(c.framesAfterSwing - 1);
        r.PlaceBallOver(0);
        r.Frame(FireOf(0));
        ASSERT_TRUE(r.sink.Has("sound 1")) << c.framesAfterSwing;
        EXPECT_EQ(r.world.GetBall().VY, c.expectedVY) << c.framesAfterSwing;
    }
}

TEST(Strike, HeldButtonSwingsOnceAndRestartsTwentyFramesAfterTheLastSwing) {
    Replay r;
    r.IdleFrames(60, FireOf(0));
    EXPECT_EQ(r.world.PimuruAt(0).SwingTimer, 0);
    EXPECT_EQ(r.world.PimuruAt(0).SwingFrame, 17);

    Replay s;
    s.IdleFrames(1, FireOf(0));
    s.IdleFrames(1);
    s.IdleFrames(18, FireOf(0)); // 19 frames after the swing started
    EXPECT_EQ(s.world.PimuruAt(0).SwingTimer, 31);
    s.IdleFrames(1, FireOf(0));
    EXPECT_EQ(s.world.PimuruAt(0).SwingTimer, 50);
    EXPECT_EQ(s.world.PimuruAt(0).SwingFrame, 1); // restarted, and advanced in the same step
}

namespace {

// Pimuru 2 strikes first, then pimuru 1 takes the ball over: a pass bonus.
void PlayUpToFirstPass(Replay& r) {
    r.PlaceBallOver(1);
    r.Frame(FireOf(1));
    ASSERT_EQ(r.world.LastStriker(), 2);
    // The same pimuru again: no bonus.
    r.IdleFrames(1);
    r.PlaceBallOver(1);
    r.Frame(FireOf(1));
    ASSERT_EQ(r.world.Score(), 0);
    r.PlaceBallOver(0);
    r.Frame(FireOf(0));
}

} // namespace

TEST(PassBonus, OtherPimuruScoresTenWithALargeEffect) {
    for (bool couple : {false, true}) {
        const int kind = couple ? 3 : 4;
        Replay r(couple);
        PlayUpToFirstPass(r);
        EXPECT_EQ(r.world.Score(), 10);
        EXPECT_EQ(r.world.HighScore(), 10);
        EXPECT_EQ(r.world.LastStriker(), 1);
        EXPECT_EQ(r.world.PassCooldown(), 30);
        EXPECT_EQ(ActiveEffectsOfKind(r.world, kind), 1);
        EXPECT_EQ(ActiveEffectsOfKind(r.world, 7 - kind), 0);
        EXPECT_EQ(r.sink.Count("sound 6"), 1);
        EXPECT_LT(r.sink.IndexOf("sound 1"), r.sink.IndexOf("sound 6"));
    }
}

TEST(PassBonus, AtMostOncePerThirtyFrames) {
    for (int framesLater : {29, 30}) {
        Replay r;
        PlayUpToFirstPass(r);
        r.IdleFrames(framesLater - 1);
        r.PlaceBallOver(1);
        r.Frame(FireOf(1));
        ASSERT_TRUE(r.sink.Has("sound 1"));
        const bool bonus = framesLater >= 30;
        EXPECT_EQ(r.sink.Has("sound 6"), bonus) << framesLater;
        EXPECT_EQ(r.world.Score(), bonus ? 20 : 10) << framesLater;
        // Without the bonus the last striker stays the one who earned the last one.
        EXPECT_EQ(r.world.LastStriker(), bonus ? 2 : 1) << framesLater;
    }
}

TEST(Landing, BallBouncesOffTheLowerBodyWithoutAButton) {
    Replay r;
    // No joystick: pimuru 1 never moves, but the ball still lands on it.
    Ball& ball = r.world.BallForTesting();
    ball.X = 225;
    ball.Y = 415;
    ball.VY = 3;
    r.Frame();
    EXPECT_TRUE(r.sink.Has("sound 3"));
    EXPECT_EQ(r.world.GetBall().VY, -7);
    EXPECT_EQ(r.world.PimuruAt(0).X, 220);
    EXPECT_EQ(r.world.PimuruAt(0).Y, 400);
    EXPECT_TRUE(r.world.BallArmed());
    // Straight on the centre the ball leaves sideways at random: −1, 0 or +1.
    Replay s;
    s.world.BallForTesting() = Ball{220, 415, 0, 3, 0};
    s.Frame();
    EXPECT_GE(s.world.GetBall().VX, -1);
    EXPECT_LE(s.world.GetBall().VX, 1);
}
