// The sound component on the real OpenAL device, recorded by OpenAL's wave
// file writer: what a channel plays, when it stops, and how channels mix.

#include "sound/ddsd.h"

#include "platform/dsound/openal_direct_sound.h"
#include "recording.h"
#include "sound/ddsd_log.h"
#include "support/fake_form.h"
#include "support/temp_dir.h"
#include "wav_bytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

using namespace testsound;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

// OpenAL reads its configuration once, at its first device, so the writer is
// set up before any test runs: 44.1 kHz stereo 16-bit, no dither.
struct WaveWriter {
    testsupport::TempDir dir;
    std::string output = dir.File("mix.wav");
    WaveWriter() {
        std::string conf = dir.File("alsoft.conf");
        testsupport::WriteFileBytes(conf, "[general]\nchannels = stereo\nsample-type = int16\n"
                                          "frequency = 44100\ndither = false\n"
                                          "output-limiter = false\n[wave]\nfile = " +
                                              output + "\n");
        setenv("ALSOFT_DRIVERS", "wave", 1);
        setenv("ALSOFT_CONF", conf.c_str(), 1);
    }
};
WaveWriter& Writer() {
    static WaveWriter writer;
    return writer;
}

constexpr int kToneMs = 300;
constexpr double kToneAmplitude = 12000;

// 300 ms of 440 Hz, mono, 16-bit, 44.1 kHz.
std::string Tone() {
    std::vector<std::int16_t> samples;
    for (int i = 0; i < 44100 * kToneMs / 1000; ++i)
        samples.push_back(
            static_cast<std::int16_t>(kToneAmplitude * std::sin(2 * M_PI * 440 * i / 44100.0)));
    return SimpleWave(44100, Pcm16(samples));
}

class OpenALSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        Writer();
        dsound::InstallOpenALDirectSound();
        diagnostics::SetLogDirectoryForTesting(dir.Path().string());
        ddsd::Log().DebugLineCount = 0;
        testsupport::WriteFileBytes(dir.File("tone.wav"), Tone());
    }
    void TearDown() override {
        dsound::SetDirectSoundFactory(nullptr);
        diagnostics::SetLogDirectoryForTesting("");
    }

    // Opens the device (the recording starts), runs `script` with the time of
    // opening, closes it and returns what was recorded.
    template <class Script> Recording Record(Script script, bool use3D = false) {
        {
            testsupport::FakeForm form;
            auto* sound = new ddsd::TDDSD(&form);
            sound->Use3D = use3D;
            form.Load();
            EXPECT_TRUE(sound->Initialized());
            script(*sound, Clock::now());
        }
        EXPECT_FALSE(std::filesystem::exists(dir.File("ddsd.debug")));
        return Recording::Load(Writer().output);
    }
    static void At(Clock::time_point start, int ms) {
        std::this_thread::sleep_until(start + milliseconds(ms));
    }
    std::string TonePath() const { return dir.File("tone.wav"); }

    testsupport::TempDir dir;
};

// The game's way to sound an effect.
void PlayEffectSound(ddsd::TDDSDChannel& channel) {
    channel.Stop();
    channel.SetVolume(-10000);
    channel.Play();
    channel.SetVolume(0);
}

TEST_F(OpenALSoundTest, AnEffectSoundsWholeAtFullVolumeRightAfterPlay) {
    Clock::time_point played;
    Clock::time_point opened;
    Recording mix = Record([&](ddsd::TDDSD& sound, Clock::time_point start) {
        opened = start;
        ddsd::TDDSDWaveData wave(&sound, TonePath());
        sound.GetChannel(0)->setWaveData(&wave);
        At(start, 200);
        played = Clock::now();
        PlayEffectSound(*sound.GetChannel(0));
        At(start, 800);
    });
    ASSERT_EQ(mix.channels, 2);
    ASSERT_EQ(mix.bits, 16);
    auto runs = mix.SoundingRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NEAR(runs[0].Length(), kToneMs, 30);
    // Our 440 Hz tone, at its own level on both sides.
    Recording::Run middle{runs[0].startMs + 50, runs[0].endMs - 50};
    EXPECT_NEAR(mix.ZeroCrossingsPerSecond(0, middle), 880, 40);
    const std::size_t from = static_cast<std::size_t>(middle.startMs) * 441 / 10;
    const std::size_t to = static_cast<std::size_t>(middle.endMs) * 441 / 10;
    double expected = kToneAmplitude / std::sqrt(2.0);
    for (int side : {0, 1}) {
        double level = mix.Rms(side, from, to) / expected;
        EXPECT_NEAR(level, 1.0, 0.05) << "side " << side;
        std::printf("level of side %d: %.1f dB of the tone\n", side, 20 * std::log10(level));
    }
    // How long after Play the effect is in the mix (the device's latency
    // plus one 10 ms window of measuring).
    double delayMs =
        runs[0].startMs - std::chrono::duration<double, std::milli>(played - opened).count();
    std::printf("effect heard %.0f ms after Play\n", delayMs);
    RecordProperty("effect_delay_ms", static_cast<int>(delayMs));
}

