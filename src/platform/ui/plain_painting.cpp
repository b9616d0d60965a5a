#include "platform/ui/plain_painting.h"

#include <algorithm>
#include <cstring>

namespace ui {

namespace {

// x·a/255 + y·b/255 for each of the four bytes, with a + b = 255.
std::uint32_t Mix32(std::uint32_t x, std::uint32_t a, std::uint32_t y, std::uint32_t b) {
    std::uint32_t low = (x & 0xFF00FFu) * a + (y & 0xFF00FFu) * b;
    low = ((low + ((low >> 8) & 0xFF00FFu) + 0x800080u) >> 8) & 0xFF00FFu;
    std::uint32_t high = ((x >> 8) & 0xFF00FFu) * a + ((y >> 8) & 0xFF00FFu) * b;
    high = (high + ((high >> 8) & 0xFF00FFu) + 0x800080u) & 0xFF00FF00u;
    return high | low;
}

std::uint32_t Expand565(std::uint32_t p) {
    const std::uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
    return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

std::uint16_t Pack565(std::uint32_t rgb) {
    return static_cast<std::uint16_t>(((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x07E0) | ((rgb >> 3) & 0x001F));
}

template <typename Pixel, typename Mix>
void Stamp(QImage& image, QPoint at, const QImage& coverage, const QRect& bounds, Pixel solid,
           Mix mix) {
    const QRect area = QRect(at, coverage.size()).intersected(image.rect()).intersected(bounds);
    if (area.isEmpty())
        return;
    uchar* const bits = image.bits(); // detaches once, not once a row
    const qsizetype pitch = image.bytesPerLine();
    const int width = area.width();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* cover = coverage.constScanLine(y - at.y()) + (area.left() - at.x());
        auto* out = reinterpret_cast<Pixel*>(bits + y * pitch) + area.left();
        int x = 0;
        // Most of a glyph's cell is either bare or fully inked: eight
        // pixels at a time are skipped or filled without mixing.
        for (; x + 8 <= width; x += 8) {
            std::uint64_t eight;
            std::memcpy(&eight, cover + x, sizeof eight);
            if (eight == 0)
                continue;
            if (eight == ~std::uint64_t{0}) {
                std::fill(out + x, out + x + 8, solid);
                continue;
            }
            for (int i = x; i < x + 8; ++i) {
                if (cover[i])
                    out[i] = mix(cover[i], out[i]);
            }
        }
        for (; x < width; ++x) {
            if (cover[x])
                out[x] = mix(cover[x], out[x]);
        }
    }
}

} // namespace

bool CanPaintPlainlyOn(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_RGB16;
}

void FillRaw(QImage& image, const QRect& area, std::uint32_t raw) {
    const QRect part = area.intersected(image.rect());
    for (int y = part.top(); y <= part.bottom(); ++y) {
        if (image.format() == QImage::Format_RGB16) {
            auto* row = reinterpret_cast<std::uint16_t*>(image.scanLine(y)) + part.left();
            std::fill(row, row + part.width(), static_cast<std::uint16_t>(raw));
        } else {
            auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y)) + part.left();
            std::fill(row, row + part.width(), raw);
        }
    }
}

void StampText(QImage& image, QPoint cell, const ShapedText& text, QRgb colour,
               const QRect& bounds) {
    if (text.coverage.isNull())
        return;
    const QPoint at = cell + text.coverageAt;
    const std::uint32_t rgb = colour & 0x00FFFFFFu;
    if (image.format() == QImage::Format_RGB16) {
        // Mixed at eight bits a channel, then cut back to 5-6-5.
        const std::uint16_t solid = Pack565(rgb);
        Stamp<std::uint16_t>(image, at, text.coverage, bounds, solid, [rgb, solid](std::uint32_t a, std::uint32_t old) {
            return a == 255 ? solid : Pack565(Mix32(rgb, a, Expand565(old), 255 - a));
        });
    } else {
        // The unused top byte stays 0, as the surface keeps it.
        Stamp<std::uint32_t>(image, at, text.coverage, bounds, rgb, [rgb](std::uint32_t a, std::uint32_t old) {
            return a == 255 ? rgb : Mix32(rgb, a, old, 255 - a) & 0x00FFFFFFu;
        });
    }
}

} // namespace ui
