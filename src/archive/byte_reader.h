#pragma once
// Little-endian reads from a stream where bytes past the end read as zero,
// as the archive format asks of a file that ends early.

#include "base/stream.h"

#include <cstdint>

namespace archive {

class ByteReader {
public:
    explicit ByteReader(base::Stream& stream) : stream_(stream) {}

    // Returns false (and sets `byte` to 0) when the stream has ended.
    bool Next(std::uint8_t& byte) {
        byte = 0;
        return stream_.Read(&byte, 1) == 1;
    }
    std::uint8_t Byte() {
        std::uint8_t b;
        Next(b);
        return b;
    }
    std::uint32_t U32() {
        std::uint8_t b[4] = {};
        stream_.Read(b, 4);
        return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }

private:
    base::Stream& stream_;
};

inline std::int32_t ReadLE32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}

} // namespace archive
