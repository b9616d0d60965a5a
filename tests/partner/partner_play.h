#pragma once
// Plays a world frame by frame with a computer partner on one pimuru and a
// fixed input on the other, counting strikes and lost balls.

#include "partner/computer_partner.h"
#include "rules/world.h"

#include <functional>

namespace partnertest {

class StrikeCount : public game::FrameSink {
public:
    int strikes = 0;
    int losses = 0;
    void PlaySound(game::SoundEffect effect) override {
        strikes += effect == game::SoundEffect::Strike;
        losses += effect == game::SoundEffect::BallLost;
    }
};

// Steps until `stop` holds after a frame or `frames` have gone by; `each`
// sees the world after every frame. Returns the frames stepped.
inline int PlayWith(game::World& world, partner::ComputerPartner& partner, int frames,
                    const std::function<bool(const game::World&, const StrikeCount&)>& stop,
                    game::PadInput other = {}) {
    StrikeCount sink;
    for (int frame = 1; frame <= frames; ++frame) {
        game::FrameInput input;
        input.Pads[1 - partner.Index()] = other;
        input.Pads[partner.Index()] = partner.Next(world);
        world.Step(input, sink);
        if (stop(world, sink))
            return frame;
    }
    return frames;
}

inline void Place(game::World& world, int index, std::int32_t x, std::int32_t y) {
    game::Pimuru& p = world.PimuruForTesting(index);
    p.X = p.PreviousX = x;
    p.Y = p.PreviousY = y;
}

} // namespace partnertest
