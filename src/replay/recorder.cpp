#include "replay/recorder.h"

#include "replay/replay_check.h"

#include <algorithm>

namespace replay {

Recorder::Recorder(const game::World& world, bool coupleMode, bool hard, std::string programVersion,
                   std::int64_t startedAt) {
    replay_.ProgramVersion = std::move(programVersion);
    replay_.Start = world.GetCarryOver();
    replay_.CoupleMode = coupleMode;
    replay_.Hard = hard;
    replay_.StartedAt = startedAt;
    replay_.FinalChecksum = StartWorld(replay_).Checksum();
    replay_.FinalHighScore = replay_.Start.HighScore;
}

void Recorder::Record(const game::FrameInput& input, const game::World& world) {
    replay_.Inputs.push_back(input);
    if (replay_.FrameCount() % kChecksumInterval == 0)
        replay_.Checksums.push_back(world.Checksum());
    replay_.BestRallyScore = std::max(replay_.BestRallyScore, world.Score());
}

Replay Recorder::Finish(const game::World& world) const {
    Replay finished = replay_;
    finished.FinalChecksum = world.Checksum();
    finished.FinalScore = world.Score();
    finished.FinalHighScore = world.HighScore();
    return finished;
}

} // namespace replay
