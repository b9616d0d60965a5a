// Makes and re-seals the golden replays the tests check.
//   golden_replays_tool rewrite FOLDER   keeps every file's inputs and writes
//       the checksums and scores today's rules give them (after a deliberate
//       change of the rules)
//   golden_replays_tool record FOLDER    plays the scripted runs afresh
//   golden_replays_tool stats FOLDER     what happens in each file
#include "replay/golden_runs.h"
#include "replay/recorder.h"
#include "replay/replay_check.h"
#include "replay/replay_file.h"
#include "replay/replay_messages.h"
#include "replay/sound_count.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

void Write(const std::string& path, const replay::Replay& r) {
    const auto bytes = replay::EncodeReplay(r);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The same inputs through today's rules, recorded anew.
replay::Replay Reseal(const replay::Replay& old) {
    game::World world;
    world.SetCarryOver(old.Start);
    replay::Recorder recorder(world, old.CoupleMode, old.Hard, old.ProgramVersion, old.StartedAt);
    world = replay::StartWorld(old);
    game::FrameSink nowhere;
    for (const game::FrameInput& input : old.Inputs) {
        world.Step(input, nowhere);
        recorder.Record(input, world);
    }
    return recorder.Finish(world);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: golden_replays_tool rewrite|record|stats FOLDER\n";
        return 2;
    }
    const std::string mode = argv[1];
    const std::filesystem::path folder = argv[2];
    for (const replaytest::GoldenRun& golden : replaytest::GoldenRuns()) {
        const std::string path = (folder / (golden.Name + ".pimuru-replay")).string();
        if (mode == "record") {
            Write(path, testsupport::RecordScriptedRun(golden.Run));
            continue;
        }
        const replay::DecodedReplay read = replay::ReadReplayFile(path);
        if (!read.Value) {
            std::cerr << path << ": " << read.Error << '\n';
            return 1;
        }
        if (mode == "rewrite") {
            Write(path, Reseal(*read.Value));
        } else {
            const replaytest::SoundCount c = replaytest::CountSounds(*read.Value);
            std::printf(
                "%-12s %5lld frames  strikes %3d  passes %3d  bursts %3d  knocks %3d  lost %2d  "
                "best %4d  top speed %2d  hard frames %d\n",
                golden.Name.c_str(), static_cast<long long>(read.Value->FrameCount()), c.Strikes,
                c.Passes, c.Bursts, c.Knocks, c.BallsLost, read.Value->BestRallyScore, c.TopSpeed,
                c.HardFrames);
        }
    }
    return 0;
}
