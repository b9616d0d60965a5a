#pragma once
// The replay file: encoding a Replay into the bytes kept on disk and reading
// them back. The reader trusts nothing it reads: every fault in a file from
// someone else becomes a message, never a crash or an allocation beyond what
// the file really holds.

#include "replay/replay.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace replay {

std::vector<std::uint8_t> EncodeReplay(const Replay& replay);

struct DecodedReplay {
    std::optional<Replay> Value; // set when the file is sound
    std::string Error;           // otherwise what is wrong, in words for the player
};
DecodedReplay DecodeReplay(std::span<const std::uint8_t> bytes);

} // namespace replay
