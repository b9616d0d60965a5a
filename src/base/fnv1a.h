#pragma once
// FNV-1a, the 64-bit hash the world's checksum and the replay file's seal are
// built on: cheap, and any one changed byte always changes the result.

#include <cstdint>
#include <span>

namespace base {

class Fnv1a {
public:
    void AddByte(std::uint8_t byte) { hash_ = (hash_ ^ byte) * 0x100000001B3ull; }
    void AddBytes(std::span<const std::uint8_t> bytes) {
        for (std::uint8_t b : bytes)
            AddByte(b);
    }
    std::uint64_t Value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

} // namespace base
