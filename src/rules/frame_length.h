#pragma once
// How long one frame of the world lasts. A frame starts once more than 25 ms
// have passed on the millisecond counter since the one before, so at the
// counter's 1 ms steps a frame is 26 ms long: the game's clock, the replay's
// time and the online session's pace all count in these frames.

#include <cstdint>

namespace game {

inline constexpr std::int32_t kFrameMs = 26;

} // namespace game
