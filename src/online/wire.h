#pragma once
// Little-endian writing and bounds-checked reading of packet bytes. A read
// past the end sets a failure flag and yields zero, so a decoder reads a
// whole record and then asks once whether it was all there.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace online {

class WireWriter {
public:
    void U8(std::uint8_t v) { bytes_.push_back(v); }
    void U16(std::uint16_t v) { Unsigned(v, 2); }
    void U32(std::uint32_t v) { Unsigned(v, 4); }
    void U64(std::uint64_t v) { Unsigned(v, 8); }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
    // A length byte and the text; the caller keeps it within 255 bytes.
    void Text(const std::string& text) {
        U8(static_cast<std::uint8_t>(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }
    void ZerosUpTo(std::size_t size) {
        if (bytes_.size() < size) {
            bytes_.resize(size, 0);
        }
    }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    void Unsigned(std::uint64_t v, int count) {
        for (int i = 0; i < count; ++i) {
            bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    std::vector<std::uint8_t> bytes_;
};

class WireReader {
public:
    explicit WireReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint8_t U8() { return static_cast<std::uint8_t>(Unsigned(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Unsigned(2)); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(Unsigned(4)); }
    std::uint64_t U64() { return Unsigned(8); }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::string Text(std::size_t maxSize) {
        const std::size_t size = U8();
        if (size > maxSize || size > Left()) {
            failed_ = true;
            return {};
        }
        std::string text(bytes_.begin() + static_cast<std::ptrdiff_t>(at_),
                         bytes_.begin() + static_cast<std::ptrdiff_t>(at_ + size));
        at_ += size;
        return text;
    }
    void Skip(std::size_t count) {
        if (count > Left()) {
            failed_ = true;
            at_ = bytes_.size();
            return;
        }
        at_ += count;
    }

    std::size_t Left() const { return bytes_.size() - at_; }
    bool Failed() const { return failed_; }
    // Everything was there and nothing is left over.
    bool Complete() const { return !failed_ && at_ == bytes_.size(); }

private:
    std::uint64_t Unsigned(std::size_t count) {
        if (count > Left()) {
            failed_ = true;
            at_ = bytes_.size();
            return 0;
        }
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < count; ++i) {
            v |= static_cast<std::uint64_t>(bytes_[at_ + i]) << (8 * i);
        }
        at_ += count;
        return v;
    }
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

} // namespace online
