#pragma once
// Reads what OpenAL's wave-file writer recorded and finds where it sounds:
// levels per 10 ms window on each side, and the stretches above a threshold.

#include "base/stream.h"
#include "sound/riff_reader.h"
#include "support/temp_dir.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace testsound {

struct Recording {
    int rate = 0;
    int channels = 0;
    int bits = 0;
    std::vector<std::int16_t> samples; // interleaved

    static Recording Load(const std::string& path) {
        std::string bytes = testsupport::ReadFileBytes(path);
        base::MemoryStream stream(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        ddsd::RiffReader riff(stream);
        ddsd::RiffChunk wave, format, data;
        Recording out;
        if (!riff.FindRiff(ddsd::FourCC('W', 'A', 'V', 'E'), wave) ||
            !riff.FindChunk(wave, ddsd::FourCC('f', 'm', 't', ' '), format))
            return out;
        std::uint8_t record[16] = {};
        riff.Read(record, 16);
        out.channels = record[2] | record[3] << 8;
        out.rate = static_cast<int>(record[4] | record[5] << 8 | record[6] << 16);
        out.bits = record[14] | record[15] << 8;
        riff.Ascend(format);
        if (!riff.FindChunk(wave, ddsd::FourCC('d', 'a', 't', 'a'), data))
            return out;
        std::vector<std::uint8_t> pcm(static_cast<std::size_t>(riff.BytesPresent(data)));
        riff.Read(pcm.data(), static_cast<std::int64_t>(pcm.size()));
        out.samples.resize(pcm.size() / 2);
        std::memcpy(out.samples.data(), pcm.data(), out.samples.size() * 2);
        return out;
    }

    std::size_t Frames() const { return channels ? samples.size() / channels : 0; }
    double Seconds() const { return rate ? static_cast<double>(Frames()) / rate : 0; }

    // Root-mean-square level of one channel over frames [from, to).
    double Rms(int channel, std::size_t from, std::size_t to) const {
        double sum = 0;
        to = std::min(to, Frames());
        if (from >= to)
            return 0;
        for (std::size_t f = from; f < to; ++f) {
            double v = samples[f * channels + channel];
            sum += v * v;
        }
        return std::sqrt(sum / static_cast<double>(to - from));
    }

    // Level of the louder side per 10 ms window.
    std::vector<double> Windows() const {
        std::vector<double> levels;
        const std::size_t step = static_cast<std::size_t>(rate / 100);
        if (step == 0)
            return levels; // nothing was recorded
        for (std::size_t f = 0; f + step <= Frames(); f += step) {
            double level = 0;
            for (int c = 0; c < channels; ++c)
                level = std::max(level, Rms(c, f, f + step));
            levels.push_back(level);
        }
        return levels;
    }

    // Stretches that sound, as [start, end) in milliseconds.
    struct Run {
        int startMs;
        int endMs;
        int Length() const { return endMs - startMs; }
    };
    std::vector<Run> SoundingRuns(double threshold = 500) const {
        std::vector<Run> runs;
        std::vector<double> levels = Windows();
        for (std::size_t i = 0; i < levels.size(); ++i) {
            if (levels[i] <= threshold)
                continue;
            if (!runs.empty() && runs.back().endMs == static_cast<int>(i) * 10)
                runs.back().endMs += 10;
            else
                runs.push_back({static_cast<int>(i) * 10, static_cast<int>(i) * 10 + 10});
        }
        return runs;
    }

    // Sign changes per second of one channel over a stretch: twice the pitch.
    double ZeroCrossingsPerSecond(int channel, const Run& run) const {
        std::size_t from = static_cast<std::size_t>(run.startMs) * rate / 1000;
        std::size_t to = std::min(Frames(), static_cast<std::size_t>(run.endMs) * rate / 1000);
        int crossings = 0;
        for (std::size_t f = from + 1; f < to; ++f)
            if ((samples[(f - 1) * channels + channel] < 0) !=
                (samples[f * channels + channel] < 0))
                ++crossings;
        return to > from ? crossings * static_cast<double>(rate) / static_cast<double>(to - from)
                         : 0;
    }
};

} // namespace testsound
