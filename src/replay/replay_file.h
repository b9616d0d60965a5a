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

// The format this program writes; a reader refuses newer ones with a message.
inline constexpr int kFormatVersion = 1;
// Far beyond any real run (an hour takes about 100 kB); larger files are refused
// before they are read.
inline constexpr std::int64_t kMaxFileBytes = 64 << 20;

std::vector<std::uint8_t> EncodeReplay(const Replay& replay);

struct DecodedReplay {
    std::optional<Replay> Value; // set when the file is sound
    std::string Error;           // otherwise what is wrong, in words for the player
};
DecodedReplay DecodeReplay(std::span<const std::uint8_t> bytes);
// The file at path, read and decoded; a file that cannot be read gives a message too.
DecodedReplay ReadReplayFile(const std::string& path);

// Writes the file's stated length and its closing checksum over the bytes of
// a whole file. The encoder ends with it; the fuzzer seals its inputs with it
// so that it reaches the fields behind the checksum.
void SealReplayFile(std::vector<std::uint8_t>& bytes);

} // namespace replay
