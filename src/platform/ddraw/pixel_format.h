#pragma once
// Pixel formats of the software surfaces and the conversion between a
// colour reference and a raw pixel value of a format.

#include "platform/ddraw/ddraw_records.h"
#include "platform/ddraw/software_settings.h"

namespace ddraw {

// The format of a display of that depth: 8 bits palettized, 16 bits 5-6-5
// or 5-5-5, 24 and 32 bits 8-8-8.
DDPIXELFORMAT DisplayPixelFormat(DWORD bitsPerPixel, HighColorLayout highColor);
DDPIXELFORMAT ZBufferPixelFormat(DWORD depth);

// Whether a format given by a caller can be made (RGB of 8, 16, 24, 32 bits,
// or a Z buffer of 16, 24, 32 bits).
bool IsSupportedPixelFormat(const DDPIXELFORMAT& format);
inline DWORD BytesPerPixel(const DDPIXELFORMAT& format) {
    return format.dwRGBBitCount / 8;
}

// Raw pixel value of a colour: the channels cut to the masks; for 8 bits
// the nearest palette entry, or a 3-3-2 index without a palette.
DWORD ColorToPixel(COLORREF color, const DDPIXELFORMAT& format, const PALETTEENTRY* palette);
// The colour a raw pixel value stands for (channels widened by repeating
// their high bits).
COLORREF PixelToColor(DWORD pixel, const DDPIXELFORMAT& format, const PALETTEENTRY* palette);

// The low bits of value that a pixel of that depth holds.
inline DWORD MaskToDepth(DWORD value, DWORD bitsPerPixel) {
    return bitsPerPixel >= 32 ? value : value & ((1u << bitsPerPixel) - 1u);
}

} // namespace ddraw
