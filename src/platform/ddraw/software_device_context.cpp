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

bool SoftwareDeviceContext::InsideClip(LONG x, LONG y) const {
    return !clipped_ || (x >= clip_.Left && y >= clip_.Top && x < clip_.Right && y < clip_.Bottom);
}

void SoftwareDeviceContext::SetClipRect(const RECT* clip) {
    clipped_ = clip != nullptr;
    clip_ = clip ? *clip : RECT{};
}

DWORD SoftwareDeviceContext::ReadRaw(LONG x, LONG y) const {
    return ReadPixelValue(target_, x, y);
}

void SoftwareDeviceContext::WriteRaw(LONG x, LONG y, DWORD value) {
    // Every drawing call writes through here.
    if (InsideClip(x, y)) {
        WritePixelValue(target_, x, y, value);
    }
}

void SoftwareDeviceContext::Plot(long long x, long long y, DWORD value) {
    // A wide pen covers a square centred on the line.
    const long long width = pen_.Width > 1 ? pen_.Width : 1;
    const long long from = -(width - 1) / 2;
    for (long long py = y + from; py < y + from + width; ++py) {
        for (long long px = x + from; px < x + from + width; ++px) {
            if (px >= 0 && py >= 0 && px < target_.Width && py < target_.Height) {
                WriteRaw(static_cast<LONG>(px), static_cast<LONG>(py), value);
            }
        }
    }
}

void SoftwareDeviceContext::DrawLine(long long x0, long long y0, long long x1, long long y1,
                                     DWORD value) {
    const long long pad = std::max<long long>(pen_.Width, 1);
    const long long width = target_.Width;
    const long long height = target_.Height;
    bool drawEnd = false;
    // A line reaching far beyond the surface is first cut to it (widened by
    // the pen), so that a distant end point costs nothing.
    if (std::max(std::llabs(x1 - x0), std::llabs(y1 - y0)) > 4 * (width + height + pad)) {
        const double dx = static_cast<double>(x1 - x0);
        const double dy = static_cast<double>(y1 - y0);
        double t0 = 0.0;
        double t1 = 1.0;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {static_cast<double>(x0 + pad), static_cast<double>(width + pad - x0),
                             static_cast<double>(y0 + pad), static_cast<double>(height + pad - y0)};
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0.0) {
                if (q[i] < 0.0) {
                    return;
                }
                continue;
            }
            const double t = q[i] / p[i];
            if (p[i] < 0.0) {
                t0 = std::max(t0, t);
            } else {
                t1 = std::min(t1, t);
            }
        }
        if (t0 > t1) {
            return;
        }
        drawEnd = t1 < 1.0;
        const long long cx0 = std::llround(static_cast<double>(x0) + t0 * dx);
        const long long cy0 = std::llround(static_cast<double>(y0) + t0 * dy);
        x1 = std::llround(static_cast<double>(x0) + t1 * dx);
        y1 = std::llround(static_cast<double>(y0) + t1 * dy);
        x0 = cx0;
        y0 = cy0;
    }
    // Bresenham; the end point is left out unless the line was cut short.
    const long long dx = std::llabs(x1 - x0);
    const long long dy = -std::llabs(y1 - y0);
    const long long sx = x0 < x1 ? 1 : -1;
    const long long sy = y0 < y1 ? 1 : -1;
    long long error = dx + dy;
    while (x0 != x1 || y0 != y1) {
        Plot(x0, y0, value);
        const long long twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
    if (drawEnd) {
        Plot(x1, y1, value);
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
        DrawLine(penX_, penY_, x, y, ColorToPixel(pen_.Color, target_.Format, target_.Palette));
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
    // order and sample the source at the matching pixel centre. Only the
    // rows and columns that land on this surface are visited.
    const long long dx0 = std::min<long long>(x, static_cast<long long>(x) + width);
    const long long dy0 = std::min<long long>(y, static_cast<long long>(y) + height);
    const long long dw = std::llabs(width);
    const long long dh = std::llabs(height);
    const bool flipX = (width < 0) != (srcWidth < 0);
    const bool flipY = (height < 0) != (srcHeight < 0);
    const long long sx0 = std::min<long long>(srcX, static_cast<long long>(srcX) + srcWidth);
    const long long sy0 = std::min<long long>(srcY, static_cast<long long>(srcY) + srcHeight);
    const long long sw = std::llabs(srcWidth);
    const long long sh = std::llabs(srcHeight);
    const long long jFirst = std::max<long long>(0, -dy0);
    const long long jLast = std::min<long long>(dh, target_.Height - dy0);
    const long long iFirst = std::max<long long>(0, -dx0);
    const long long iLast = std::min<long long>(dw, target_.Width - dx0);
    for (long long j = jFirst; j < jLast; ++j) {
        // Unsigned: the product can pass 2^63 for extreme extents.
        long long sj = static_cast<long long>(static_cast<unsigned long long>(j * 2 + 1) *
                                              static_cast<unsigned long long>(sh) /
                                              static_cast<unsigned long long>(2 * dh));
        if (flipY) {
            sj = sh - 1 - sj;
        }
        const long long sy = sy0 + sj;
        if (sy < 0 || sy >= src.Height) {
            continue;
        }
        for (long long i = iFirst; i < iLast; ++i) {
            long long si = static_cast<long long>(static_cast<unsigned long long>(i * 2 + 1) *
                                                  static_cast<unsigned long long>(sw) /
                                                  static_cast<unsigned long long>(2 * dw));
            if (flipX) {
                si = sw - 1 - si;
            }
            const long long sx = sx0 + si;
            if (sx < 0 || sx >= src.Width) {
                continue;
            }
            const DWORD raw = ReadPixelValue(src, static_cast<LONG>(sx), static_cast<LONG>(sy));
            WriteRaw(static_cast<LONG>(dx0 + i), static_cast<LONG>(dy0 + j),
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
    if (!Inside(x, y) || !InsideClip(x, y)) {
        return CLR_INVALID;
    }
    const DWORD value = ColorToPixel(color, target_.Format, target_.Palette);
    WriteRaw(x, y, value);
    return PixelToColor(value, target_.Format, target_.Palette);
}

} // namespace ddraw
