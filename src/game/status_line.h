#pragma once
// The line at the bottom left of the game screen that watching a replay and
// online play show their state in: white text in an opaque black box, so it
// covers its own last text whatever the scene left there.

#include "game/back_buffer_canvas.h"

#include <cstdint>
#include <string>

namespace game {

void DrawStatusLine(BackBufferCanvas& canvas, std::int32_t width, const std::string& text);

} // namespace game
