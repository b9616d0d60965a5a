// A run with a computer partner records and checks as a replay like any
// other, and the same start gives the same replay.
#include "play/seats.h"
#include "replay/recorder.h"
#include "replay/replay_check.h"
#include "replay/replay_file.h"

#include <gtest/gtest.h>

namespace {

// A run of pimuru 2 by the computer beside a person who walks left and
// right now and then, from the world's carry-over {seed, 0}.
replay::Replay RecordRun(std::uint32_t seed) {
    game::World world;
    world.SetCarryOver({seed, 0});
    replay::Recorder recorder(world, false, false, "test", 0);
    partner::Seats seats(partner::SeatChoice{{std::nullopt, partner::Strength::Steady}},
                         world.RandomSeed());
    world.StartRun(false, false);
    game::FrameSink quiet;
    for (int frame = 0; frame < 3000; ++frame) {
        game::FrameInput input;
        input.Keys.Left = frame % 400 < 30;
        input.Keys.Right = frame % 400 >= 200 && frame % 400 < 230;
        seats.FillIn(world, input);
        world.Step(input, quiet);
        recorder.Record(input, world);
    }
    return recorder.Finish(world);
}

TEST(PartnerReplay, ARunWithTheComputerChecksCleanAndRepeatsFromTheSameStart) {
    const replay::Replay first = RecordRun(7);
    const replay::CheckResult check = replay::CheckReplay(first);
    EXPECT_TRUE(check.Clean) << "first bad frame " << check.FirstBadFrame;
    EXPECT_EQ(check.Frames, 3000);

    int swings = 0;
    for (const game::FrameInput& input : first.Inputs)
        swings += input.Pads[1].Fire;
    EXPECT_GT(swings, 5) << "the computer's strikes are in the log like a person's";

    EXPECT_EQ(replay::EncodeReplay(RecordRun(7)), replay::EncodeReplay(first));
    EXPECT_NE(RecordRun(8).FinalChecksum, first.FinalChecksum);
}

} // namespace
