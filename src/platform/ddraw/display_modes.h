#pragma once
// The display modes the emulated full screen offers on a screen: the usual
// sizes up to the screen's own, and the screen's size itself, each at 8, 16,
// 24 and 32 bits per pixel, smallest first.

#include "platform/ddraw/ddraw_types.h"

#include <vector>

namespace ddraw {

struct DisplayModeEntry {
    LONG Width;
    LONG Height;
    DWORD BitsPerPixel;
    friend bool operator==(const DisplayModeEntry&, const DisplayModeEntry&) = default;
};

std::vector<DisplayModeEntry> DisplayModesFor(LONG screenWidth, LONG screenHeight);

} // namespace ddraw
