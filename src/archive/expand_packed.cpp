#include "archive/QDArc.h"
#include "archive/byte_reader.h"

#include <algorithm>
#include <array>

namespace archive {
namespace {

constexpr int kStackSize = 33;

// Reads one block's pair table. Left[x] == x marks x as a literal.
void ReadPairTable(ByteReader& in, std::array<std::uint8_t, 256>& left, std::array<std::uint8_t, 256>& right) {
    for (int x = 0; x < 256; ++x)
        left[x] = static_cast<std::uint8_t>(x);
    int count = in.Byte();
    int code = 0;
    for (;;) {
        if (count > 127) {
            code += count - 127;
            count = 0;
        }
        if (code == 256)
            return;
        if (code > 256)
            throw ERangeError("Range check error: pair table skips past its last code");
        for (int i = 0; i <= count; ++i) {
            if (code >= 256)
                throw ERangeError("Range check error: pair table runs past its last code");
            left[code] = in.Byte();
            if (left[code] != code)
                right[code] = in.Byte();
            ++code;
        }
        if (code == 256)
            return;
        count = in.Byte();
    }
}

} // namespace

std::unique_ptr<base::MemoryStream> ExpandPacked(base::MemoryStream& packed, std::int32_t size,
                                                 const Limits& limits) {
    std::vector<std::uint8_t> out;
    std::array<std::uint8_t, 256> left{};
    std::array<std::uint8_t, 256> right{};
    ByteReader in(packed);
    // Well-formed data unpack to `size` bytes; a pair table that expands
    // without end is stopped soon after that, and always at a fixed bound.
    const std::int64_t limit =
        std::min<std::int64_t>(limits.maxUnpackedSize, std::max(size, 0) + limits.maxZeroPadding);

    while (packed.Position() < packed.Size()) {
        ReadPairTable(in, left, right);
        std::uint32_t length = in.U32();
        std::uint8_t stack[kStackSize];
        int depth = 0;
        for (;;) {
            std::uint8_t b;
            if (depth > 0) {
                b = stack[--depth];
            } else if (length == 0) {
                break;
            } else {
                --length;
                // Packed bytes the file does not hold end the block: they
                // would only repeat zeros the file never justified.
                if (!in.Next(b))
                    break;
            }
            if (left[b] == b) {
                if (static_cast<std::int64_t>(out.size()) >= limit)
                    throw EQDAError("QDA: unpacked data too large");
                out.push_back(b);
            } else {
                if (depth + 2 > kStackSize)
                    throw ERangeError("Range check error: packed data nest too deeply");
                stack[depth++] = right[b];
                stack[depth++] = left[b];
            }
        }
    }

    // The result is `size` bytes long from the start (more if unpacking made
    // more); missing bytes are zero, up to a bound.
    std::int64_t produced = static_cast<std::int64_t>(out.size());
    std::int64_t wanted = std::clamp<std::int64_t>(size, 0, produced + limits.maxZeroPadding);
    if (wanted > produced)
        out.resize(static_cast<std::size_t>(wanted), 0);
    return std::make_unique<base::MemoryStream>(std::move(out));
}

} // namespace archive
