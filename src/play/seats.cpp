#include "play/seats.h"

#include "rules/steer_by_keys.h"

namespace partner {

namespace {

bool Neutral(const game::PadInput& pad) {
    return pad.Dx == 0 && pad.Dy == 0 && !pad.Fire;
}

// Two devices held by one person: either one steers, either one swings.
game::PadInput Either(const game::PadInput& a, const game::PadInput& b) {
    return {a.Dx != 0 ? a.Dx : b.Dx, a.Dy != 0 ? a.Dy : b.Dy, a.Fire || b.Fire};
}

} // namespace

Seats::Seats(const SeatChoice& choice, std::uint32_t seed) {
    int computers = 0;
    for (int i = 0; i < game::kPimuruCount; ++i) {
        if (choice.Computer[i]) {
            // Apart by a large odd step, so the two draw different sequences.
            partners_[i].emplace(i, *choice.Computer[i], seed + 0x9E3779B9u * (i + 1));
            ++computers;
        }
    }
    onePerson_ = computers == 1;
}

void Seats::FillIn(const game::World& world, game::FrameInput& input) {
    // Pimuru 1's devices are all in Pads[0]; pimuru 2's are Pads[1] and the keys.
    const game::PadInput person[2] = {input.Pads[0], game::SteerByKeys(input.Pads[1], input.Keys)};
    if (!onePerson_) {
        for (int i = 0; i < game::kPimuruCount; ++i) {
            if (partners_[i] && !Neutral(person[i]))
                partners_[i].reset();
        }
    }
    if (onePerson_ && partners_[1]) {
        input.Pads[0] = Either(person[0], person[1]);
    } else if (onePerson_) {
        // The keys stay in Keys: the world lets them steer pimuru 2 even
        // while it is knocked, as it always has.
        input.Pads[1] = Either(person[0], input.Pads[1]);
    }
    for (auto& partner : partners_) {
        if (!partner)
            continue;
        input.Pads[partner->Index()] = partner->Next(world);
        if (partner->Index() == 1)
            input.Keys = game::KeyFlags{};
    }
}

} // namespace partner
