#pragma once
// A frame sink that hears only whether the ball was lost: for stepping the
// world ahead without drawing, as the computer partner's look-ahead and the
// headless rallies do.

#include "rules/frame_sink.h"

namespace game {

class LossWatch : public FrameSink {
public:
    bool lost = false;
    void PlaySound(SoundEffect effect) override {
        lost = lost || effect == SoundEffect::BallLost;
    }
};

} // namespace game
