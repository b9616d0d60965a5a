#include "play/replay_playback.h"

#include "play/frame_sink_parts.h"
#include "replay/replay_check.h"

#include <algorithm>
#include <utility>

namespace play {

ReplayPlayback::ReplayPlayback(replay::Replay replay)
    : replay_(std::move(replay)), input_(replay_), world_(replay::StartWorld(replay_)),
      before_(world_) {
    Keep();
}

void ReplayPlayback::Keep() {
    if (position_ % kKeepEvery == 0 &&
        position_ / kKeepEvery == static_cast<std::int64_t>(kept_.size()))
        kept_.push_back(world_);
}

void ReplayPlayback::StepOne(game::FrameSink& sink) {
    before_ = world_;
    input_.Seek(position_);
    world_.Step(input_.Read(world_), sink);
    ++position_;
    Keep();
}

void ReplayPlayback::Advance(game::FrameSink& shown) {
    if (stepAsked_ && !AtEnd()) {
        stepAsked_ = false;
        StepOne(shown);
        return;
    }
    if (paused_ || AtEnd()) {
        if (position_ == 0)
            return; // nothing shown yet to draw again
        // Drawn from a copy: the world itself stays where it is.
        game::World again = before_;
        PicturesOnly pictures(shown);
        again.Step(replay_.Inputs[static_cast<std::size_t>(position_ - 1)], pictures);
        return;
    }
    SoundsOnly sounds(shown);
    for (int n = 1; n <= speed_ && !AtEnd(); ++n)
        StepOne(n == speed_ || position_ + 1 == Length() ? shown : sounds);
}

void ReplayPlayback::TogglePause() {
    paused_ = !paused_;
    stepAsked_ = false;
}

void ReplayPlayback::StepFrame() {
    if (paused_)
        stepAsked_ = true;
}

void ReplayPlayback::SetSpeed(int framesPerShown) {
    if (framesPerShown == 1 || framesPerShown == 2 || framesPerShown == 4 || framesPerShown == 8)
        speed_ = framesPerShown;
}

void ReplayPlayback::Faster() {
    SetSpeed(std::min(speed_ * 2, kFastest));
}

void ReplayPlayback::Slower() {
    SetSpeed(std::max(speed_ / 2, 1));
}

void ReplayPlayback::SeekTo(std::int64_t frame) {
    frame = std::clamp<std::int64_t>(frame, 0, Length());
    stepAsked_ = false;
    if (frame == position_)
        return;
    // From the nearest kept world before the frame, unless the world is
    // already between it and the frame: the last frame is always stepped, so
    // that the world before it is known for drawing it again.
    const std::int64_t keptIndex =
        frame == 0 ? 0
                   : std::min<std::int64_t>((frame - 1) / kKeepEvery,
                                            static_cast<std::int64_t>(kept_.size()) - 1);
    const std::int64_t keptAt = keptIndex * kKeepEvery;
    if (frame < position_ || position_ < keptAt) {
        world_ = kept_[static_cast<std::size_t>(keptIndex)];
        before_ = world_;
        position_ = keptAt;
    }
    game::FrameSink quiet;
    while (position_ < frame)
        StepOne(quiet);
}

} // namespace play
