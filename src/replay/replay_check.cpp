#include "replay/replay_check.h"

#include "rules/frame_sink.h"

#include <algorithm>

namespace replay {

game::World StartWorld(const Replay& replay) {
    game::World world;
    world.SetCarryOver(replay.Start);
    world.StartRun(replay.CoupleMode, replay.Hard);
    return world;
}

CheckResult CheckReplay(const Replay& replay) {
    CheckResult result;
    game::World world = StartWorld(replay);
    game::FrameSink nowhere; // nothing is drawn or heard
    std::int32_t bestRally = 0;
    const auto mismatch = [&](std::int64_t frame) {
        result.FirstBadFrame = frame;
        result.FinalScore = world.Score();
        return result;
    };
    for (const game::FrameInput& input : replay.Inputs) {
        world.Step(input, nowhere);
        ++result.Frames;
        bestRally = std::max(bestRally, world.Score());
        if (result.Frames % kChecksumInterval == 0) {
            const auto index = static_cast<std::size_t>(result.Frames / kChecksumInterval - 1);
            if (index >= replay.Checksums.size() || replay.Checksums[index] != world.Checksum())
                return mismatch(result.Frames);
        }
    }
    // The final checksum covers the scores; the best rally is the recorder's own sum.
    if (world.Checksum() != replay.FinalChecksum || world.Score() != replay.FinalScore ||
        world.HighScore() != replay.FinalHighScore || bestRally != replay.BestRallyScore ||
        static_cast<std::int64_t>(replay.Checksums.size()) != result.Frames / kChecksumInterval)
        return mismatch(result.Frames);
    result.Clean = true;
    result.FinalScore = world.Score();
    return result;
}

} // namespace replay
