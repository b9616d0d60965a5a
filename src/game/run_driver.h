#pragma once
// What a game run drives its frames with: one kind for each way a run is
// played (here, watching a replay, online). Each moves the world on and draws
// what its mode shows over the picture; after the last frame the run asks it
// what to keep and what to tell the player.

#include "play/frame_driver.h"
#include "replay/replay.h"

#include <optional>
#include <string>

namespace game {

class RunDriver : public play::FrameDriver {
public:
    // The run as played here, to keep as a replay; none when nothing was
    // played (a replay watched).
    virtual std::optional<replay::Replay> Recording() const { return std::nullopt; }
    // Why the run ended, for the player; empty when there is nothing to say.
    virtual std::string EndMessage() const { return {}; }
    // Kept beside the replay when two machines' worlds parted, else empty.
    virtual std::string DesyncReport() const { return {}; }
};

} // namespace game
