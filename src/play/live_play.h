#pragma once
// A run played as it happens: each shown frame the world steps once with the
// input its source gives, and the recorder keeps exactly that input, so the
// finished run can be kept as a replay however it ends.

#include "play/frame_driver.h"
#include "play/input_source.h"
#include "replay/recorder.h"

#include <cstdint>
#include <string>

namespace play {

class LivePlay : public FrameDriver {
public:
    // Starts the run on `world` (which keeps the high score and the
    // generator from the runs before) and starts recording it.
    LivePlay(game::World& world, bool coupleMode, bool hard, InputSource& source,
             std::string programVersion, std::int64_t startedAt);

    const game::World& GameWorld() const override { return world_; }
    void Advance(game::FrameSink& shown) override;

    // The run so far as a replay.
    replay::Replay Finish() const { return recorder_.Finish(world_); }

private:
    game::World& world_;
    InputSource& source_;
    replay::Recorder recorder_;
};

} // namespace play
