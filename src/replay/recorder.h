#pragma once
// Records a run while it is played: the game run hands it every frame's
// input right after the world has stepped with it, and takes the finished
// Replay when the run ends however it ends.

#include "replay/replay.h"

namespace replay {

class Recorder {
public:
    // world: just before StartRun (its carry-over is what the replay starts from).
    Recorder(const game::World& world, bool coupleMode, bool hard, std::string programVersion,
             std::int64_t startedAt);

    // input: what the world was just given; world: the world after that step.
    void Record(const game::FrameInput& input, const game::World& world);

    // The replay so far, with its final checksum and scores from world.
    Replay Finish(const game::World& world) const;

private:
    Replay replay_;
};

} // namespace replay
