// Drifters: their zigzag and exits, bursts, capacity and the difficulty steps.
#include "rules/replay.h"

#include <tuple>
#include <vector>

#include <gtest/gtest.h>

using namespace game;
using gametest::FireOf;
using gametest::Replay;

namespace {

struct Change {
    int frame, state, x, y;
    friend bool operator==(const Change&, const Change&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Change& c) {
        return out << "{" << c.frame << ", " << c.state << ", " << c.x << ", " << c.y << "}";
    }
};

// Plays with the ball out of reach (so no rally ends) and notes every state
// change of one drifter slot.
std::vector<Change> FollowSlot(int slot, int frames) {
    Replay r;
    std::vector<Change> changes;
    int state = 0;
    for (int frame = 1; frame <= frames; ++frame) {
        r.IdleFrames(1);
        const Drifter& d = r.world.DrifterAt(slot);
        if (d.State != state) {
            changes.push_back({frame, d.State, d.X, d.Y});
            state = d.State;
        }
    }
    return changes;
}

// Lets the ball touch pimuru 1 without a button, which arms it.
void ArmBall(Replay& r) {
    r.PlaceBallOver(0);
    r.Frame();
    ASSERT_TRUE(r.world.BallArmed());
}

} // namespace

TEST(Drifter, ZigzagsDownAndLeavesAtTheRightEdgeBelow300) {
    // The first drifter enters at frame 100 at (690, 80).
    EXPECT_EQ(FollowSlot(1, 2890), (std::vector<Change>{{100, 1, 689, 80},
                                                        {790, 2, -1, 82},
                                                        {830, 3, 0, 162},
                                                        {1471, 4, 641, 164},
                                                        {1511, 1, 641, 244},
                                                        {2153, 2, -1, 246},
                                                        {2193, 3, 0, 326},
                                                        {2884, 0, 691, 326}}));
}

TEST(Drifter, LeavesAtTheLeftEdgeBelow350) {
    // The third drifter enters at frame 300 at (690, 50).
    EXPECT_EQ(FollowSlot(3, 3790), (std::vector<Change>{{300, 1, 689, 50},
                                                        {990, 2, -1, 52},
                                                        {1030, 3, 0, 132},
                                                        {1671, 4, 641, 134},
                                                        {1711, 1, 641, 214},
                                                        {2353, 2, -1, 216},
                                                        {2393, 3, 0, 296},
                                                        {3034, 4, 641, 298},
                                                        {3074, 1, 641, 378},
                                                        {3766, 0, -51, 378}}));
}

TEST(Drifter, SpawnHeightsCycleAndHardGameSpawnsEvery50Frames) {
    Replay normal;
    normal.IdleFrames(300);
    EXPECT_EQ(normal.world.DrifterAt(1).Y, 80);
    EXPECT_EQ(normal.world.DrifterAt(2).Y, 110);
    EXPECT_EQ(normal.world.DrifterAt(3).Y, 50);
    EXPECT_EQ(normal.world.SpawnCount(), 3);

    Replay hard(false, true);
    hard.IdleFrames(49);
    EXPECT_EQ(hard.world.DrifterAt(1).State, 0);
    hard.IdleFrames(1);
    EXPECT_EQ(hard.world.DrifterAt(1).State, 1);
    EXPECT_EQ(hard.world.DrifterAt(1).X, 690 - 3);
}

TEST(Drifter, TableHoldsFiftyAndDropsFurtherSpawns) {
    World world;
    world.StartRun(false, false);
    for (int i = 0; i < 51; ++i) {
        world.SpawnDrifter(600, 100 + i);
    }
    EXPECT_EQ(world.DrifterAt(50).State, 1);
    EXPECT_EQ(world.DrifterAt(50).Y, 149);
    EXPECT_EQ(world.DrifterAt(51).State, 0);

    for (int i = 0; i < 101; ++i) {
        world.AddEffect(i, 100, -1, 1);
    }
    EXPECT_TRUE(world.EffectAt(100).Active);
    EXPECT_EQ(world.EffectAt(100).X, 99);
}

TEST(Burst, UnarmedBallPassesThroughDrifters) {
    Replay r;
    r.world.SpawnDrifter(360, 200);
    int framesInside = 0;
    while (r.world.GetBall().Y < 300) {
        r.Frame();
        const Ball& ball = r.world.GetBall();
        const Drifter& d = r.world.DrifterAt(1);
        framesInside += World::PointInBox(ball.X, ball.Y, d.X - 50, d.Y - 50, d.X + 50, d.Y + 50);
        ASSERT_EQ(d.State, 1);
        ASSERT_FALSE(r.sink.Has("sound 0"));
    }
    EXPECT_GT(framesInside, 10);
}

