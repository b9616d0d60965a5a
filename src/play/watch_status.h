#pragma once
// How watching a replay tells where it is: a recording's time as a clock,
// and the line shown over the picture while watching.

#include "play/replay_playback.h"

#include <cstdint>
#include <string>

namespace play {

// "m:ss" of a number of frames at the game's pace (hours as "h:mm:ss").
std::string ClockText(std::int64_t frames);

// "再生 ×2  1:23 / 5:00", "一時停止  …", "終わり  …".
std::string WatchStatusText(const ReplayPlayback& playback);

} // namespace play
