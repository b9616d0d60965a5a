#pragma once
// Writes RIFF WAVE files: PCM, 16 bits, one channel.

#include <cstdint>
#include <string>
#include <vector>

namespace datamaker {

std::string EncodeWave(const std::vector<std::int16_t>& samples, int sampleRate);

} // namespace datamaker
