// Watching a replay: wherever pause, single steps, speeds and jumps take it,
// the world is the one stepping there from the start gives; only the frame
// shown is drawn, and jumps neither draw nor sound.
#include "play/replay_playback.h"
#include "play/watch_keys.h"
#include "play/watch_status.h"
#include "replay/replay_check.h"
#include "support/scripted_player.h"

#include <gtest/gtest.h>

namespace {

// A real run of 2000 frames (52 s): rallies, passes, bursts and knocks.
const replay::Replay& Recording() {
    static const replay::Replay recording =
        testsupport::RecordScriptedRun({.Seed = 7, .Frames = 2000});
    return recording;
}

std::uint64_t ChecksumAfter(std::int64_t frames) {
    game::World world = replay::StartWorld(Recording());
    game::FrameSink quiet;
    for (std::int64_t n = 0; n < frames; ++n)
        world.Step(Recording().Inputs[static_cast<std::size_t>(n)], quiet);
    return world.Checksum();
}

struct CountingSink : game::FrameSink {
    int frames = 0;
    int sounds = 0;
    int backgrounds = 0;
    void PlaySound(game::SoundEffect) override { ++sounds; }
    void DrawBackground(const game::World&) override { ++backgrounds; }
    void EndFrame() override { ++frames; }
};

// Virtual keys.
constexpr std::uint16_t kSpace = 32, kLeft = 37, kRight = 39, kPeriod = 190, kPlus = 187,
                        kMinus = 189;

TEST(ReplayPlayback, PauseStepSpeedAndJumpsLandOnTheWorldSteppedThere) {
    play::ReplayPlayback playback(Recording());
    play::WatchKeys keys(playback);
    CountingSink sink;
    auto expectAt = [&](std::int64_t frame) {
        ASSERT_EQ(playback.Position(), frame);
        EXPECT_EQ(playback.GameWorld().Checksum(), ChecksumAfter(frame)) << "at frame " << frame;
    };

    for (int n = 0; n < 10; ++n)
        playback.Advance(sink);
    expectAt(10);
    EXPECT_EQ(sink.frames, 10);

    // Paused, the frame shown is drawn again and the world stays.
    EXPECT_TRUE(keys.KeyDown(kSpace));
    playback.Advance(sink);
    playback.Advance(sink);
    expectAt(10);
    EXPECT_EQ(sink.frames, 12);
    EXPECT_TRUE(keys.KeyDown(kPeriod));
    playback.Advance(sink);
    expectAt(11);
    EXPECT_TRUE(keys.KeyDown(kSpace));

    // ×4: four frames for each shown, one of them drawn.
    EXPECT_TRUE(keys.KeyDown('4'));
    sink = {};
    playback.Advance(sink);
    expectAt(15);
    EXPECT_EQ(sink.frames, 1);
    EXPECT_EQ(sink.backgrounds, 1);
    EXPECT_TRUE(keys.KeyDown(kPlus));
    EXPECT_EQ(playback.Speed(), 8);
    EXPECT_TRUE(keys.KeyDown(kPlus));
    EXPECT_EQ(playback.Speed(), 8);
    EXPECT_TRUE(keys.KeyDown(kMinus));
    EXPECT_TRUE(keys.KeyDown('1'));
    EXPECT_EQ(playback.Speed(), 1);

    // Jumps forward past the worlds kept so far, back onto and between kept
    // ones, and past either end: no drawing, no sound.
    sink = {};
    EXPECT_TRUE(keys.KeyDown(kRight));
    expectAt(15 + play::ReplayPlayback::kJumpFrames);
    EXPECT_TRUE(keys.KeyDown(kRight));
    expectAt(15 + 2 * play::ReplayPlayback::kJumpFrames);
    EXPECT_TRUE(keys.KeyDown(kLeft));
    expectAt(15 + play::ReplayPlayback::kJumpFrames);
    EXPECT_EQ(sink.frames + sink.sounds + sink.backgrounds, 0);
    playback.SeekTo(2 * play::ReplayPlayback::kKeepEvery);
    expectAt(2 * play::ReplayPlayback::kKeepEvery);
    playback.SeekTo(1000000);
    expectAt(2000);
    EXPECT_TRUE(playback.AtEnd());
    EXPECT_TRUE(keys.KeyDown(kLeft));
    expectAt(2000 - play::ReplayPlayback::kJumpFrames);
    playback.SeekTo(-5);
    expectAt(0);

    // At the end it stays, showing the last frame.
    playback.SeekTo(1999);
    playback.Advance(sink);
    playback.Advance(sink);
    expectAt(2000);
    EXPECT_EQ(sink.frames, 2);
    EXPECT_EQ(play::WatchStatusText(playback), "終わり  0:52 / 0:52");
}

TEST(ReplayPlayback, FramesGoneByFastStillSound) {
    // The sounds of the first 400 frames, played one by one and eight at a time.
    CountingSink single;
    play::ReplayPlayback one(Recording());
    for (int n = 0; n < 400; ++n)
        one.Advance(single);
    CountingSink fast;
    play::ReplayPlayback eight(Recording());
    eight.SetSpeed(8);
    for (int n = 0; n < 50; ++n)
        eight.Advance(fast);
    ASSERT_EQ(eight.Position(), 400);
    EXPECT_GT(single.sounds, 0);
    EXPECT_EQ(fast.sounds, single.sounds);
    EXPECT_EQ(fast.frames, 50);
}

TEST(WatchStatus, ClockAndLine) {
    EXPECT_EQ(play::ClockText(0), "0:00");
    EXPECT_EQ(play::ClockText(2308), "1:00"); // 60.008 s
    EXPECT_EQ(play::ClockText(138462), "1:00:00");
    play::ReplayPlayback playback(Recording());
    playback.SetSpeed(2);
    EXPECT_EQ(play::WatchStatusText(playback), "再生 ×2  0:00 / 0:52");
    playback.TogglePause();
    EXPECT_EQ(play::WatchStatusText(playback), "一時停止  0:00 / 0:52");
}

} // namespace
