#pragma once
// Appends little- and big-endian integers to a byte string; the file
// writers of the generator share it.

#include <cstdint>
#include <string>

namespace datamaker {

inline void PutLE16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

inline void PutLE32(std::string& out, std::uint32_t v) {
    PutLE16(out, v & 0xFFFF);
    PutLE16(out, v >> 16);
}

inline void PutBE16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
    out.push_back(static_cast<char>(v & 0xFF));
}

inline void PutBE32(std::string& out, std::uint32_t v) {
    PutBE16(out, v >> 16);
    PutBE16(out, v & 0xFFFF);
}

} // namespace datamaker
