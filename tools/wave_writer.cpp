#include "wave_writer.h"

#include "byte_writer.h"

namespace datamaker {

std::string EncodeWave(const std::vector<std::int16_t>& samples, int sampleRate) {
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    std::string out;
    out.reserve(44 + dataSize);
    out += "RIFF";
    PutLE32(out, 36 + dataSize);
    out += "WAVE";
    out += "fmt ";
    PutLE32(out, 16);
    PutLE16(out, 1); // PCM
    PutLE16(out, 1); // mono
    PutLE32(out, rate);
    PutLE32(out, rate * 2);
    PutLE16(out, 2);
    PutLE16(out, 16);
    out += "data";
    PutLE32(out, dataSize);
    for (std::int16_t s : samples)
        PutLE16(out, static_cast<std::uint16_t>(s));
    return out;
}

} // namespace datamaker
