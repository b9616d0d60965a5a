#pragma once
// A run's input with the computer in its seats: what the local devices give,
// with the computer's pimuru filled in before the world and the recorder
// see it.

#include "play/input_source.h"
#include "play/seats.h"

#include <cstdint>

namespace partner {

class SeatedInput : public play::InputSource {
public:
    // seed: the partners' own generator.
    SeatedInput(play::InputSource& devices, const SeatChoice& choice, std::uint32_t seed)
        : devices_(devices), seats_(choice, seed) {}

    game::FrameInput Read(const game::World& world) override {
        game::FrameInput input = devices_.Read(world);
        seats_.FillIn(world, input);
        return input;
    }

private:
    play::InputSource& devices_;
    Seats seats_;
};

} // namespace partner
