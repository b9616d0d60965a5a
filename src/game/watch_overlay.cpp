#include "game/watch_overlay.h"

#include "game/scene_layout.h"
#include "play/watch_status.h"

namespace game {

namespace {

constexpr std::int32_t kPoints = 16;
constexpr std::int32_t kHeight = 24;
constexpr std::int32_t kWidth = 300;
constexpr std::uint32_t kWhite = Rgb(255, 255, 255);

} // namespace

void WatchOverlay::Show(bool shown) {
    if (shown_ && !shown)
        canvas_.DrawWholeFrames();
    shown_ = shown;
}

void WatchOverlay::Draw(const play::ReplayPlayback& playback) {
    if (!shown_)
        return;
    // Opaque, so that it covers its own last text whatever the scene left.
    const base::Rect box = base::MakeRect(0, kScreenHeight - kHeight, kWidth, kScreenHeight);
    canvas_.FillScreenRect(box.Left, box.Top, box.Right, box.Bottom, 0);
    const std::string text = play::WatchStatusText(playback) + "  (H)";
    canvas_.DrawScreenText(6, box.Top + 3, text, kPoints, kWhite, std::span(&box, 1));
}

} // namespace game
