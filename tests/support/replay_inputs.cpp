// Says how often each pimuru was steered left and right in a replay, so that
// a test of two game processes can tell that keys sent to each window moved
// that side's pimuru.
//   pimuru_replay_inputs FILE  →  "frames N p1-left A p1-right B p2-left C p2-right D"
#include "replay/replay_file.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    const replay::DecodedReplay read = replay::ReadReplayFile(argv[1]);
    if (!read.Value) {
        std::fprintf(stderr, "%s\n", read.Error.c_str());
        return 1;
    }
    long counts[2][2] = {};
    for (const game::FrameInput& input : read.Value->Inputs) {
        for (int p = 0; p < 2; ++p) {
            counts[p][0] += input.Pads[p].Dx < 0;
            counts[p][1] += input.Pads[p].Dx > 0;
        }
    }
    std::printf("frames %lld p1-left %ld p1-right %ld p2-left %ld p2-right %ld\n",
                static_cast<long long>(read.Value->FrameCount()), counts[0][0], counts[0][1],
                counts[1][0], counts[1][1]);
    return 0;
}
