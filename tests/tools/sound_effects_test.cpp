// The committed sound effects as the game's wave loader and mixer meet
// them: the format it expects, silence at both ends so a restarted effect
// never clicks, and no clipping.

#include "committed_data.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstdint>
#include <vector>

namespace toolstest {
namespace {

std::uint32_t LE32(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
           static_cast<std::uint8_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

std::uint16_t LE16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8);
}

struct Wave {
    int format = 0, channels = 0, bits = 0;
    std::uint32_t rate = 0;
    std::vector<std::int16_t> samples;
};

Wave Parse(const std::string& b) {
    Wave w;
    if (b.size() < 12 || b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WAVE" || LE32(b, 4) != b.size() - 8)
        return w;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id = b.substr(at, 4);
        const std::uint32_t size = LE32(b, at + 4);
        if (at + 8 + size > b.size())
            return Wave{};
        if (id == "fmt ") {
            w.format = LE16(b, at + 8);
            w.channels = LE16(b, at + 10);
            w.rate = LE32(b, at + 12);
            w.bits = LE16(b, at + 22);
        } else if (id == "data") {
            for (std::uint32_t i = 0; i + 1 < size; i += 2)
                w.samples.push_back(static_cast<std::int16_t>(LE16(b, at + 8 + i)));
        }
        at += 8 + size + (size & 1);
    }
    return w;
}

double Seconds(const Wave& w) {
    return static_cast<double>(w.samples.size()) / w.rate;
}

int Peak(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
    int peak = 0;
    for (std::size_t i = from; i < to && i < s.size(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(s[i])));
    return peak;
}

TEST(SoundEffects, AreShortSixteenBitMonoAt22050Hz) {
    for (int n = 1; n <= 7; ++n) {
        const std::string name = "se" + std::to_string(n) + ".wav";
        const Wave w = Parse(CommittedFile(name));
        EXPECT_EQ(w.format, 1) << name;
        EXPECT_EQ(w.channels, 1) << name;
        EXPECT_EQ(w.bits, 16) << name;
        EXPECT_EQ(w.rate, 22050u) << name;
        EXPECT_GT(Seconds(w), 0.1) << name;
        EXPECT_LT(Seconds(w), 1.2) << name;
    }
}

TEST(SoundEffects, StartAndEndInSilenceWithoutClipping) {
    for (int n = 1; n <= 7; ++n) {
        const std::string name = "se" + std::to_string(n) + ".wav";
        const Wave w = Parse(CommittedFile(name));
        ASSERT_GT(w.samples.size(), 1000u) << name;
        EXPECT_EQ(w.samples.front(), 0) << name;
        EXPECT_EQ(w.samples.back(), 0) << name;
        // The first and last half millisecond stay quiet: fades, not cuts.
        EXPECT_LT(Peak(w.samples, 0, 11), 3277) << name;
        EXPECT_LT(Peak(w.samples, w.samples.size() - 11, w.samples.size()), 3277) << name;
        const int peak = Peak(w.samples, 0, w.samples.size());
        EXPECT_LT(peak, 32000) << name << " clips";
        EXPECT_GT(peak, 16000) << name << " is too quiet";
    }
}

TEST(SoundEffects, TheLostBallSoundFallsInPitch) {
    // Counted by zero crossings over its first and its middle tenth of a second.
    const Wave w = Parse(CommittedFile("se3.wav"));
    auto crossings = [&](std::size_t from) {
        int n = 0;
        for (std::size_t i = from + 1; i < from + 2205 && i < w.samples.size(); ++i)
            n += (w.samples[i - 1] < 0) != (w.samples[i] < 0) ? 1 : 0;
        return n;
    };
    EXPECT_GT(crossings(0), 2 * crossings(w.samples.size() / 2));
}

} // namespace
} // namespace toolstest