TEST_F(OpenALSoundTest, StopAndFullAttenuationSilenceAChannel) {
    Recording mix = Record([&](ddsd::TDDSD& sound, Clock::time_point start) {
        ddsd::TDDSDWaveData wave(&sound, TonePath());
        ddsd::TDDSDChannel& quiet = *sound.GetChannel(0);
        ddsd::TDDSDChannel& stopped = *sound.GetChannel(1);
        quiet.setWaveData(&wave);
        stopped.setWaveData(&wave);
        At(start, 100);
        quiet.SetVolume(-10000);
        quiet.Play();
        At(start, 600);
        stopped.Play();
        At(start, 700);
        stopped.Stop();
        At(start, 1200);
    });
    auto runs = mix.SoundingRuns(30);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NEAR(runs[0].startMs, 600, 60);
    EXPECT_NEAR(runs[0].Length(), 100, 30);
}

TEST_F(OpenALSoundTest, PlayingASoundingChannelAgainRestartsItFromTheBeginning) {
    Recording mix = Record([&](ddsd::TDDSD& sound, Clock::time_point start) {
        ddsd::TDDSDWaveData wave(&sound, TonePath());
        ddsd::TDDSDChannel& channel = *sound.GetChannel(0);
        channel.setWaveData(&wave);
        At(start, 100);
        PlayEffectSound(channel);
        At(start, 250);
        PlayEffectSound(channel);
        At(start, 900);
        // Stopped half-way, then played again: from the beginning once more.
        PlayEffectSound(channel);
        At(start, 1000);
        channel.Stop();
        channel.Play();
        At(start, 1600);
    });
    auto runs = mix.SoundingRuns();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_NEAR(runs[0].Length(), 150 + kToneMs, 40);
    EXPECT_NEAR(runs[1].Length(), 100 + kToneMs, 40);
}

TEST_F(OpenALSoundTest, TwoChannelsOnOneWaveSoundIndependently) {
    Recording mix = Record([&](ddsd::TDDSD& sound, Clock::time_point start) {
        ddsd::TDDSDWaveData wave(&sound, TonePath());
        ddsd::TDDSDChannel& first = *sound.GetChannel(0);
        ddsd::TDDSDChannel& second = *sound.GetChannel(1);
        first.setWaveData(&wave);
        second.setWaveData(&wave);
        At(start, 100);
        first.Play();
        At(start, 250);
        second.Play();
        At(start, 300);
        first.Stop(); // the second goes on to its end
        At(start, 900);
    });
    auto runs = mix.SoundingRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NEAR(runs[0].Length(), 150 + kToneMs, 40);
}

TEST_F(OpenALSoundTest, A3DWaveIsPlacedWhereItsSettingsSay) {
    auto record = [&](float x) {
        return Record(
            [&](ddsd::TDDSD& sound, Clock::time_point start) {
                ASSERT_NE(sound.Listener(), nullptr);
                ddsd::TDDSDWave3D wave(&sound, TonePath());
                wave.Params3D().Params.vPosition = {x, 0, 1};
                sound.GetChannel(0)->setWaveData(&wave);
                At(start, 100);
                sound.GetChannel(0)->Play();
                At(start, 600);
            },
            true);
    };
    for (float x : {3.0f, -3.0f}) {
        Recording mix = record(x);
        auto runs = mix.SoundingRuns();
        ASSERT_EQ(runs.size(), 1u);
        const std::size_t from = static_cast<std::size_t>(runs[0].startMs) * 441 / 10;
        const std::size_t to = static_cast<std::size_t>(runs[0].endMs) * 441 / 10;
        double left = mix.Rms(0, from, to);
        double right = mix.Rms(1, from, to);
        if (x > 0)
            EXPECT_GT(right, 2 * left) << "to the right";
        else
            EXPECT_GT(left, 2 * right) << "to the left";
    }
}

} // namespace
