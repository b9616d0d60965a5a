#pragma once
// One player's input for one frame as online partners exchange it: the
// stick's two signs and the swing button in one byte. The host steers
// pimuru 1 and the guest pimuru 2; FrameInputOf puts the two together into
// what the world is given.

#include "rules/world_types.h"

#include <cstdint>
#include <optional>

namespace online {

struct PlayerInput {
    std::int8_t Dx = 0; // −1, 0 or +1
    std::int8_t Dy = 0;
    bool Fire = false;

    bool operator==(const PlayerInput&) const = default;

    // bits 0–1: Dx, bits 2–3: Dy (0 → 0, 1 → +1, 2 → −1), bit 4: Fire.
    std::uint8_t Encode() const;
    // nullopt for a byte no encoder makes.
    static std::optional<PlayerInput> Decode(std::uint8_t byte);

    // A device's input, its axes reduced to their signs.
    static PlayerInput From(const game::PadInput& pad);
    // Every local device steers this side's one pimuru: the pads (the first
    // one's keys already beside it) and the second key set.
    static PlayerInput FromDevices(const game::FrameInput& devices);
};

// host: pimuru 1, guest: pimuru 2; hard: the host's harder-game box.
game::FrameInput FrameInputOf(const PlayerInput& host, const PlayerInput& guest, bool hard);

} // namespace online
