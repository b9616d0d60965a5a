#pragma once
// A recorded run: all that re-running it frame-exact needs (the world's
// carry-over, the options, every frame's input) and what lets a reader check
// it and list it (world checksums, scores, date, length).

#include "replay/input_runs.h"
#include "rules/world.h"
#include "rules/world_types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// A world checksum is kept after every this many frames (about a second).
inline constexpr std::int64_t kChecksumInterval = 40;

struct Replay {
    std::string ProgramVersion;
    game::World::CarryOver Start; // taken just before StartRun
    bool CoupleMode = false;
    bool Hard = false;           // the harder-game box when the run started
    std::int64_t StartedAt = 0;  // seconds since 1970-01-01 UTC
    InputRuns Inputs; // what the world was given, one a frame (each axis as its sign)
    // World::Checksum() after frames kChecksumInterval, 2 × kChecksumInterval, …
    std::vector<std::uint64_t> Checksums;
    std::uint64_t FinalChecksum = 0; // after the last frame (of the started world if none)
    std::int32_t FinalScore = 0;     // the rally going on when the run ended
    std::int32_t BestRallyScore = 0; // the best rally of the run, that one included
    std::int32_t FinalHighScore = 0;

    std::int64_t FrameCount() const { return static_cast<std::int64_t>(Inputs.size()); }
};

} // namespace replay
