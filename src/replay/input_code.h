#pragma once
// One frame's input as 16 bits, the unit the replay file's runs repeat: each
// stick axis as its sign (all the rules read of it), each button and key as
// a bit, and the harder-game box.

#include "rules/world_types.h"

#include <cstdint>
#include <optional>

namespace replay {

std::uint16_t PackInput(const game::FrameInput& input);
// Nothing when the bits cannot come from PackInput (an axis coded 3).
std::optional<game::FrameInput> UnpackInput(std::uint16_t bits);

// The input as the rules see it: every axis reduced to its sign.
game::FrameInput Normalized(const game::FrameInput& input);

} // namespace replay
