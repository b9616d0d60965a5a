#pragma once
// A recorded run as an input source: it gives the inputs its world was given,
// frame after frame, from wherever watching has got to.

#include "play/input_source.h"
#include "replay/replay.h"

#include <cstdint>

namespace play {

class ReplayInput : public InputSource {
public:
    explicit ReplayInput(const replay::Replay& replay) : replay_(replay) {}

    // The recorded input of the next frame; no keys or pads once the
    // recording is over.
    game::FrameInput Read(const game::World& world) override;

    // The frame (counted from 0) the next Read gives the input of.
    void Seek(std::int64_t frame) { next_ = frame; }
    std::int64_t Next() const { return next_; }

private:
    const replay::Replay& replay_;
    std::int64_t next_ = 0;
};

} // namespace play
