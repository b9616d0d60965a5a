#include "platform/ddraw/software_device_context.h"

#include "platform/ddraw/pixel_format.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace ddraw {

DWORD ReadPixelValue(const PixelView& view, LONG x, LONG y) {
    const DWORD bytes = view.BitsPerPixel / 8;
    const BYTE* p = view.Row(y) + static_cast<std::ptrdiff_t>(x) * bytes;
    DWORD value = 0;
    for (DWORD i = 0; i < bytes; ++i) {
        value |= DWORD{p[i]} << (8 * i);
    }
    return value;
}

void WritePixelValue(const PixelView& view, LONG x, LONG y, DWORD value) {
    const DWORD bytes = view.BitsPerPixel / 8;
    BYTE* p = view.Row(y) + static_cast<std::ptrdiff_t>(x) * bytes;
    for (DWORD i = 0; i < bytes; ++i) {
        p[i] = static_cast<BYTE>(value >> (8 * i));
    }
}

SoftwareDeviceContext::SoftwareDeviceContext(const PixelView& target) : target_(target) {}

bool SoftwareDeviceContext::Inside(LONG x, LONG y) const {
    return x >= 0 && y >= 0 && x < target_.Width && y < target_.Height;
}

DWORD SoftwareDeviceContext::ReadRaw(LONG x, LONG y) const {
    return ReadPixelValue(target_, x, y);
}

void SoftwareDeviceContext::WriteRaw(LONG x, LONG y, DWORD value) {
    WritePixelValue(target_, x, y, value);
}

void SoftwareDeviceContext::Plot(LONG x, LONG y, DWORD value) {
    // A wide pen covers a square centred on the line.
    const LONG width = pen_.Width > 1 ? pen_.Width : 1;
    const LONG from = -(width - 1) / 2;
    for (LONG dy = from; dy < from + width; ++dy) {
        for (LONG dx = from; dx < from + width; ++dx) {
            if (Inside(x + dx, y + dy)) {
                WriteRaw(x + dx, y + dy, value);
            }
        }
    }
}

bool SoftwareDeviceContext::TextOut(LONG, LONG, std::string_view) {
    return false;
}

TextSize SoftwareDeviceContext::GetTextExtent(std::string_view) {
    return {};
}

void SoftwareDeviceContext::MoveTo(LONG x, LONG y) {
    penX_ = x;
    penY_ = y;
}

void SoftwareDeviceContext::LineTo(LONG x, LONG y) {
    if (pen_.Style != PenStyle::Null) {
        const DWORD value = ColorToPixel(pen_.Color, target_.Format, target_.Palette);
        // Bresenham from the current position, the end point left out.
        LONG cx = penX_;
        LONG cy = penY_;
        const LONG dx = std::abs(x - cx);
        const LONG dy = -std::abs(y - cy);
        const LONG sx = cx < x ? 1 : -1;
        const LONG sy = cy < y ? 1 : -1;
        LONG error = dx + dy;
        while (cx != x || cy != y) {
            Plot(cx, cy, value);
            const LONG twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                cx += sx;
            }
            if (twice <= dx) {
                error += dx;
                cy += sy;
            }
        }
    }
    penX_ = x;
    penY_ = y;
}

void SoftwareDeviceContext::FillRect(const RECT& rect) {
    if (brush_.Style == BrushStyle::Null) {
        return;
    }
    const DWORD value = ColorToPixel(brush_.Color, target_.Format, target_.Palette);
    const LONG left = std::max<LONG>(rect.Left, 0);
    const LONG top = std::max<LONG>(rect.Top, 0);
    const LONG right = std::min<LONG>(rect.Right, target_.Width);
    const LONG bottom = std::min<LONG>(rect.Bottom, target_.Height);
    for (LONG y = top; y < bottom; ++y) {
        for (LONG x = left; x < right; ++x) {
            WriteRaw(x, y, value);
        }
    }
}

bool SoftwareDeviceContext::StretchBlt(LONG x, LONG y, LONG width, LONG height,
                                       DeviceContext& source, LONG srcX, LONG srcY, LONG srcWidth,
                                       LONG srcHeight) {
    if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) {
        return false;
    }
    const PixelView& src = source.Target();
    const bool sameFormat = src.BitsPerPixel == target_.BitsPerPixel &&
                            src.Format.dwRBitMask == target_.Format.dwRBitMask &&
                            src.Format.dwGBitMask == target_.Format.dwGBitMask &&
                            src.Format.dwBBitMask == target_.Format.dwBBitMask &&
                            (src.BitsPerPixel != 8 || src.Palette == target_.Palette);
    // A negative extent mirrors, as in GDI: walk the destination in its own
    // order and sample the source at the matching pixel centre.
    const LONG dx0 = std::min(x, x + width);
    const LONG dy0 = std::min(y, y + height);
    const LONG dw = std::abs(width);
    const LONG dh = std::abs(height);
    const bool flipX = (width < 0) != (srcWidth < 0);
    const bool flipY = (height < 0) != (srcHeight < 0);
    const LONG sx0 = std::min(srcX, srcX + srcWidth);
    const LONG sy0 = std::min(srcY, srcY + srcHeight);
    const LONG sw = std::abs(srcWidth);
    const LONG sh = std::abs(srcHeight);
    for (LONG j = 0; j < dh; ++j) {
        LONG sj = static_cast<LONG>((static_cast<long long>(j) * 2 + 1) * sh / (2LL * dh));
        if (flipY) {
            sj = sh - 1 - sj;
        }
        const LONG sy = sy0 + sj;
        const LONG ty = dy0 + j;
        if (sy < 0 || sy >= src.Height || ty < 0 || ty >= target_.Height) {
            continue;
        }
        for (LONG i = 0; i < dw; ++i) {
            LONG si = static_cast<LONG>((static_cast<long long>(i) * 2 + 1) * sw / (2LL * dw));
            if (flipX) {
                si = sw - 1 - si;
            }
            const LONG sx = sx0 + si;
            const LONG tx = dx0 + i;
            if (sx < 0 || sx >= src.Width || tx < 0 || tx >= target_.Width) {
                continue;
            }
            const DWORD raw = ReadPixelValue(src, sx, sy);
            WriteRaw(tx, ty,
                     sameFormat ? raw
                                : ColorToPixel(PixelToColor(raw, src.Format, src.Palette),
                                               target_.Format, target_.Palette));
        }
    }
    return true;
}

COLORREF SoftwareDeviceContext::GetPixel(LONG x, LONG y) {
    if (!Inside(x, y)) {
        return CLR_INVALID;
    }
    return PixelToColor(ReadRaw(x, y), target_.Format, target_.Palette);
}

COLORREF SoftwareDeviceContext::SetPixel(LONG x, LONG y, COLORREF color) {
    if (!Inside(x, y)) {
        return CLR_INVALID;
    }
    const DWORD value = ColorToPixel(color, target_.Format, target_.Palette);
    WriteRaw(x, y, value);
    return PixelToColor(value, target_.Format, target_.Palette);
}

} // namespace ddraw
