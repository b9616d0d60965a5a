// Two sessions over simulated links from a clean LAN to a bad ocean crossing:
// every run plays its frames and ends with both sides holding the same
// confirmed inputs and the same worlds.
#include "support/online_pair.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using onlinetest::LinkConditions;
using onlinetest::PairRun;
using onlinetest::PairSetup;
using onlinetest::RunPair;

namespace {

std::string Describe(const LinkConditions& link) {
    return std::to_string(link.RoundTripMs) + " ms ±" + std::to_string(link.JitterMs) + " ms, " +
           std::to_string(link.LossPercent) + " % loss";
}

void ExpectSameRun(const PairRun& run, std::int32_t frames, const std::string& what) {
    const auto& host = run.Sides[0];
    const auto& guest = run.Sides[1];
    ASSERT_TRUE(host.End && guest.End) << what;
    EXPECT_EQ(host.End->Reason, online::EndReason::Quit) << what;
    EXPECT_EQ(guest.End->Reason, online::EndReason::Quit) << what;
    EXPECT_FALSE(host.End->ByPartner) << what;
    EXPECT_TRUE(guest.End->ByPartner) << what;
    ASSERT_GE(static_cast<std::int32_t>(host.Confirmed.size()), frames) << what;
    ASSERT_EQ(host.Confirmed.size(), guest.Confirmed.size()) << what;
    for (std::size_t f = 0; f < host.Confirmed.size(); ++f) {
        ASSERT_TRUE(host.Confirmed[f] == guest.Confirmed[f])
            << what << " frame " << f;
        ASSERT_EQ(host.Checksums[f], guest.Checksums[f]) << what << " frame " << f;
    }
    // The scripted players really played.
    for (const auto& side : run.Sides) {
        EXPECT_GT(side.Sounds[static_cast<int>(game::SoundEffect::Strike)], 20) << what;
        EXPECT_GT(side.Sounds[static_cast<int>(game::SoundEffect::BallLost)], 1) << what;
        EXPECT_GT(side.Sounds[static_cast<int>(game::SoundEffect::Burst)], 0) << what;
        EXPECT_LE(side.Stats.LongestRollback, online::kPredictionFrames) << what;
        // Each way at most 4 kB/s with 28 bytes of UDP and IPv4 headers a datagram.
        const double seconds = static_cast<double>(run.DurationUs) / 1e6;
        EXPECT_LE(static_cast<double>(side.Stats.BytesSent + 28 * side.Stats.PacketsSent) / seconds,
                  4000.0)
            << what;
        // Each frame is drawn once, however often it was stepped again.
        EXPECT_EQ(side.FramesDrawn, side.Stats.FramesStepped) << what;
    }
}

} // namespace

// The whole grid takes a while under the sanitizers: PIMURU_FULL_GRID=1 runs
// all 45 links, otherwise a corner-and-middle sample runs.
TEST(LinkGrid, EveryLinkEndsWithTheSameInputsAndWorlds) {
    const bool full = std::getenv("PIMURU_FULL_GRID") != nullptr;
    std::uint32_t seed = 1;
    for (const std::int32_t rtt : {0, 40, 100, 200, 300}) {
        for (const std::int32_t jitter : {0, 10, 30}) {
            for (const std::int32_t loss : {0, 5, 10}) {
                ++seed;
                const bool sample = (jitter == 0 && loss == 0) || (jitter == 30 && loss == 10) ||
                                    (rtt == 100 && jitter == 10 && loss == 5);
                if (!full && !sample) {
                    continue;
                }
                PairSetup setup;
                setup.Link = {rtt, jitter, loss, 1, 1};
                setup.Seed = seed;
                const PairRun run = RunPair(setup);
                ExpectSameRun(run, setup.Frames, Describe(setup.Link));
                if (HasFatalFailure()) {
                    return;
                }
            }
        }
    }
}

// The figure players notice: 150 ms round trip, 10 ms jitter, 5 % loss.
TEST(LinkGrid, AtAHundredAndFiftyMillisecondsTheWorldWaitsOnAtMostOnePercentOfFrames) {
    PairSetup setup;
    setup.Link = {150, 10, 5, 1, 1};
    setup.Seed = 150;
    setup.MeasureDelay = true;
    const PairRun run = RunPair(setup);
    ExpectSameRun(run, setup.Frames, Describe(setup.Link));
    for (const auto& side : run.Sides) {
        EXPECT_LE(side.Stats.WaitTicks * 100, side.Stats.FramesStepped);
        EXPECT_GE(side.InputDelay, 1);
        EXPECT_LE(side.InputDelay, 2);
    }
}
