#pragma once
// Builds RIFF WAVE files byte by byte, including the malformed ones tests need.

#include <cstdint>
#include <string>
#include <vector>

namespace testsound {

inline std::string Le16(std::uint16_t v) {
    return {char(v & 0xFF), char(v >> 8)};
}
inline std::string Le32(std::uint32_t v) {
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

// A chunk with its fill byte when the body is odd.
inline std::string Chunk(const std::string& id, const std::string& body) {
    std::string chunk = id + Le32(static_cast<std::uint32_t>(body.size())) + body;
    if (body.size() % 2)
        chunk += '\0';
    return chunk;
}

inline std::string Riff(const std::string& form, const std::string& chunks) {
    return "RIFF" + Le32(static_cast<std::uint32_t>(4 + chunks.size())) + form + chunks;
}

// The format record: 16 bytes, or 18 with the extra-bytes field.
inline std::string FormatBody(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                              bool withExtraSize = false, std::uint16_t tag = 1) {
    std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    std::string body =
        Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * align) + Le16(align) + Le16(bits);
    if (withExtraSize)
        body += Le16(0);
    return body;
}

inline std::string Pcm16(const std::vector<std::int16_t>& samples) {
    std::string bytes;
    for (std::int16_t s : samples)
        bytes += Le16(static_cast<std::uint16_t>(s));
    return bytes;
}

inline std::string SimpleWave(std::uint32_t rate, const std::string& samples,
                              std::uint16_t channels = 1, std::uint16_t bits = 16) {
    return Riff("WAVE", Chunk("fmt ", FormatBody(channels, rate, bits)) + Chunk("data", samples));
}

} // namespace testsound
