#pragma once
// Plays a replay back without a screen or sound, at full speed, and compares
// every checksum it holds with the world's.

#include "replay/replay.h"

#include <cstdint>

namespace replay {

struct CheckResult {
    bool Clean = false;
    std::int64_t Frames = 0;          // frames stepped
    std::int32_t FinalScore = 0;
    std::int64_t FirstBadFrame = -1;  // the first frame whose world differs, when not clean
};
CheckResult CheckReplay(const Replay& replay);

// A world set up as the replay's run started (carry-over, then StartRun).
game::World StartWorld(const Replay& replay);

} // namespace replay
