#pragma once
// The sideways shifts of all background strips in a frame. The ripple
// travels one strip a frame (strip i of frame f shifts as strip i + 1 of
// frame f - 1), so the next frame's shifts reuse these and work out one
// new one: a sine a frame instead of one for every strip.

#include "game/scene_layout.h"

#include <array>
#include <cstdint>

namespace game {

class BackgroundShifts {
public:
    using Shifts = std::array<std::int32_t, kBackgroundStrips>;

    // BackgroundOffset(frameCounter, i) for every strip i.
    const Shifts& For(std::int32_t frameCounter);

private:
    bool known_ = false;
    std::int32_t frame_ = 0;
    Shifts shifts_{};
};

} // namespace game
