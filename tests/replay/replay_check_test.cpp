// The headless check: a recorded run checks clean, a run whose world went
// another way is caught at the first checksum after the change, and the
// command line says so in its exit status.
#include "app/check_replay_command.h"
#include "replay/replay_check.h"
#include "replay/replay_file.h"
#include "replay/replay_messages.h"
#include "support/scripted_player.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const replay::Replay& Recorded() {
    static const replay::Replay run = testsupport::RecordScriptedRun({.Seed = 9, .Frames = 1000});
    return run;
}

TEST(ReplayCheck, RecordedRunsCheckClean) {
    for (bool couple : {false, true}) {
        for (bool hard : {false, true}) {
            const replay::Replay r = testsupport::RecordScriptedRun({.Seed = 11,
                                                                     .CoupleMode = couple,
                                                                     .Hard = hard,
                                                                     .Frames = 1201,
                                                                     .Start = {99, 40}});
            const replay::CheckResult result = replay::CheckReplay(r);
            EXPECT_TRUE(result.Clean) << "first bad frame " << result.FirstBadFrame;
            EXPECT_EQ(result.Frames, 1201);
            EXPECT_EQ(result.FinalScore, r.FinalScore);
        }
    }
}

TEST(ReplayCheck, ADifferentWorldShowsAtTheFirstChecksumAfterIt) {
    replay::Replay changed = Recorded();
    changed.Inputs = {};
    for (std::size_t f = 0; f < Recorded().Inputs.size(); ++f) {
        game::FrameInput input = Recorded().Inputs[f];
        if (f == 100)
            input.Pads[0].Dx = input.Pads[0].Dx == 1 ? -1 : 1;
        changed.Inputs.Append(input);
    }
    const replay::CheckResult result = replay::CheckReplay(changed);
    EXPECT_FALSE(result.Clean);
    EXPECT_EQ(result.FirstBadFrame, 120);
    EXPECT_EQ(result.Frames, 120);

    replay::Replay otherStart = Recorded();
    otherStart.Start.HighScore += 10;
    EXPECT_EQ(replay::CheckReplay(otherStart).FirstBadFrame, 40);

    replay::Replay otherEnd = Recorded();
    otherEnd.BestRallyScore += 10;
    EXPECT_EQ(replay::CheckReplay(otherEnd).FirstBadFrame, 1000);
}

TEST(ReplayCheck, CommandLineExitsNonZeroOnAnyBadFile) {
    testsupport::TempDir dir;
    const std::vector<std::uint8_t> bytes = replay::EncodeReplay(Recorded());
    std::string good(bytes.begin(), bytes.end());
    testsupport::WriteFileBytes(dir.File("good.pimuru-replay"), good);
    good[40] ^= 1;
    testsupport::WriteFileBytes(dir.File("changed.pimuru-replay"), good);

    std::ostringstream out, err;
    const std::vector<std::string> clean = {dir.File("good.pimuru-replay")};
    EXPECT_EQ(app::CheckReplayFiles(clean, out, err), 0);
    EXPECT_EQ(out.str(), dir.File("good.pimuru-replay") + ": " +
                             replay::messages::CheckedClean(Recorded().FinalScore,
                                                            Recorded().BestRallyScore, 1000) +
                             "\n");

    out.str("");
    const std::vector<std::string> mixed = {dir.File("good.pimuru-replay"),
                                            dir.File("changed.pimuru-replay")};
    EXPECT_EQ(app::CheckReplayFiles(mixed, out, err), 1);
    EXPECT_NE(out.str().find(dir.File("changed.pimuru-replay") + ": " +
                             replay::messages::BadFileChecksum()),
              std::string::npos);

    EXPECT_EQ(app::CheckReplayFiles({}, out, err), 2);
}

} // namespace
