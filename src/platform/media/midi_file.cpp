#include "platform/media/midi_file.h"

#include <cstdint>

namespace media {
namespace {

std::uint32_t BigEndian(const std::string& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

} // namespace

bool IsStandardMidiFile(const std::string& bytes) {
    if (bytes.size() < 14 || bytes.compare(0, 4, "MThd") != 0)
        return false;
    const std::uint64_t headerLength = BigEndian(bytes, 4, 4);
    const std::uint32_t format = BigEndian(bytes, 8, 2);
    const std::uint32_t tracks = BigEndian(bytes, 10, 2);
    const std::uint32_t division = BigEndian(bytes, 12, 2);
    if (headerLength < 6 || format > 2 || tracks == 0 || division == 0)
        return false;
    // Chunks follow the header; an unknown one is stepped over.
    std::uint64_t at = 8 + headerLength;
    while (at + 8 <= bytes.size()) {
        const std::uint64_t length = BigEndian(bytes, at + 4, 4);
        if (at + 8 + length > bytes.size())
            return false;
        if (bytes.compare(at, 4, "MTrk") == 0)
            return true;
        at += 8 + length;
    }
    return false;
}

} // namespace media
