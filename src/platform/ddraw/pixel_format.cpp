#include "platform/ddraw/pixel_format.h"

#include "platform/ddraw/ddraw_constants.h"
#include "platform/ddraw/device_context.h"

#include <bit>

namespace ddraw {

namespace {

DDPIXELFORMAT RgbFormat(DWORD bits, DWORD red, DWORD green, DWORD blue) {
    DDPIXELFORMAT format;
    format.dwSize = DDPIXELFORMAT::kSize;
    format.dwFlags = DDPF_RGB;
    format.dwRGBBitCount = bits;
    format.dwRBitMask = red;
    format.dwGBitMask = green;
    format.dwBBitMask = blue;
    return format;
}

DWORD ChannelToBits(BYTE value, DWORD mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const DWORD scaled = bits >= 8 ? DWORD{value} << (bits - 8) : DWORD{value} >> (8 - bits);
    return (scaled << shift) & mask;
}

BYTE BitsToChannel(DWORD pixel, DWORD mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const DWORD value = (pixel & mask) >> shift;
    if (bits >= 8) {
        return static_cast<BYTE>(value >> (bits - 8));
    }
    // Repeat the high bits into the low ones so that full scale stays 255.
    DWORD wide = value << (8 - bits);
    for (int filled = bits; filled < 8; filled += bits) {
        wide |= wide >> bits;
    }
    return static_cast<BYTE>(wide & 0xFF);
}

DWORD NearestPaletteIndex(COLORREF color, const PALETTEENTRY* palette) {
    DWORD best = 0;
    long bestDistance = -1;
    for (DWORD i = 0; i < 256; ++i) {
        const long dr = long{palette[i].peRed} - GetRValue(color);
        const long dg = long{palette[i].peGreen} - GetGValue(color);
        const long db = long{palette[i].peBlue} - GetBValue(color);
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

DDPIXELFORMAT DisplayPixelFormat(DWORD bitsPerPixel, HighColorLayout highColor) {
    switch (bitsPerPixel) {
    case 8: {
        DDPIXELFORMAT format = RgbFormat(8, 0, 0, 0);
        format.dwFlags |= DDPF_PALETTEINDEXED8;
        return format;
    }
    case 16:
        return highColor == HighColorLayout::Rgb555 ? RgbFormat(16, 0x7C00, 0x03E0, 0x001F)
                                                    : RgbFormat(16, 0xF800, 0x07E0, 0x001F);
    case 24:
        return RgbFormat(24, 0xFF0000, 0x00FF00, 0x0000FF);
    default:
        return RgbFormat(32, 0xFF0000, 0x00FF00, 0x0000FF);
    }
}

DDPIXELFORMAT ZBufferPixelFormat(DWORD depth) {
    DDPIXELFORMAT format;
    format.dwSize = DDPIXELFORMAT::kSize;
    format.dwFlags = DDPF_ZBUFFER;
    format.dwZBufferBitDepth = depth;
    format.dwRGBZBitMask = depth >= 32 ? 0xFFFFFFFFu : (1u << depth) - 1u;
    return format;
}

bool IsSupportedPixelFormat(const DDPIXELFORMAT& format) {
    const DWORD bits = format.dwRGBBitCount;
    if (format.dwFlags & DDPF_ZBUFFER) {
        return bits == 16 || bits == 24 || bits == 32;
    }
    if (format.dwFlags & (DDPF_FOURCC | DDPF_YUV | DDPF_PALETTEINDEXED1 | DDPF_PALETTEINDEXED2 |
                          DDPF_PALETTEINDEXED4 | DDPF_PALETTEINDEXEDTO8)) {
        return false;
    }
    if (format.dwFlags & DDPF_PALETTEINDEXED8) {
        return bits == 8;
    }
    return (format.dwFlags & DDPF_RGB) && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
}

DWORD ColorToPixel(COLORREF color, const DDPIXELFORMAT& format, const PALETTEENTRY* palette) {
    if (format.dwRGBBitCount == 8) {
        if (palette) {
            return NearestPaletteIndex(color, palette);
        }
        return (DWORD{GetRValue(color)} & 0xE0) | ((DWORD{GetGValue(color)} >> 3) & 0x1C) |
               (DWORD{GetBValue(color)} >> 6);
    }
    return ChannelToBits(GetRValue(color), format.dwRBitMask) |
           ChannelToBits(GetGValue(color), format.dwGBitMask) |
           ChannelToBits(GetBValue(color), format.dwBBitMask);
}

COLORREF PixelToColor(DWORD pixel, const DDPIXELFORMAT& format, const PALETTEENTRY* palette) {
    if (format.dwRGBBitCount == 8) {
        const DWORD index = pixel & 0xFF;
        if (palette) {
            return RGB(palette[index].peRed, palette[index].peGreen, palette[index].peBlue);
        }
        return RGB(BitsToChannel(index, 0xE0), BitsToChannel(index, 0x1C),
                   BitsToChannel(index, 0x03));
    }
    return RGB(BitsToChannel(pixel, format.dwRBitMask), BitsToChannel(pixel, format.dwGBitMask),
               BitsToChannel(pixel, format.dwBBitMask));
}

} // namespace ddraw
