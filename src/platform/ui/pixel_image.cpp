#include "platform/ui/pixel_image.h"

#include "platform/ddraw/pixel_format.h"
#include "platform/ddraw/software_device_context.h"

#include <array>
#include <cstring>
#include <vector>

namespace ui {

namespace {

bool HasMasks(const ddraw::PixelView& view, ddraw::DWORD red, ddraw::DWORD green,
              ddraw::DWORD blue) {
    return view.Format.dwRBitMask == red && view.Format.dwGBitMask == green &&
           view.Format.dwBBitMask == blue;
}

} // namespace

QImage::Format WrappableFormat(const ddraw::PixelView& view) {
    if (!view.Pixels || view.Width <= 0 || view.Height <= 0 || view.Pitch <= 0)
        return QImage::Format_Invalid;
    switch (view.BitsPerPixel) {
    case 16:
        if (HasMasks(view, 0xF800, 0x07E0, 0x001F))
            return QImage::Format_RGB16;
        if (HasMasks(view, 0x7C00, 0x03E0, 0x001F))
            return QImage::Format_RGB555;
        break;
    case 24:
        if (HasMasks(view, 0xFF0000, 0x00FF00, 0x0000FF))
            return QImage::Format_BGR888;
        break;
    case 32:
        if (HasMasks(view, 0xFF0000, 0x00FF00, 0x0000FF))
            return QImage::Format_RGB32;
        break;
    default:
        break;
    }
    return QImage::Format_Invalid;
}

QImage WrapPixels(const ddraw::PixelView& view) {
    const QImage::Format format = WrappableFormat(view);
    if (format == QImage::Format_Invalid)
        return QImage();
    return QImage(view.Pixels, view.Width, view.Height, view.Pitch, format);
}

QImage CopyToRgb32(const ddraw::PixelView& view, const QRect& part) {
    const QImage::Format format = WrappableFormat(view);
    if (format != QImage::Format_Invalid && format != QImage::Format_RGB32 &&
        part == QRect(0, 0, view.Width, view.Height)) {
        // A whole frame (the full-screen case): Qt converts it in one pass.
        return WrapPixels(view).convertToFormat(QImage::Format_RGB32);
    }
    QImage image(part.size(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::black);
    const QRect inside = part.intersected(QRect(0, 0, view.Width, view.Height));
    if (inside.isEmpty() || !view.Pixels)
        return image;
    const QPoint offset = inside.topLeft() - part.topLeft();
    if (format == QImage::Format_RGB32) {
        // The unused byte may hold anything; shown pixels are opaque.
        for (int y = 0; y < inside.height(); ++y) {
            const auto* source =
                reinterpret_cast<const std::uint32_t*>(view.Row(inside.top() + y)) + inside.left();
            auto* target =
                reinterpret_cast<std::uint32_t*>(image.scanLine(offset.y() + y)) + offset.x();
            for (int x = 0; x < inside.width(); ++x)
                target[x] = source[x] | 0xFF000000u;
        }
    } else if (format != QImage::Format_Invalid) {
        const QImage converted =
            WrapPixels(view).copy(inside).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < inside.height(); ++y)
            std::memcpy(image.scanLine(offset.y() + y), converted.constScanLine(y),
                        static_cast<std::size_t>(inside.width()) * 4);
    } else {
        for (int y = 0; y < inside.height(); ++y) {
            auto* target =
                reinterpret_cast<std::uint32_t*>(image.scanLine(offset.y() + y)) + offset.x();
            for (int x = 0; x < inside.width(); ++x) {
                const ddraw::COLORREF colour = ddraw::PixelToColor(
                    ddraw::ReadPixelValue(view, inside.left() + x, inside.top() + y), view.Format,
                    view.Palette);
                target[x] = qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
            }
        }
    }
    return image;
}

namespace {

// 5-6-5 pixels to opaque RGB32, each channel widened by repeating its top bits.
const std::array<std::uint32_t, 65536>& Rgb565Table() {
    static const auto table = [] {
        std::array<std::uint32_t, 65536> t{};
        for (std::uint32_t p = 0; p < 65536; ++p) {
            const std::uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
            t[p] = 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
        }
        return t;
    }();
    return table;
}

template <typename Pixel, typename Convert>
void ScaleRows(const ddraw::PixelView& view, QImage& target, const std::vector<int>& columns,
               Convert convert) {
    const int height = target.height();
    int previous = -1;
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<std::uint32_t*>(target.scanLine(y));
        const int sourceY = static_cast<int>(static_cast<qint64>(y) * view.Height / height);
        if (sourceY == previous) {
            std::memcpy(out, target.constScanLine(y - 1), columns.size() * 4);
            continue;
        }
        previous = sourceY;
        const auto* in = reinterpret_cast<const Pixel*>(view.Row(sourceY));
        for (std::size_t x = 0; x < columns.size(); ++x)
            out[x] = convert(in[columns[x]]);
    }
}

} // namespace

void ScaleToRgb32(const ddraw::PixelView& view, QImage& target) {
    if (target.isNull() || target.format() != QImage::Format_RGB32)
        return;
    const QImage::Format format = WrappableFormat(view);
    if (format == QImage::Format_Invalid && (!view.Pixels || view.Width <= 0 || view.Height <= 0)) {
        target.fill(Qt::black);
        return;
    }
    std::vector<int> columns(static_cast<std::size_t>(target.width()));
    for (int x = 0; x < target.width(); ++x)
        columns[static_cast<std::size_t>(x)] = static_cast<int>(static_cast<qint64>(x) * view.Width / target.width());
    if (format == QImage::Format_RGB16) {
        const auto& table = Rgb565Table();
        ScaleRows<std::uint16_t>(view, target, columns, [&](std::uint16_t p) { return table[p]; });
    } else if (format == QImage::Format_RGB32) {
        ScaleRows<std::uint32_t>(view, target, columns, [](std::uint32_t p) { return p | 0xFF000000u; });
    } else {
        // Rarer layouts (8 bits, 5-5-5, 24 bits) are converted whole first.
        const QImage whole = CopyToRgb32(view, QRect(0, 0, view.Width, view.Height));
        ddraw::PixelView converted = view;
        converted.Pixels = const_cast<ddraw::BYTE*>(whole.constBits());
        converted.Pitch = static_cast<ddraw::LONG>(whole.bytesPerLine());
        ScaleRows<std::uint32_t>(converted, target, columns, [](std::uint32_t p) { return p | 0xFF000000u; });
    }
}

} // namespace ui
