#pragma once
// Reads little-endian integers and LEB128 counts from a replay file or a packet.
// Every read checks the bytes are there; once one fails the reader stays
// failed and gives zeros, so a parser can read a whole record and test once.

#include <cstddef>
#include <cstdint>
#include <span>

namespace base {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint8_t U8() { return static_cast<std::uint8_t>(Little(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Little(2)); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(Little(4)); }
    std::uint64_t U64() { return Little(8); }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    std::int64_t I64() { return static_cast<std::int64_t>(U64()); }
    // A LEB128 count of at most 32 bits, in its shortest form.
    std::uint32_t Count() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            const std::uint8_t b = U8();
            value |= std::uint64_t{b & 0x7Fu} << shift;
            if ((b & 0x80) == 0) {
                if (b == 0 && shift > 0)
                    failed_ = true; // a count has one way to be written
                break;
            }
            if (shift == 28)
                failed_ = true; // longer than any 32-bit count
        }
        if (value > 0xFFFFFFFFu)
            failed_ = true;
        return failed_ ? 0 : static_cast<std::uint32_t>(value);
    }
    std::span<const std::uint8_t> Bytes(std::size_t count) {
        if (failed_ || count > Left()) {
            failed_ = true;
            return {};
        }
        const auto part = bytes_.subspan(position_, count);
        position_ += count;
        return part;
    }

    bool Failed() const { return failed_; }
    std::size_t Left() const { return bytes_.size() - position_; }
    bool AtEnd() const { return position_ == bytes_.size(); }

private:
    std::uint64_t Little(int size) {
        if (failed_ || static_cast<std::size_t>(size) > Left()) {
            failed_ = true;
            return 0;
        }
        std::uint64_t v = 0;
        for (int i = 0; i < size; ++i)
            v |= std::uint64_t{bytes_[position_ + i]} << (8 * i);
        position_ += size;
        return v;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

} // namespace base
