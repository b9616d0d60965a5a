#include "play/watch_status.h"

#include "rules/frame_length.h"

#include <cstdio>

namespace play {

std::string ClockText(std::int64_t frames) {
    const std::int64_t seconds = frames < 0 ? 0 : frames * game::kFrameMs / 1000;
    char text[32];
    if (seconds >= 3600)
        std::snprintf(
            text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
            static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    return text;
}

std::string WatchStatusText(const ReplayPlayback& playback) {
    std::string state;
    if (playback.AtEnd())
        state = "終わり";
    else if (playback.Paused())
        state = "一時停止";
    else
        state = playback.Speed() == 1 ? "再生" : "再生 ×" + std::to_string(playback.Speed());
    return state + "  " + ClockText(playback.Position()) + " / " + ClockText(playback.Length());
}

} // namespace play
