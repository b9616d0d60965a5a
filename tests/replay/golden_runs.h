#pragma once
// The golden replays: which scripted runs they were made from, and where
// they are kept. Between them they hold passes, bursts, knocks, both
// modes, the keyboard, the harder game (from the start and ticked during a
// run) and a rally long enough for the speed level to rise.

#include "support/scripted_player.h"

#include <string>
#include <vector>

namespace replaytest {

struct GoldenRun {
    std::string Name; // the file is Name + ".pimuru-replay"
    testsupport::ScriptedRun Run;
};

inline std::vector<GoldenRun> GoldenRuns() {
    using testsupport::ScriptedRun;
    ScriptedRun single{.Seed = 1, .Frames = 2400};
    ScriptedRun couple{.Seed = 2, .CoupleMode = true, .SecondByKeys = true, .Frames = 2400};
    ScriptedRun hard{.Seed = 3, .Hard = true, .Frames = 2400, .Start = {12345, 500}};
    ScriptedRun longRally{.Seed = 4, .HardFromFrame = 2000, .Frames = 4000, .SloppyOneIn = 60};
    return {{"single", single}, {"couple-keys", couple}, {"hard", hard}, {"long-rally", longRally}};
}

} // namespace replaytest
