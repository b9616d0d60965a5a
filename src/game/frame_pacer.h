#pragma once
// The game's frame pacing: a frame starts only when more than 25 ms have
// passed on the millisecond counter since the previous frame's mark, and
// window messages are handled while waiting.

#include "rules/frame_length.h"

#include <cstdint>
#include <functional>

namespace game {

class FramePacer {
public:
    // A frame waits until more than this has passed, and so lasts kFrameMs.
    static constexpr std::uint32_t kWaitMs = kFrameMs - 1;

    // tick: the millisecond counter (wraps at 2³²). waitForMessages: handles
    // the pending messages and may sleep up to the given number of
    // milliseconds, before them or until one arrives (SleepThenHandle below
    // is the game's).
    FramePacer(std::function<std::uint32_t()> tick,
               std::function<void(std::uint32_t maxWaitMs)> waitForMessages)
        : tick_(std::move(tick)), waitForMessages_(std::move(waitForMessages)) {}

    // extraMs: this frame is that much longer (an online run keeping level
    // with its partner).
    void WaitFrame(std::uint32_t extraMs = 0);

    // Kept for the program's lifetime: the first wait of a later run measures
    // from the last frame of the one before.
    std::uint32_t Mark() const { return mark_; }

    // Milliseconds between two counter readings, across a wrap of the counter.
    static std::uint32_t Elapsed(std::uint32_t now, std::uint32_t mark);

    // A waitForMessages that sleeps out the time given, then handles every
    // message that came meanwhile. The messages only set flags that the next
    // frame reads, so handling each as it arrives changes nothing for the
    // game but costs a wake-up of the event loop, dearer than the sleep.
    static std::function<void(std::uint32_t)> SleepThenHandle(std::function<void()> handleMessages);

private:
    std::function<std::uint32_t()> tick_;
    std::function<void(std::uint32_t)> waitForMessages_;
    std::uint32_t mark_ = 0;
};

} // namespace game
