// Rolling back and stepping again gives the same world as stepping once:
// over the golden replays and freshly played runs, every frame is rolled back
// 1 to 8 frames and stepped again, and the checksums never change.
#include "online/session.h"
#include "replay/replay_check.h"
#include "replay/replay_file.h"
#include "support/scripted_player.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

namespace {

void ExpectRollbackChangesNothing(const replay::Replay& run) {
    // The straight run's checksum after every frame.
    std::vector<std::uint64_t> straight;
    game::World world = replay::StartWorld(run);
    game::FrameSink silent;
    for (const game::FrameInput& input : run.Inputs) {
        world.Step(input, silent);
        straight.push_back(world.Checksum());
    }

    world = replay::StartWorld(run);
    std::array<game::World, online::kPredictionFrames + 1> saved; // before frame f at f % size
    const auto frames = static_cast<std::int64_t>(run.Inputs.size());
    for (std::int64_t frame = 0; frame < frames; ++frame) {
        saved[frame % saved.size()] = world;
        world.Step(run.Inputs[frame], silent);
        const std::int64_t back =
            std::min<std::int64_t>(1 + frame % online::kPredictionFrames, frame + 1);
        world = saved[(frame + 1 - back) % saved.size()];
        for (std::int64_t f = frame + 1 - back; f <= frame; ++f) {
            saved[f % saved.size()] = world;
            world.Step(run.Inputs[f], silent);
        }
        ASSERT_EQ(world.Checksum(), straight[frame]) << "frame " << frame;
    }
}

} // namespace

TEST(SyncTest, TheGoldenReplaysRolledBackEveryFrameKeepTheirChecksums) {
    int replays = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PIMURU_GOLDEN_DIR)) {
        const replay::DecodedReplay read = replay::ReadReplayFile(entry.path().string());
        ASSERT_TRUE(read.Value) << entry.path() << ": " << read.Error;
        ExpectRollbackChangesNothing(*read.Value);
        if (HasFatalFailure()) {
            return;
        }
        ++replays;
    }
    EXPECT_GE(replays, 4);
}

TEST(SyncTest, EveryFrameRolledBackAndSteppedAgainKeepsTheChecksums) {
    testsupport::ScriptedRun plain;
    plain.Frames = 3000;
    testsupport::ScriptedRun couple = plain;
    couple.Seed = 5;
    couple.CoupleMode = true;
    couple.HardFromFrame = 1000;
    couple.SecondByKeys = true;
    couple.Start = {123456, 40};
    for (const auto& script : {plain, couple}) {
        ExpectRollbackChangesNothing(testsupport::RecordScriptedRun(script));
        if (HasFatalFailure()) {
            return;
        }
    }
}
