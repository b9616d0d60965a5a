#pragma once
// Finds chunks in a RIFF file the way the multimedia file functions do: the
// RIFF chunk of a given form type, then sub-chunks forward within it, each
// chunk stepped over by its length rounded up to an even number.

#include "base/stream.h"

#include <cstdint>

namespace ddsd {

// Four characters packed first-lowest, as in the file.
constexpr std::uint32_t FourCC(char a, char b, char c, char d) {
    return static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b) << 8 |
           static_cast<std::uint8_t>(c) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(d)) << 24;
}

struct RiffChunk {
    std::uint32_t id = 0;
    std::uint32_t size = 0;      // body length as the file states it
    std::uint32_t formType = 0;  // RIFF and LIST chunks only
    std::int64_t bodyOffset = 0; // where the body starts
    std::int64_t dataOffset = 0; // where its content starts (after a form type)
};

class RiffReader {
public:
    explicit RiffReader(base::Stream& stream) : stream_(stream) {}

    // From the current position, steps through top-level chunks to a RIFF
    // chunk of `formType` and enters it (the position is at its first sub-chunk).
    bool FindRiff(std::uint32_t formType, RiffChunk& out);
    // From the current position, steps through the chunks inside `parent` to
    // one with identifier `id` and enters it (the position is at its body).
    bool FindChunk(const RiffChunk& parent, std::uint32_t id, RiffChunk& out);
    // Moves past the end of `chunk`, its fill byte included.
    void Ascend(const RiffChunk& chunk);
    // Reads up to `count` bytes from the position; returns how many arrived.
    std::int64_t Read(void* buffer, std::int64_t count) { return stream_.Read(buffer, count); }
    // Bytes of the chunk's body that the file actually holds.
    std::int64_t BytesPresent(const RiffChunk& chunk) const;

private:
    bool ReadHeader(RiffChunk& out);
    static std::int64_t End(const RiffChunk& chunk) {
        return chunk.bodyOffset + chunk.size + (chunk.size & 1);
    }

    base::Stream& stream_;
};

} // namespace ddsd
