#pragma once
// Who plays each pimuru in a run: a person, or the computer at a strength.
// The seats fill in the computer's pads in each frame's input after the
// devices are read and before the world steps, and give a person alone
// every key and pad for their own pimuru.

#include "partner/computer_partner.h"
#include "partner/strength.h"
#include "rules/world.h"

#include <array>
#include <cstdint>
#include <optional>

namespace partner {

struct SeatChoice {
    // Per pimuru: none for a person, else the computer's strength.
    std::array<std::optional<Strength>, game::kPimuruCount> Computer;
    bool operator==(const SeatChoice&) const = default;
};

class Seats {
public:
    // seed: the partners' own generator (each pimuru's partner draws apart).
    Seats(const SeatChoice& choice, std::uint32_t seed);

    // input: as the devices gave it. With one pimuru by the computer, the
    // person's keys and pads all go to the other; with both, a person's key
    // or pad of a pimuru takes that pimuru back for the rest of the run.
    void FillIn(const game::World& world, game::FrameInput& input);

    bool ComputerPlays(int index) const { return partners_.at(index).has_value(); }

private:
    std::array<std::optional<ComputerPartner>, game::kPimuruCount> partners_;
    bool onePerson_ = false; // chosen with exactly one pimuru by the computer
};

} // namespace partner
