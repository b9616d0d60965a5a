#include "play/replay_input.h"

namespace play {

game::FrameInput ReplayInput::Read(const game::World&) {
    if (next_ < 0 || next_ >= replay_.FrameCount())
        return {};
    return replay_.Inputs[static_cast<std::size_t>(next_++)];
}

} // namespace play
