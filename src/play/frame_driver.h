#pragma once
// What moves a run's world on at each frame the game shows: a live run steps
// once with the input of its source; a replay being watched may step several
// frames, none, or jump. The game run only paces, shows and ends.

#include "rules/frame_sink.h"
#include "rules/world.h"

#include <cstdint>

namespace play {

class FrameDriver {
public:
    virtual ~FrameDriver() = default;

    virtual const game::World& GameWorld() const = 0;
    // Moves the world on for the frame about to be shown; that frame draws
    // and sounds through `shown`.
    virtual void Advance(game::FrameSink& shown) = 0;
    // Whether another frame follows; quitAsked: the player asked to end. An
    // online run goes on a moment after Esc to end at the same frame as its
    // partner.
    virtual bool Continue(bool quitAsked) { return !quitAsked; }
    // How much longer the next frame is than the game's pace.
    virtual std::uint32_t ExtraFrameMs() { return 0; }
};

} // namespace play
