// The partner's choices in set-up situations, and its strengths in order.
#include "partner_play.h"

#include "bench/support/rally_trial.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using game::Ball;
using game::World;
using partner::ComputerPartner;
using partner::Strength;
using partnertest::Place;
using partnertest::PlayWith;
using partnertest::StrikeCount;

constexpr Strength kStrengths[] = {Strength::Gentle, Strength::Steady, Strength::Strong};

TEST(ComputerPartner, MeetsABallComingToItsHalfAndStrikesIt) {
    for (const Strength strength : kStrengths) {
        for (const std::int32_t landing : {360, 540}) {
            World world;
            world.StartRun(false, false);
            world.BallForTesting() = Ball{landing, 100, 0, 0, 0};
            ComputerPartner partner(1, strength, 5);
            std::int32_t struckFrom = -1000;
            PlayWith(world, partner, 300, [&](const World& w, const StrikeCount& sink) {
                struckFrom = w.PimuruAt(1).X;
                return sink.strikes > 0;
            });
            EXPECT_EQ(world.LastStriker(), 2)
                << "strength " << int(strength) << " ball at " << landing;
            EXPECT_LE(std::abs(struckFrom - landing), 70);
            EXPECT_LT(world.GetBall().VY, -10) << "a swing's strike, not a bounce";
        }
    }
}

TEST(ComputerPartner, LeavesABallThePersonIsUnder) {
    World world;
    world.StartRun(false, false);
    Place(world, 0, 380, 440); // the person, under a ball on the partner's half
    Place(world, 1, 540, 440);
    world.BallForTesting() = Ball{380, 100, 0, 0, 0};
    ComputerPartner partner(1, Strength::Strong, 5);
    std::int32_t nearest = 1000;
    bool took = false;
    PlayWith(world, partner, 200, [&](const World& w, const StrikeCount&) {
        nearest = std::min(nearest, std::abs(w.PimuruAt(1).X - 380));
        took = took || partner.TakingBall();
        return w.GetBall().VY < 0; // it bounced off the person
    });
    ASSERT_LT(world.GetBall().VY, 0);
    EXPECT_FALSE(took);
    EXPECT_EQ(world.LastStriker(), -1);
    EXPECT_GE(nearest, 100);
}

TEST(ComputerPartner, KeepsTheBallToItselfBesideAPersonWhoDoesNotPlay) {
    World world;
    world.StartRun(false, false);
    ComputerPartner partner(1, Strength::Steady, 5);
    // The last rally's score shows once the ball is lost.
    const int frames = PlayWith(world, partner, 1500, [](const World& w, const StrikeCount&) {
        return w.FinalScoreCounter() > 0;
    });
    EXPECT_EQ(frames, 1500) << "the ball was lost";
    EXPECT_EQ(world.LastStriker(), 2);
}

// Each new ball after a lost one drops between the two; beside a person who
// holds no keys it is the partner's. Ten rallies after a loss, each kept up
// with strike after strike (a partner that stood aside or struck the new
// ball blindly lost it within seconds).
TEST(ComputerPartner, KeepsEachNewBallBesideAPersonWhoDoesNotPlay) {
    World world;
    world.SetCarryOver({5, 0});
    world.StartRun(false, false);
    ComputerPartner partner(1, Strength::Steady, 5);
    std::vector<int> strikes; // in each rally after a loss
    int lossesSeen = 0;
    int strikesAtLoss = 0;
    PlayWith(world, partner, 100000, [&](const World&, const StrikeCount& sink) {
        if (sink.losses > lossesSeen) {
            if (lossesSeen > 0)
                strikes.push_back(sink.strikes - strikesAtLoss);
            lossesSeen = sink.losses;
            strikesAtLoss = sink.strikes;
        }
        return strikes.size() == 10;
    });
    ASSERT_EQ(strikes.size(), 10u);
    for (std::size_t rally = 0; rally < strikes.size(); ++rally)
        EXPECT_GE(strikes[rally], 5) << "rally " << rally + 1 << " after a loss";
}

TEST(ComputerPartner, DoesNotWalkIntoADrifterItCanAvoid) {
    World start;
    start.StartRun(false, false);
    Place(start, 1, 460, 300); // above its place, a drifter just below
    game::Drifter& drifter = start.DrifterForTesting(1);
    drifter.State = game::drifter_state::kMovingLeft;
    drifter.X = 440;
    drifter.Y = 345;
    start.BallForTesting() = Ball{480, -300, 0, 0, 0}; // its own ball, still far above

    // Walking straight down to its place gets it knocked.
    World straight = start;
    game::FrameSink quiet;
    bool knocked = false;
    for (int frame = 0; frame < 12 && !knocked; ++frame) {
        game::FrameInput input;
        input.Pads[1] = {0, 1, false};
        straight.Step(input, quiet);
        knocked = straight.PimuruAt(1).Knocked;
    }
    ASSERT_TRUE(knocked);

    for (const Strength strength : kStrengths) {
        World world = start;
        ComputerPartner partner(1, strength, 3);
        knocked = false;
        PlayWith(world, partner, 80, [&](const World& w, const StrikeCount&) {
            knocked = knocked || w.PimuruAt(1).Knocked;
            return false;
        });
        EXPECT_FALSE(knocked) << "strength " << int(strength);
        EXPECT_EQ(world.PimuruAt(1).Y, ComputerPartner::kHomeY);
    }
}

// A few seeded rallies of a pair at each strength: the stronger pair keeps
// the ball up longer in all (the benchmark measures many more).
TEST(ComputerPartner, StrongerPairsKeepLongerRallies) {
    std::int64_t frames[3] = {};
    for (int s = 0; s < 3; ++s) {
        for (std::uint32_t seed = 1; seed <= 5; ++seed) {
            partner::TrialSetup setup;
            setup.Players = {kStrengths[s], kStrengths[s]};
            setup.Seed = seed;
            setup.FrameLimit = 8000; // over three minutes
            frames[s] += partner::PlayRally(setup).Frames;
        }
    }
    EXPECT_LT(frames[0], frames[1]);
    EXPECT_LT(frames[1], frames[2]);
    EXPECT_EQ(frames[2], 5 * 8000) << "the strong pair keeps every rally past three minutes";
}

} // namespace
