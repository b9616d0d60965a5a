#include "game/status_line.h"

#include "game/scene_layout.h"

#include <span>

namespace game {

void DrawStatusLine(BackBufferCanvas& canvas, std::int32_t width, const std::string& text) {
    constexpr std::int32_t kPoints = 16;
    constexpr std::int32_t kHeight = 24;
    const base::Rect box = base::MakeRect(0, kScreenHeight - kHeight, width, kScreenHeight);
    canvas.FillScreenRect(box.Left, box.Top, box.Right, box.Bottom, 0);
    canvas.DrawScreenText(6, box.Top + 3, text, kPoints, Rgb(255, 255, 255), std::span(&box, 1));
}

} // namespace game
