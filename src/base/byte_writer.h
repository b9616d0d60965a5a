#pragma once
// Appends little-endian integers and LEB128 counts to the bytes of a replay
// file or a packet being written.

#include <cstdint>
#include <span>
#include <vector>

namespace base {

class ByteWriter {
public:
    void U8(std::uint8_t v) { bytes_.push_back(v); }
    void U16(std::uint16_t v) { Little(v, 2); }
    void U32(std::uint32_t v) { Little(v, 4); }
    void U64(std::uint64_t v) { Little(v, 8); }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void I64(std::int64_t v) { U64(static_cast<std::uint64_t>(v)); }
    void Count(std::uint64_t v) { // LEB128: 7 bits a byte, low bits first
        while (v >= 0x80) {
            bytes_.push_back(static_cast<std::uint8_t>(v | 0x80));
            v >>= 7;
        }
        bytes_.push_back(static_cast<std::uint8_t>(v));
    }
    void Bytes(std::span<const std::uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }

    std::vector<std::uint8_t>& Result() { return bytes_; }

private:
    void Little(std::uint64_t v, int size) {
        for (int i = 0; i < size; ++i)
            bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }

    std::vector<std::uint8_t> bytes_;
};

} // namespace base
