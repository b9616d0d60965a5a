// The golden replays, recorded by a scripted player and kept with the
// sources: any change to the rules shows here with the first frame whose
// world differs. After a deliberate change, re-seal them (README, testing).
#include "replay/golden_runs.h"
#include "replay/replay_check.h"
#include "replay/replay_file.h"
#include "replay/sound_count.h"

#include <gtest/gtest.h>

namespace {

std::string PathOf(const replaytest::GoldenRun& golden) {
    return std::string(PIMURU_GOLDEN_DIR) + "/" + golden.Name + ".pimuru-replay";
}

TEST(GoldenReplays, CheckCleanAndCoverTheRules) {
    replaytest::SoundCount all;
    bool couple = false;
    for (const replaytest::GoldenRun& golden : replaytest::GoldenRuns()) {
        const replay::DecodedReplay read = replay::ReadReplayFile(PathOf(golden));
        ASSERT_TRUE(read.Value) << PathOf(golden) << ": " << read.Error;
        const replay::CheckResult result = replay::CheckReplay(*read.Value);
        EXPECT_TRUE(result.Clean) << golden.Name << ": the world first differs at frame "
                                  << result.FirstBadFrame;
        const replaytest::SoundCount c = replaytest::CountSounds(*read.Value);
        all.Passes += c.Passes, all.Bursts += c.Bursts, all.Knocks += c.Knocks;
        all.BallsLost += c.BallsLost, all.HardFrames += c.HardFrames;
        all.TopSpeed = std::max(all.TopSpeed, c.TopSpeed);
        couple = couple || read.Value->CoupleMode;
    }
    // Re-recorded runs must still show what the rules do.
    EXPECT_GT(all.Passes, 0);
    EXPECT_GT(all.Bursts, 0);
    EXPECT_GT(all.Knocks, 0);
    EXPECT_GT(all.BallsLost, 0);
    EXPECT_GT(all.HardFrames, 0);
    EXPECT_GT(all.TopSpeed, game::World::kStartSpeedLevel + 2);
    EXPECT_TRUE(couple);
}

} // namespace
