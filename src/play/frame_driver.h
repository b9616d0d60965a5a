#pragma once
// What moves a run's world on at each frame the game shows: a live run steps
// once with the input of its source; a replay being watched may step several
// frames, none, or jump. The game run only paces, shows and ends.

#include "game/frame_sink.h"
#include "game/world.h"

namespace play {

class FrameDriver {
public:
    virtual ~FrameDriver() = default;

    virtual const game::World& GameWorld() const = 0;
    // Moves the world on for the frame about to be shown; that frame draws
    // and sounds through `shown`.
    virtual void Advance(game::FrameSink& shown) = 0;
};

} // namespace play
