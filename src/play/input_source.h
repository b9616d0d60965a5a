#pragma once
// Where a run's input comes from, one frame at a time: the local devices, a
// replay being watched. A source may wrap another and change part of what it
// gives, as a computer partner that takes over one pimuru's pad would.

#include "rules/world.h"
#include "rules/world_types.h"

namespace play {

class InputSource {
public:
    virtual ~InputSource() = default;

    // The input of the next frame of `world`, which stands as that frame
    // will find it.
    virtual game::FrameInput Read(const game::World& world) = 0;
};

} // namespace play
