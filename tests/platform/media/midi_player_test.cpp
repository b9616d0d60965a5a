// The MIDI player on FluidSynth, rendering to a wave file: the tune sounds,
// stops, plays once and starts over after a rewind; failures are errors.

#include "platform/media/fluidsynth_midi_player.h"

#include "sound/recording.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <malloc.h>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using media::EMediaError;
using media::FluidSynthMidiPlayer;

std::string Be32(std::uint32_t v) {
    return {char(v >> 24), char((v >> 16) & 0xFF), char((v >> 8) & 0xFF), char(v & 0xFF)};
}

// A format-0 file at 120 beats a minute, 96 ticks a beat: a piano C for a
// quarter of a second, half a second of rest, a G for a quarter of a second.
std::string Tune() {
    std::string track = std::string("\x00\xC0\x00", 3);
    track += std::string("\x00\x90\x3C\x64", 4) + std::string("\x30\x80\x3C\x00", 4);
    track += std::string("\x60\x90\x43\x64", 4) + std::string("\x30\x80\x43\x00", 4);
    track += std::string("\x00\xFF\x2F\x00", 4);
    return "MThd" + Be32(6) + std::string("\x00\x00\x00\x01\x00\x60", 6) + "MTrk" +
           Be32(static_cast<std::uint32_t>(track.size())) + track;
}

void Wait(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Bytes of heap the program holds now.
std::int64_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<std::int64_t>(mallinfo2().uordblks);
#endif
}

class MidiPlayerTest : public ::testing::Test {
protected:
    void SetUp() override { testsupport::WriteFileBytes(dir.File("TIME.MID"), Tune()); }
    FluidSynthMidiPlayer::Options ToFile() const {
        FluidSynthMidiPlayer::Options options;
        options.audioDriver = "file";
        options.outputFile = dir.File("music.wav");
        return options;
    }
    testsupport::TempDir dir;
};

TEST_F(MidiPlayerTest, TheTunePlaysOnceAndARewindStartsItOver) {
    {
        FluidSynthMidiPlayer player(ToFile());
        player.Open(dir.File("TIME.MID"));
        EXPECT_TRUE(player.IsOpen());
        EXPECT_FALSE(player.IsPlaying());
        player.Rewind();
        player.Play();
        EXPECT_TRUE(player.IsPlaying());
        Wait(1500);
        EXPECT_FALSE(player.IsPlaying());
        player.Rewind();
        player.Play();
        Wait(400);
        player.Stop();
        EXPECT_FALSE(player.IsPlaying());
        Wait(500);
        player.Close();
        EXPECT_FALSE(player.IsOpen());
    }
    testsound::Recording music = testsound::Recording::Load(dir.File("music.wav"));
    ASSERT_EQ(music.bits, 16);
    ASSERT_GT(music.Seconds(), 2.3);
    // C, G, nothing more until the rewind, then C again (the stop comes before G).
    auto runs = music.SoundingRuns(100);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_NEAR(runs[0].startMs, 0, 60);
    EXPECT_NEAR(runs[1].startMs, 750, 60);
    EXPECT_NEAR(runs[2].startMs, 1500, 150);
    const auto quarter = static_cast<std::size_t>(music.rate) / 4;
    double level = music.Rms(0, 0, quarter);
    std::printf("music level %.0f (%.1f dBFS) over the first note\n", level,
                20 * std::log10(level / 32768));
    EXPECT_GT(level, 500);
}

TEST_F(MidiPlayerTest, StopKeepsThePositionAndRewindGoesBackToTheStart) {
    {
        FluidSynthMidiPlayer player(ToFile());
        player.Open(dir.File("TIME.MID"));
        player.Play();
        Wait(400); // in the rest
        player.Stop();
        Wait(500);
        player.Play(); // 0.35 s of rest are left before the G
        Wait(1100);
        // As at the end of a rally: stop, rewind, play.
        player.Stop();
        player.Rewind();
        player.Play();
        Wait(400);
    }
    auto runs = testsound::Recording::Load(dir.File("music.wav")).SoundingRuns(100);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_NEAR(runs[1].startMs, 1250, 100);
    EXPECT_NEAR(runs[2].startMs, 2000, 100);
}

// Every game run opens the music and closes it again; none may keep memory
// (FluidSynth's instrument library once kept about 3 kB a time).
TEST_F(MidiPlayerTest, OpeningAndClosingAgainKeepsNoMemory) {
    FluidSynthMidiPlayer player(ToFile());
    player.Open(dir.File("TIME.MID")); // what the first use sets up for good
    player.Close();
    const std::int64_t before = HeapInUse();
    for (int i = 0; i < 20; ++i) {
        player.Open(dir.File("TIME.MID"));
        player.Close();
    }
    EXPECT_LT(HeapInUse() - before, 10 * 1024);
}

TEST_F(MidiPlayerTest, EveryFailureIsAnErrorAndLeavesThePlayerClosed) {
    testsupport::WriteFileBytes(dir.File("garbage.mid"), "MThd but then nothing sensible");
    testsupport::WriteFileBytes(dir.File("text.mid"), "hello");
    testsupport::WriteFileBytes(dir.File("cut.mid"), Tune().substr(0, Tune().size() - 3));
    FluidSynthMidiPlayer::Options noFont = ToFile();
    noFont.soundFonts = {dir.File("none.sf2")};
    FluidSynthMidiPlayer::Options noOutput = ToFile();
    noOutput.audioDriver = "no-such-driver";

    FluidSynthMidiPlayer player(ToFile());
    EXPECT_THROW(player.Play(), EMediaError);
    EXPECT_THROW(player.Rewind(), EMediaError);
    EXPECT_THROW(player.Stop(), EMediaError);
    EXPECT_NO_THROW(player.Close());
    EXPECT_THROW(player.Open(dir.File("missing.mid")), EMediaError);
    EXPECT_THROW(player.Open(dir.File("garbage.mid")), EMediaError);
    EXPECT_THROW(player.Open(dir.File("text.mid")), EMediaError);
    EXPECT_THROW(player.Open(dir.File("cut.mid")), EMediaError);
    EXPECT_THROW(player.Open(dir.Path().string()), EMediaError);
    EXPECT_FALSE(player.IsOpen());
    // "Not found" only for a file that is not there.
    const auto reason = [&](const std::string& file) {
        try {
            player.Open(file);
        } catch (const EMediaError& error) {
            return std::string(error.what());
        }
        return std::string();
    };
    EXPECT_EQ(reason(dir.File("missing.mid")), dir.File("missing.mid") + " not found");
    EXPECT_EQ(reason(dir.Path().string()), dir.Path().string() + " is not a file");
    FluidSynthMidiPlayer fontless(noFont);
    EXPECT_THROW(fontless.Open(dir.File("TIME.MID")), EMediaError);
    FluidSynthMidiPlayer silent(noOutput);
    EXPECT_THROW(silent.Open(dir.File("TIME.MID")), EMediaError);
    EXPECT_FALSE(silent.IsOpen());
    // A good file after the failures opens fine.
    player.Open(dir.File("TIME.MID"));
    EXPECT_TRUE(player.IsOpen());
}

} // namespace
