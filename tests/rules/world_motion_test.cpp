// Steering, bumping, knocks, counters and the ball's flight.
#include "rules/replay.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

using namespace game;
using gametest::FireOf;
using gametest::Keys;
using gametest::Replay;

TEST(Frame, DrawingStepsComeInSceneOrder) {
    Replay r;
    r.Frame();
    EXPECT_EQ(r.sink.events, (std::vector<std::string>{"background", "pimuru 0", "pimuru 1", "ball",
                                                       "texts", "borders"}));
}

TEST(Random, SameSequenceOnEveryStartAndAlwaysInRange) {
    World a;
    World b;
    for (int i = 0; i < 1000; ++i) {
        const int n = i % 2 ? 3 : 50;
        const int value = a.Random(n);
        ASSERT_EQ(value, b.Random(n));
        ASSERT_GE(value, 0);
        ASSERT_LT(value, n);
    }
    // seed 0 → 1 → 134775814: 50 × 1 / 2³² is 0, 50 × 134775814 / 2³² is 1.
    World c;
    EXPECT_EQ(c.Random(50), 0);
    EXPECT_EQ(c.Random(50), 1);
    EXPECT_EQ(c.RandomSeed(), 134775814u);
}

TEST(Steering, KeysWinOverThePadAndRightWinsOverLeft) {
    Replay r;
    FrameInput input = Keys({.Left = true, .Right = true, .Up = true, .Down = true});
    input.Pads[1] = {-1, -1, false};
    input.Pads[0] = {-1, -1, false};
    r.IdleFrames(1, input);
    EXPECT_EQ(r.world.PimuruAt(1).X, 428);
    EXPECT_EQ(r.world.PimuruAt(1).Y, 405);
    EXPECT_EQ(r.world.PimuruAt(0).X, 212);
    EXPECT_EQ(r.world.PimuruAt(0).Y, 395);
}

TEST(Steering, PositionsAreClampedToTheField) {
    Replay r;
    FrameInput input;
    input.Pads[0] = {-1, -1, false};
    input.Pads[1] = {+1, +1, false};
    r.IdleFrames(80, input);
    EXPECT_EQ(r.world.PimuruAt(0).X, -40);
    EXPECT_EQ(r.world.PimuruAt(0).Y, 100);
    EXPECT_EQ(r.world.PimuruAt(1).X, 680);
    EXPECT_EQ(r.world.PimuruAt(1).Y, 440);
}

TEST(Bump, PimuruStopAtTheirPreviousPositionsAndSoundOncePerTwentyFrames) {
    Replay r;
    FrameInput input = Keys({.Left = true});
    input.Pads[0].Dx = 1;
    std::vector<int> bumpFrames;
    for (int frame = 1; frame <= 60; ++frame) {
        r.HoldBallAway();
        r.Frame(input);
        if (r.sink.Has("sound 4")) {
            bumpFrames.push_back(frame);
        }
    }
    // 200 apart, closing 16 a frame: the 10th frame would bring them 40 apart.
    EXPECT_EQ(r.world.PimuruAt(0).X, 220 + 9 * 8);
    EXPECT_EQ(r.world.PimuruAt(1).X, 420 - 9 * 8);
    EXPECT_EQ(bumpFrames, (std::vector<int>{10, 30, 50}));
}

TEST(Knock, PimuruSinksSwayingUntilBelow400AndKeysStillSteerPimuru2) {
    Replay r;
    r.IdleFrames(1, Keys({.Up = true}));
    ASSERT_EQ(r.world.PimuruAt(1).Y, 395);
    r.world.SpawnDrifter(420, 395);
    r.IdleFrames(1);
    ASSERT_TRUE(r.world.PimuruAt(1).Knocked);
    EXPECT_TRUE(r.sink.Has("sound 5"));
    EXPECT_EQ(r.world.KnockCooldown(), 20);
    // The splash is decided with the pimuru, before the drifter pass knocks it.
    EXPECT_FALSE(r.sink.Has("splash 1"));
    r.world.DrifterForTesting(1).State = drifter_state::kFree;

    const int frameCounter = r.world.FrameCounter();
    r.IdleFrames(1, Keys({.Left = true}));
    // Y 395 + 5 = 400 is not yet below 400: still knocked, and the keys steer.
    EXPECT_TRUE(r.world.PimuruAt(1).Knocked);
    EXPECT_TRUE(r.sink.Has("splash 1"));
    const int sway = static_cast<int>(std::sin(2.0 * frameCounter) * 15.0);
    EXPECT_EQ(r.world.PimuruAt(1).X, 420 + sway - 8);
    EXPECT_EQ(r.world.PimuruAt(1).Y, 400);
    const Splash& splash = r.world.SplashOf(1);
    EXPECT_EQ(splash.Picture, r.world.Cycle2() == 1 ? 0 : 1);
    EXPECT_GE(splash.X, r.world.PimuruAt(1).X - 80 - 25);
    EXPECT_LT(splash.X, r.world.PimuruAt(1).X - 80 + 25);

    r.IdleFrames(1);
    EXPECT_FALSE(r.world.PimuruAt(1).Knocked);
    EXPECT_FALSE(r.sink.Has("splash 1"));
}

