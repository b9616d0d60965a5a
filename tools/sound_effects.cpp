#include "sound_effects.h"

#include "exact_math.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace datamaker {
namespace {

constexpr double kRate = kSampleRate;

using Buffer = std::vector<double>;

Buffer Silence(double seconds) {
    return Buffer(static_cast<std::size_t>(seconds * kRate), 0.0);
}

// A tone whose pitch glides from f0 to f1 (exponentially when both are
// positive) with its own decay; harmonics add overtones of given strength.
struct Tone {
    double start = 0, length = 0.1;
    double f0 = 440, f1 = 440;
    double attack = 0.004;
    double decay = 0.1; // time for the level to fall to about a third
    double level = 0.5;
    double vibratoRate = 0, vibratoDepth = 0; // depth as a fraction of pitch
    double harmonic2 = 0, harmonic3 = 0;
};

void AddTone(Buffer& out, const Tone& t) {
    const auto first = static_cast<std::size_t>(t.start * kRate);
    const auto count = static_cast<std::size_t>(t.length * kRate);
    const double decayPerSample = 1.0 - 1.0 / (t.decay * kRate);
    double phase = 0, vibratoPhase = 0, envelope = 1;
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double progress = static_cast<double>(i) / count;
        // Quick at first and settling towards the end, like a natural glide.
        const double rest = 1.0 - progress;
        double frequency = t.f1 + (t.f0 - t.f1) * rest * rest;
        if (t.vibratoRate > 0) {
            frequency *= 1.0 + t.vibratoDepth * Sine(vibratoPhase);
            vibratoPhase += 2 * kPi * t.vibratoRate / kRate;
        }
        phase += 2 * kPi * frequency / kRate;
        if (phase > 2 * kPi)
            phase -= 2 * kPi;
        const double attack = std::min(1.0, static_cast<double>(i) / (t.attack * kRate));
        const double value =
            Sine(phase) + t.harmonic2 * Sine(2 * phase) + t.harmonic3 * Sine(3 * phase);
        out[first + i] += t.level * attack * envelope * value;
        envelope *= decayPerSample;
    }
}

// Noise through a one-pole low-pass filter whose cutoff glides.
struct Noise {
    double start = 0, length = 0.05;
    double smoothing0 = 0.5, smoothing1 = 0.5; // 1 = unfiltered, small = dull
    double decay = 0.03, level = 0.3;
    std::uint32_t seed = 1;
};

void AddNoise(Buffer& out, const Noise& n) {
    Random random(n.seed);
    const auto first = static_cast<std::size_t>(n.start * kRate);
    const auto count = static_cast<std::size_t>(n.length * kRate);
    const double decayPerSample = 1.0 - 1.0 / (n.decay * kRate);
    double filtered = 0, envelope = 1;
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double progress = static_cast<double>(i) / count;
        const double a = n.smoothing0 + (n.smoothing1 - n.smoothing0) * progress;
        filtered += a * (random.Signed() - filtered);
        const double attack = std::min(1.0, static_cast<double>(i) / (0.002 * kRate));
        out[first + i] += n.level * attack * envelope * filtered;
        envelope *= decayPerSample;
    }
}

// Short fades at both ends so playback never clicks, then scaling so the
// loudest sample reaches the given peak, and rounding to 16 bits.
std::vector<std::int16_t> Finish(Buffer buffer, double peak) {
    const std::size_t fadeIn = 110;  // 5 ms
    const std::size_t fadeOut = 441; // 20 ms
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        double gain = 1;
        if (i < fadeIn)
            gain = static_cast<double>(i) / fadeIn;
        const std::size_t fromEnd = buffer.size() - 1 - i;
        if (fromEnd < fadeOut)
            gain = std::min(gain, static_cast<double>(fromEnd) / fadeOut);
        buffer[i] *= gain;
    }
    double loudest = 0;
    for (double v : buffer)
        loudest = std::max(loudest, std::fabs(v));
    const double scale = loudest > 0 ? peak * 32767.0 / loudest : 0;
    std::vector<std::int16_t> samples(buffer.size());
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const double v = std::floor(buffer[i] * scale + 0.5);
        samples[i] = static_cast<std::int16_t>(std::clamp(v, -32767.0, 32767.0));
    }
    return samples;
}

std::vector<std::int16_t> Burst() {
    Buffer b = Silence(0.42);
    AddTone(b, {.start = 0, .length = 0.14, .f0 = 950, .f1 = 180, .attack = 0.002, .decay = 0.06, .level = 0.8,
                .harmonic2 = 0.3});
    AddNoise(b, {.start = 0, .length = 0.12, .smoothing0 = 0.9, .smoothing1 = 0.2, .decay = 0.035, .level = 0.7,
                 .seed = 11});
    AddTone(b, {.start = 0.07, .length = 0.12, .f0 = 2093, .f1 = 2093, .decay = 0.05, .level = 0.22});
    AddTone(b, {.start = 0.13, .length = 0.14, .f0 = 2637, .f1 = 2637, .decay = 0.05, .level = 0.2});
    AddTone(b, {.start = 0.19, .length = 0.2, .f0 = 3136, .f1 = 3136, .decay = 0.06, .level = 0.16});
    return Finish(b, 0.78);
}

