// A run played live: what its source gives is what the world steps with and
// what the replay keeps, so the replay checks clean and watches the same.
#include "play/live_play.h"
#include "replay/replay_check.h"
#include "support/scripted_player.h"

#include <gtest/gtest.h>

namespace {

// The scripted player as a run's input source.
class ScriptedInput : public play::InputSource {
public:
    explicit ScriptedInput(const testsupport::ScriptedRun& run) : player_(run) {}
    game::FrameInput Read(const game::World& world) override {
        return player_.Next(world, frame_++);
    }

private:
    testsupport::ScriptedPlayer player_;
    std::int64_t frame_ = 0;
};

TEST(LivePlay, TheRecordedRunChecksCleanAndKeepsTheCarryOver) {
    game::World world;
    game::FrameSink quiet;
    // A run before, so that the next starts from a used generator and a high score.
    {
        ScriptedInput first({.Seed = 3, .Hard = true});
        play::LivePlay run(world, false, true, first, "test", 1);
        for (int n = 0; n < 1500; ++n)
            run.Advance(quiet);
    }
    const game::World::CarryOver before = world.GetCarryOver();
    ScriptedInput second({.Seed = 4, .CoupleMode = true});
    play::LivePlay run(world, true, false, second, "test", 1765289002);
    for (int n = 0; n < 1200; ++n)
        run.Advance(quiet);

    const replay::Replay replay = run.Finish();
    EXPECT_EQ(replay.Start, before);
    EXPECT_TRUE(replay.CoupleMode);
    EXPECT_EQ(replay.FrameCount(), 1200);
    EXPECT_EQ(replay.StartedAt, 1765289002);
    EXPECT_EQ(replay.FinalChecksum, world.Checksum());
    const replay::CheckResult check = replay::CheckReplay(replay);
    EXPECT_TRUE(check.Clean);
    EXPECT_EQ(check.Frames, 1200);
}

} // namespace
