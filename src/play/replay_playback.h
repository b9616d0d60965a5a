#pragma once
// Watching a replay: where it has got to, paused or running at one, two,
// four or eight frames for each frame shown, one frame on while paused, and
// jumps back and forth. Copies of the world kept every few seconds make a
// jump cost a few hundred steps at most; frames stepped for a jump draw
// nothing and play no sound.

#include "play/frame_driver.h"
#include "play/replay_input.h"
#include "replay/replay.h"
#include "rules/frame_length.h"

#include <cstdint>
#include <vector>

namespace play {

class ReplayPlayback : public FrameDriver {
public:
    static constexpr std::int64_t kKeepEvery = 128; // frames between kept worlds, about 3 s
    // 10 s, rounded up to whole frames.
    static constexpr std::int64_t kJumpFrames = (10'000 + game::kFrameMs - 1) / game::kFrameMs;
    static constexpr int kFastest = 8;

    explicit ReplayPlayback(replay::Replay replay);
    ReplayPlayback(const ReplayPlayback&) = delete;
    ReplayPlayback& operator=(const ReplayPlayback&) = delete;

    const replay::Replay& Recorded() const { return replay_; }
    const game::World& GameWorld() const override { return world_; }
    // Running: steps Speed() frames (fewer at the end), the last of them
    // drawn, the sounds of all played. Paused or at the end: the frame
    // shown last is drawn again, without its sounds.
    void Advance(game::FrameSink& shown) override;

    std::int64_t Position() const { return position_; } // frames stepped
    std::int64_t Length() const { return replay_.FrameCount(); }
    bool AtEnd() const { return position_ >= Length(); }

    bool Paused() const { return paused_; }
    void TogglePause();
    // While paused: the next Advance steps one frame and shows it.
    void StepFrame();

    int Speed() const { return speed_; }
    // 1, 2, 4 or 8 frames a shown frame; anything else is ignored.
    void SetSpeed(int framesPerShown);
    void Faster();
    void Slower();

    // Moves to the world after `frame` frames, clamped to the recording.
    void SeekTo(std::int64_t frame);
    void JumpBy(std::int64_t frames) { SeekTo(position_ + frames); }

private:
    // One frame on, through `sink`; keeps the world before it and, every
    // kKeepEvery frames, a copy of the world.
    void StepOne(game::FrameSink& sink);
    void Keep();

    replay::Replay replay_;
    ReplayInput input_;
    game::World world_;
    game::World before_;            // the world before the last frame stepped
    std::vector<game::World> kept_; // kept_[k]: the world after k × kKeepEvery frames
    std::int64_t position_ = 0;
    bool paused_ = false;
    bool stepAsked_ = false;
    int speed_ = 1;
};

} // namespace play