std::vector<std::int16_t> Strike() {
    Buffer b = Silence(0.2);
    AddTone(b, {.start = 0, .length = 0.18, .f0 = 1050, .f1 = 1500, .attack = 0.001, .decay = 0.045, .level = 0.7,
                .harmonic2 = 0.35, .harmonic3 = 0.12});
    AddTone(b, {.start = 0, .length = 0.1, .f0 = 520, .f1 = 600, .attack = 0.001, .decay = 0.03, .level = 0.5});
    AddNoise(b, {.start = 0, .length = 0.012, .smoothing0 = 0.7, .smoothing1 = 0.4, .decay = 0.004, .level = 0.6,
                 .seed = 22});
    return Finish(b, 0.8);
}

std::vector<std::int16_t> BallLost() {
    Buffer b = Silence(1.05);
    AddTone(b, {.start = 0, .length = 0.82, .f0 = 880, .f1 = 130, .attack = 0.01, .decay = 2.0, .level = 0.55,
                .vibratoRate = 7, .vibratoDepth = 0.03, .harmonic2 = 0.0, .harmonic3 = 0.3});
    AddTone(b, {.start = 0.8, .length = 0.25, .f0 = 110, .f1 = 82, .attack = 0.005, .decay = 0.09, .level = 0.7,
                .harmonic2 = 0.3});
    AddNoise(b, {.start = 0.8, .length = 0.15, .smoothing0 = 0.12, .smoothing1 = 0.05, .decay = 0.05, .level = 0.6,
                 .seed = 33});
    return Finish(b, 0.75);
}

std::vector<std::int16_t> Landing() {
    Buffer b = Silence(0.3);
    AddTone(b, {.start = 0, .length = 0.3, .f0 = 200, .f1 = 340, .attack = 0.003, .decay = 0.09, .level = 0.8,
                .vibratoRate = 22, .vibratoDepth = 0.06, .harmonic2 = 0.25});
    return Finish(b, 0.72);
}

std::vector<std::int16_t> Bump() {
    Buffer b = Silence(0.22);
    AddTone(b, {.start = 0, .length = 0.2, .f0 = 150, .f1 = 62, .attack = 0.002, .decay = 0.06, .level = 0.9,
                .harmonic2 = 0.2});
    AddNoise(b, {.start = 0, .length = 0.08, .smoothing0 = 0.25, .smoothing1 = 0.06, .decay = 0.025, .level = 0.8,
                 .seed = 44});
    return Finish(b, 0.8);
}

std::vector<std::int16_t> Knock() {
    Buffer b = Silence(0.6);
    // A clang of uneven partials, then a dizzy warble.
    AddTone(b, {.start = 0, .length = 0.25, .f0 = 520, .f1 = 470, .attack = 0.001, .decay = 0.07, .level = 0.6});
    AddTone(b, {.start = 0, .length = 0.2, .f0 = 1290, .f1 = 1200, .attack = 0.001, .decay = 0.05, .level = 0.35});
    AddTone(b, {.start = 0, .length = 0.15, .f0 = 2110, .f1 = 2000, .attack = 0.001, .decay = 0.03, .level = 0.2});
    AddNoise(b, {.start = 0, .length = 0.03, .smoothing0 = 0.8, .smoothing1 = 0.5, .decay = 0.01, .level = 0.5,
                 .seed = 55});
    AddTone(b, {.start = 0.1, .length = 0.5, .f0 = 700, .f1 = 500, .attack = 0.03, .decay = 0.25, .level = 0.35,
                .vibratoRate = 11, .vibratoDepth = 0.18});
    return Finish(b, 0.78);
}

std::vector<std::int16_t> PassBonus() {
    Buffer b = Silence(0.7);
    const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0};
    for (int i = 0; i < 4; ++i) {
        const double start = i * 0.07;
        AddTone(b, {.start = start, .length = 0.7 - start, .f0 = notes[i], .f1 = notes[i], .attack = 0.002,
                    .decay = i == 3 ? 0.18 : 0.1, .level = 0.4, .harmonic2 = 0.25, .harmonic3 = 0.05});
    }
    return Finish(b, 0.75);
}

} // namespace

std::vector<std::int16_t> MakeSoundEffect(int number) {
    switch (number) {
    case 1:
        return Burst();
    case 2:
        return Strike();
    case 3:
        return BallLost();
    case 4:
        return Landing();
    case 5:
        return Bump();
    case 6:
        return Knock();
    case 7:
        return PassBonus();
    default:
        throw std::out_of_range("no such sound effect");
    }
}

} // namespace datamaker
