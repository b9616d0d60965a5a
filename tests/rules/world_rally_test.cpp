// The end of a rally, the last rally's score on show and a new run.
#include "rules/replay.h"

#include <gtest/gtest.h>

using namespace game;
using gametest::FireOf;
using gametest::Keys;
using gametest::Replay;

namespace {

// A rally in full swing: a striker, a bonus, drifters in several states,
// effects, a raised speed level and a knocked pimuru.
void PlayARally(Replay& r) {
    r.IdleFrames(260); // speed level 5, two drifters on their way
    r.PlaceBallOver(1);
    r.Frame(FireOf(1));
    r.PlaceBallOver(0);
    r.Frame(FireOf(0)); // pass bonus: 10 points
    r.world.SetScoreForTesting(30);
    r.world.BallForTesting() = Ball{320, 200, 0, 4, 0};
    r.world.SpawnDrifter(330, 220);
    r.IdleFrames(0);
    r.Frame(); // a burst: 40 points, drifter bursting
    ASSERT_EQ(r.world.Score(), 40);
    r.world.SpawnDrifter(220, 400); // knocks pimuru 1
    r.world.BallForTesting() = Ball{320, 200, 0, 4, 0};
    r.Frame();
    ASSERT_TRUE(r.world.PimuruAt(0).Knocked);
    ASSERT_EQ(r.world.SpeedLevel(), 5);
    r.world.DrifterForTesting(4).Y = 300; // keep it off pimuru 1 from now on
}

} // namespace

TEST(Rally, LostBallResetsTheRallyAndNothingElse) {
    Replay r;
    PlayARally(r);
    const World before = r.world;

    FrameInput input;
    input.Hard = true; // the harder-game box is read again
    r.world.BallForTesting() = Ball{400, 549, 2, 4, 2};
    r.Frame(input);
    const World& after = r.world;

    // The sound and the music restart come in the rule steps, before drawing.
    EXPECT_LT(r.sink.IndexOf("sound 2"), r.sink.IndexOf("music"));
    EXPECT_LT(r.sink.IndexOf("music"), r.sink.IndexOf("background"));
    EXPECT_EQ(after.GetBall().X, 320);
    EXPECT_EQ(after.GetBall().Y, -50);
    EXPECT_EQ(after.GetBall().VX, 0);
    EXPECT_EQ(after.GetBall().VY, 0);
    EXPECT_EQ(after.LastRallyScore(), 40);
    EXPECT_EQ(after.Score(), 0);
    EXPECT_EQ(after.HighScore(), 40);
    EXPECT_EQ(after.LastStriker(), -1);
    EXPECT_EQ(after.SpawnCount(), 0);
    EXPECT_EQ(after.SpeedLevel(), 4);
    EXPECT_EQ(after.GetDifficulty().DrifterSpeed, 3);
    EXPECT_EQ(after.GetDifficulty().SpawnInterval, 50);
    EXPECT_FALSE(after.BallArmed());
    EXPECT_FALSE(after.PimuruAt(0).Knocked);
    // Every drifter leaves upwards, bursting ones too, already 5 higher.
    for (int slot = 1; slot <= 50; ++slot) {
        const Drifter& was = before.DrifterAt(slot);
        if (was.State != 0) {
            EXPECT_EQ(after.DrifterAt(slot).State, drifter_state::kLeaving) << slot;
            EXPECT_EQ(after.DrifterAt(slot).Y, was.Y - 5) << slot;
        }
    }
    // The score is on show from this very frame.
    EXPECT_TRUE(r.sink.Has("last score"));
    EXPECT_GT(r.sink.IndexOf("last score"), r.sink.IndexOf("borders"));
    EXPECT_EQ(after.FinalScoreCounter(), 2);

    // What carries on.
    EXPECT_EQ(after.FrameCounter(), before.FrameCounter() + 1);
    EXPECT_EQ(after.PassCooldown(), before.PassCooldown() - 1);
    EXPECT_EQ(after.PimuruAt(1).X, before.PimuruAt(1).X);
    EXPECT_EQ(after.PimuruAt(1).SwingFrame, before.PimuruAt(1).SwingFrame + 1);
    EXPECT_EQ(after.PimuruAt(0).SwingTimer, before.PimuruAt(0).SwingTimer - 1);
    EXPECT_TRUE(after.EffectAt(1).Active);
    EXPECT_EQ(after.CoupleMode(), before.CoupleMode());
}

TEST(Rally, LastScoreIsShownFor130Frames) {
    Replay r;
    int shown = 0;
    int firstShown = 0;
    int frame = 0;
    while (frame < 1000) {
        r.Frame();
        ++frame;
        if (r.sink.Has("last score")) {
            shown += 1;
            if (firstShown == 0) {
                firstShown = frame;
                EXPECT_TRUE(r.sink.Has("sound 2"));
            }
        } else if (firstShown != 0) {
            break;
        }
    }
    EXPECT_EQ(shown, 130);
    EXPECT_EQ(r.world.FinalScoreCounter(), 0);
}

TEST(Rally, LeavingDrifterStillKnocks) {
    Replay r;
    r.world.SpawnDrifter(220, 480);
    r.world.BallForTesting() = Ball{320, 549, 0, 4, 0};
    r.Frame(); // the rally ends: the drifter leaves, 5 higher
    ASSERT_EQ(r.world.DrifterAt(1).State, drifter_state::kLeaving);
    r.world.DrifterForTesting(1).Y = 400;
    r.Frame();
    EXPECT_TRUE(r.world.PimuruAt(0).Knocked);
}

TEST(Run, HighScoreSurvivesAndEverythingElseStartsFresh) {
    Replay r;
    PlayARally(r);
    ASSERT_EQ(r.world.HighScore(), 40);
    r.IdleFrames(1, FireOf(1)); // pimuru 2's button latched when the run is left
    const std::uint32_t seed = r.world.RandomSeed();

    r.world.StartRun(true, false);
    Replay fresh;
    const World& w = r.world;
    EXPECT_EQ(w.HighScore(), 40);
    EXPECT_EQ(w.RandomSeed(), seed);
    EXPECT_EQ(w.Score(), 0);
    EXPECT_EQ(w.LastRallyScore(), 0);
    EXPECT_EQ(w.KnockCooldown(), 0);
    EXPECT_TRUE(w.CoupleMode());
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(w.PimuruAt(i).Knocked);
        EXPECT_FALSE(w.PimuruAt(i).ButtonLatch);
        EXPECT_EQ(w.PimuruAt(i).X, fresh.world.PimuruAt(i).X);
        EXPECT_EQ(w.PimuruAt(i).SwingTimer, 0);
    }
    for (int slot = 1; slot <= kDrifterSlots; ++slot) {
        EXPECT_EQ(w.DrifterAt(slot).State, 0);
        EXPECT_FALSE(w.EffectAt(slot).Active);
    }
    EXPECT_EQ(w.FrameCounter(), 0);
    EXPECT_EQ(w.SpeedLevel(), 4);
    EXPECT_EQ(w.GetBall().Y, 0);
    EXPECT_EQ(w.LastStriker(), -1);
    EXPECT_EQ(w.FinalScoreCounter(), 0);

    // The latch was cleared: a button held on from the last run strikes.
    r.PlaceBallOver(1);
    r.Frame(FireOf(1));
    EXPECT_EQ(r.world.GetBall().VY, -17);
}
