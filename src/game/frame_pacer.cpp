#include "game/frame_pacer.h"

namespace game {

std::uint32_t FramePacer::Elapsed(std::uint32_t now, std::uint32_t mark) {
    // The difference as a signed 32-bit value, so a wrap gives a small one.
    const std::int32_t difference = static_cast<std::int32_t>(now - mark);
    return difference < 0 ? 0u - static_cast<std::uint32_t>(difference)
                          : static_cast<std::uint32_t>(difference);
}

void FramePacer::WaitFrame() {
    std::uint32_t remaining = 0; // messages are handled at least once per frame
    for (;;) {
        waitForMessages_(remaining);
        const std::uint32_t elapsed = Elapsed(tick_(), mark_);
        if (elapsed > kFrameMs) {
            break;
        }
        // Sleeping instead of spinning keeps a running game almost idle.
        remaining = kFrameMs + 1 - elapsed;
    }
    mark_ = tick_();
}

} // namespace game
