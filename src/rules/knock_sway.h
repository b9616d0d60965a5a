#pragma once
// The knocked pimuru's sideways sway in a frame: what
// static_cast<int32_t>(std::sin(2.0 * n) * 15.0) gives with the C library this
// game was made with, computed in integers so that it is the same on every
// processor, C library and compiler.

#include <cstdint>

namespace game {

std::int32_t KnockSway(std::int32_t frameCounter);

} // namespace game
