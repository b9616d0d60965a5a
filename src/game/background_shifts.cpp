#include "game/background_shifts.h"

#include <algorithm>

namespace game {

const BackgroundShifts::Shifts& BackgroundShifts::For(std::int32_t frameCounter) {
    if (known_ && frameCounter == frame_) {
        return shifts_;
    }
    if (known_ &&
        static_cast<std::int64_t>(frameCounter) == static_cast<std::int64_t>(frame_) + 1) {
        std::copy(shifts_.begin() + 1, shifts_.end(), shifts_.begin());
        shifts_.back() = BackgroundOffset(frameCounter, kBackgroundStrips - 1);
    } else {
        for (int i = 0; i < kBackgroundStrips; ++i) {
            shifts_[static_cast<std::size_t>(i)] = BackgroundOffset(frameCounter, i);
        }
    }
    known_ = true;
    frame_ = frameCounter;
    return shifts_;
}

} // namespace game
