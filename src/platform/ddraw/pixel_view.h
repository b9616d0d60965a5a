#pragma once
// A view of a surface's pixel memory, handed to the platform back ends
// (device contexts and the presenter); it does not own the pixels.

#include "platform/ddraw/ddraw_records.h"

namespace ddraw {

struct PixelView {
    BYTE* Pixels = nullptr;
    LONG Width = 0;
    LONG Height = 0;
    LONG Pitch = 0;         // bytes from one row to the next
    DWORD BitsPerPixel = 0; // 8, 16, 24 or 32; pixels little-endian
    DDPIXELFORMAT Format;   // channel masks for 16, 24 and 32 bits
    // The 256 entries of the surface's palette for 8 bits, or null when the
    // surface has none.
    const PALETTEENTRY* Palette = nullptr;

    BYTE* Row(LONG y) const { return Pixels + static_cast<std::ptrdiff_t>(y) * Pitch; }
};

} // namespace ddraw
