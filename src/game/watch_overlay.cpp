#include "game/watch_overlay.h"

#include "game/status_line.h"
#include "play/watch_status.h"

namespace game {

namespace {

constexpr std::int32_t kWidth = 300;

} // namespace

void WatchOverlay::Show(bool shown) {
    if (shown_ && !shown)
        canvas_.DrawWholeFrames();
    shown_ = shown;
}

void WatchOverlay::Draw(const play::ReplayPlayback& playback) {
    if (!shown_)
        return;
    DrawStatusLine(canvas_, kWidth, play::WatchStatusText(playback) + "  (H)");
}

} // namespace game