TEST(Knock, PimuruKnockedAtY396OrLowerDownIsFreeTheNextFrame) {
    Replay r;
    // No joystick: pimuru 1 stands at its start, Y 400.
    r.world.SpawnDrifter(230, 420);
    r.IdleFrames(1);
    ASSERT_TRUE(r.world.PimuruAt(0).Knocked);
    r.world.DrifterForTesting(1).State = drifter_state::kFree;
    const int frameCounter = r.world.FrameCounter();
    r.IdleFrames(1);
    EXPECT_FALSE(r.world.PimuruAt(0).Knocked);
    EXPECT_FALSE(r.sink.Has("splash 0"));
    EXPECT_EQ(r.world.PimuruAt(0).Y, 405);
    EXPECT_EQ(r.world.PimuruAt(0).X, 220 + static_cast<int>(std::sin(2.0 * frameCounter) * 15.0));
}

TEST(Knock, SoundAtMostOncePerTwentyFramesWhileTheDrifterStays) {
    Replay r;
    r.world.SpawnDrifter(220, 400);
    int sounds = 0;
    for (int frame = 0; frame < 25; ++frame) {
        // Keep the drifter on the sinking pimuru.
        r.world.DrifterForTesting(1).X = r.world.PimuruAt(0).X;
        r.world.DrifterForTesting(1).Y = r.world.PimuruAt(0).Y;
        r.IdleFrames(1);
        sounds += r.sink.Count("sound 5");
    }
    EXPECT_EQ(sounds, 2);
}

TEST(Counters, CyclesRunFromOneToTheirPeriod) {
    Replay r;
    r.IdleFrames(1);
    EXPECT_EQ(r.world.FrameCounter(), 1);
    EXPECT_EQ(r.world.Cycle2(), 1);
    EXPECT_EQ(r.world.Cycle16(), 1);
    r.IdleFrames(16);
    EXPECT_EQ(r.world.Cycle2(), 1);
    EXPECT_EQ(r.world.Cycle4(), 1);
    EXPECT_EQ(r.world.Cycle16(), 1);
    EXPECT_EQ(r.world.Cycle256(), 17);
}

TEST(SpeedLevel, RisesWhenCycle256Is255UpToThirty) {
    Replay r;
    r.IdleFrames(254);
    EXPECT_EQ(r.world.SpeedLevel(), 4);
    r.IdleFrames(1);
    EXPECT_EQ(r.world.SpeedLevel(), 5);
    r.IdleFrames(255);
    EXPECT_EQ(r.world.SpeedLevel(), 5);
    r.IdleFrames(1);
    EXPECT_EQ(r.world.SpeedLevel(), 6);
    r.IdleFrames(27 * 256);
    EXPECT_EQ(r.world.SpeedLevel(), 33); // shown as 30
    r.IdleFrames(3 * 256);
    EXPECT_EQ(r.world.SpeedLevel(), 33);
}

TEST(BallMotion, FallIsCappedBySpeedLevelButRiseIsNot) {
    Replay r;
    r.Frames(20);
    EXPECT_EQ(r.world.GetBall().VY, 4);
    r.world.BallForTesting() = Ball{320, 100, 0, -30, 0};
    r.Frame();
    EXPECT_GE(r.world.GetBall().VY, -30);
    EXPECT_LE(r.world.GetBall().VY, -29);
    r.world.BallForTesting() = Ball{320, 100, 9, 0, 0};
    r.Frame();
    EXPECT_EQ(r.world.GetBall().VX, 4);
    EXPECT_EQ(r.world.GetBall().X, 324);
}

TEST(BallMotion, SideWallsAt60And580) {
    struct Case {
        int x, vx, expectedX, expectedVX;
    };
    for (Case c :
         {Case{577, 3, 580, 3}, Case{578, 3, 580, -3}, Case{63, -3, 60, -3}, Case{62, -3, 60, 3}}) {
        Replay r;
        r.world.BallForTesting() = Ball{c.x, -100, c.vx, 0, 0};
        r.Frame();
        EXPECT_EQ(r.world.GetBall().X, c.expectedX) << c.x;
        EXPECT_EQ(r.world.GetBall().VX, c.expectedVX) << c.x;
    }
}
