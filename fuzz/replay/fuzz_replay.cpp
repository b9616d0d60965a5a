// Feeds arbitrary bytes to the replay reader twice: as they come (the head
// and the closing checksum) and sealed with a right length and checksum, so
// that the fields behind the seal are reached too. A replay that reads must
// write back to the same bytes, and is played until its first checksum.

#include "replay/replay_check.h"
#include "replay/replay_file.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    replay::DecodeReplay({data, size});
    std::vector<std::uint8_t> sealed(data, data + size);
    replay::SealReplayFile(sealed);
    const replay::DecodedReplay decoded = replay::DecodeReplay(sealed);
    if (decoded.Value) {
        if (replay::EncodeReplay(*decoded.Value) != sealed)
            std::abort();
        replay::CheckReplay(*decoded.Value);
    } else if (decoded.Error.empty()) {
        std::abort();
    }
    return 0;
}
