#include "game/frame_pacer.h"

#include <chrono>
#include <thread>

namespace game {

std::uint32_t FramePacer::Elapsed(std::uint32_t now, std::uint32_t mark) {
    // The difference as a signed 32-bit value, so a wrap gives a small one.
    const std::int32_t difference = static_cast<std::int32_t>(now - mark);
    return difference < 0 ? 0u - static_cast<std::uint32_t>(difference)
                          : static_cast<std::uint32_t>(difference);
}

std::function<void(std::uint32_t)> FramePacer::SleepThenHandle(std::function<void()> handleMessages) {
    return [handle = std::move(handleMessages)](std::uint32_t maxWaitMs) {
        if (maxWaitMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(maxWaitMs));
        handle();
    };
}

void FramePacer::WaitFrame(std::uint32_t extraMs) {
    const std::uint32_t frameMs = kWaitMs + extraMs;
    // Messages are handled at least once per frame, in the same pass that
    // sleeps for what is left of the frame; an early message only shortens
    // one sleep.
    std::uint32_t elapsed = Elapsed(tick_(), mark_);
    for (;;) {
        waitForMessages_(elapsed > frameMs ? 0 : frameMs + 1 - elapsed);
        elapsed = Elapsed(tick_(), mark_);
        if (elapsed > frameMs) {
            break;
        }
    }
    mark_ = tick_();
}

} // namespace game