TEST(Burst, ArmedBallBurstsADrifterAndReversesItsFall) {
    Replay r;
    ArmBall(r);
    r.world.BallForTesting() = Ball{320, 200, 0, 4, 0};
    r.world.SpawnDrifter(350, 240);
    r.Frame();
    EXPECT_EQ(r.world.GetBall().VY, -4);
    EXPECT_EQ(r.world.Score(), 10);
    EXPECT_TRUE(r.sink.Has("sound 0"));
    // Burst picture 0 is drawn in the frame of the burst, in the drifter pass.
    EXPECT_LT(r.sink.IndexOf("sound 0"), r.sink.IndexOf("drifter 1"));
    EXPECT_LT(r.sink.IndexOf("ball"), r.sink.IndexOf("sound 0"));

    // Four burst pictures, each for two frames, then the slot is free.
    std::vector<int> states{r.world.DrifterAt(1).State};
    for (int i = 0; i < 9; ++i) {
        r.IdleFrames(1);
        states.push_back(r.world.DrifterAt(1).State);
    }
    const bool evenFirst = r.world.FrameCounter() % 2 == 1; // the burst frame was even
    if (evenFirst) {
        EXPECT_EQ(states, (std::vector<int>{12, 12, 13, 13, 14, 14, 0, 0, 0, 0}));
    } else {
        EXPECT_EQ(states, (std::vector<int>{11, 12, 12, 13, 13, 14, 14, 0, 0, 0}));
    }
}

TEST(Burst, TwoBurstsInOneFrameLeaveTheFallUnchanged) {
    Replay r;
    ArmBall(r);
    r.world.BallForTesting() = Ball{320, 200, 0, 4, 0};
    r.world.SpawnDrifter(330, 220);
    r.world.SpawnDrifter(300, 180);
    r.Frame();
    EXPECT_EQ(r.world.GetBall().VY, 4);
    EXPECT_EQ(r.world.Score(), 20);
    EXPECT_EQ(r.sink.Count("sound 0"), 2);
}

TEST(Burst, ScoreStepsRaiseSpawnRateAndDrifterSpeed) {
    struct Case {
        bool hard;
        int scoreBefore, interval, speed;
    };
    for (Case c : {Case{false, 240, 100, 1}, Case{false, 250, 50, 2}, Case{true, 250, 50, 2},
                   Case{true, 490, 50, 2}, Case{false, 500, 40, 3}, Case{false, 1000, 30, 4},
                   Case{false, 1500, 20, 5}}) {
        Replay r(false, c.hard);
        ArmBall(r);
        r.world.SetScoreForTesting(c.scoreBefore);
        r.world.BallForTesting() = Ball{320, 200, 0, 4, 0};
        r.world.SpawnDrifter(330, 220);
        r.Frame();
        ASSERT_EQ(r.world.Score(), c.scoreBefore + 10);
        EXPECT_EQ(r.world.GetDifficulty().SpawnInterval, c.interval) << c.scoreBefore;
        EXPECT_EQ(r.world.GetDifficulty().DrifterSpeed, c.speed) << c.scoreBefore;
    }
}

TEST(Burst, FastDifficultySpawnsEveryTwentyFramesAtSpeedFive) {
    Replay r;
    ArmBall(r);
    r.world.SetScoreForTesting(1500);
    r.world.BallForTesting() = Ball{320, 200, 0, 4, 0};
    r.world.SpawnDrifter(330, 220);
    r.Frame();
    const int spawnsBefore = r.world.SpawnCount();
    const int frame = r.world.FrameCounter();
    r.IdleFrames(100);
    EXPECT_EQ(r.world.SpawnCount() - spawnsBefore, (frame + 100) / 20 - frame / 20);
    // The newest drifter entered at 690 and moves 5 a frame.
    int newest = 0;
    for (int slot = 1; slot <= 50; ++slot) {
        if (r.world.DrifterAt(slot).State == 1) {
            newest = slot;
        }
    }
    ASSERT_GT(newest, 0);
    EXPECT_EQ((690 - r.world.DrifterAt(newest).X) % 5, 0);
}
