#include "platform/ui/pixel_image.h"

#include "platform/ddraw/pixel_format.h"
#include "platform/ddraw/software_device_context.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Plain arithmetic on a row, which the compiler turns into vector code.
void Rgb565RowToRgb32(const std::uint16_t* in, std::uint32_t* out, int count) {
    for (int x = 0; x < count; ++x) {
        const std::uint32_t p = in[x];
        const std::uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
        out[x] = 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
    }
}

namespace {

void Rgb32RowToOpaque(const std::uint32_t* in, std::uint32_t* out, int count) {
    for (int x = 0; x < count; ++x)
        out[x] = in[x] | 0xFF000000u;
}

// Target pixels [0, count) picked by column from a converted source row. The
// screen's image is larger than the caches and is read next by the window
// system, not by us: streaming stores write it without first reading it into
// the cache.
void PickColumns(const std::uint32_t* converted, const int* column, int count, std::uint32_t* out) {
    int x = 0;
#if defined(__SSE2__)
    for (; x < count && (reinterpret_cast<std::uintptr_t>(out + x) & 15) != 0; ++x)
        out[x] = converted[column[x]];
    for (; x + 4 <= count; x += 4) {
        const __m128i four = _mm_set_epi32(static_cast<int>(converted[column[x + 3]]),
                                           static_cast<int>(converted[column[x + 2]]),
                                           static_cast<int>(converted[column[x + 1]]),
                                           static_cast<int>(converted[column[x]]));
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + x), four);
    }
#endif
    for (; x < count; ++x)
        out[x] = converted[column[x]];
}

// Each source row is converted once into `row` (small enough to stay in the
// first-level cache), only the columns the part shows. A source row that
// shows on one target row is picked straight into it; one that shows on
// several (an enlarged frame) is picked once into `picked`, also in the
// cache, and streamed from there to each.
template <typename Pixel, typename ConvertRow>
void ScalePart(const ddraw::PixelView& view, QImage& target, const QRect& part, const std::vector<int>& columns,
               std::vector<std::uint32_t>& row, std::vector<std::uint32_t>& picked, ConvertRow convertRow) {
    const int height = target.height();
    const auto sourceRow = [&](int y) { return static_cast<int>(static_cast<qint64>(y) * view.Height / height); };
    const int firstColumn = columns[static_cast<std::size_t>(part.left())];
    const int endColumn = columns[static_cast<std::size_t>(part.right())] + 1;
    const int* partColumns = columns.data() + part.left();
    const auto out = [&](int y) { return reinterpret_cast<std::uint32_t*>(target.scanLine(y)) + part.left(); };
    for (int y = part.top(); y <= part.bottom();) {
        const int sourceY = sourceRow(y);
        int end = y + 1;
        while (end <= part.bottom() && sourceRow(end) == sourceY)
            ++end;
        convertRow(reinterpret_cast<const Pixel*>(view.Row(sourceY)) + firstColumn, row.data() + firstColumn,
                   endColumn - firstColumn);
        if (end - y == 1) {
            PickColumns(row.data(), partColumns, part.width(), out(y));
        } else {
            for (int x = 0; x < part.width(); ++x)
                picked[static_cast<std::size_t>(x)] = row[static_cast<std::size_t>(partColumns[x])];
            for (; y < end; ++y)
                StreamOpaqueRow(picked.data(), out(y), part.width());
        }
        y = end;
    }
}

} // namespace

void StreamOpaqueRow(const std::uint32_t* in, std::uint32_t* out, int count) {
    int x = 0;
#if defined(__SSE2__)
    for (; x < count && (reinterpret_cast<std::uintptr_t>(out + x) & 15) != 0; ++x)
        out[x] = in[x] | 0xFF000000u;
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; x + 4 <= count; x += 4) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + x), _mm_or_si128(four, opaque));
    }
#endif
    for (; x < count; ++x)
        out[x] = in[x] | 0xFF000000u;
}

void FinishStreaming() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

void FillOpaqueBlack(QImage& image, const QRect& part) {
    const QRect inside = part.intersected(image.rect());
    if (inside.isEmpty() || image.depth() != 32)
        return;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y)) + inside.left();
        std::fill(row, row + inside.width(), 0xFF000000u);
    }
}

void ScaleToRgb32(const ddraw::PixelView& view, QImage& target) {
    ScalePartsToRgb32(view, target, {target.rect()});
}

void ScalePartsToRgb32(const ddraw::PixelView& view, QImage& target, const std::vector<QRect>& parts) {
    if (target.isNull() || target.format() != QImage::Format_RGB32 || parts.empty())
        return;
    const QImage::Format format = WrappableFormat(view);
    if (format == QImage::Format_Invalid && (!view.Pixels || view.Width <= 0 || view.Height <= 0)) {
        target.fill(Qt::black);
        return;
    }
    // Kept from call to call, so that a frame asks the heap for nothing: a
    // large request each frame would also make the heap merge all the small
    // blocks freed since the last one.
    thread_local std::vector<int> columns;
    thread_local std::vector<std::uint32_t> row;
    thread_local std::vector<std::uint32_t> picked;
    columns.resize(static_cast<std::size_t>(target.width()));
    for (int x = 0; x < target.width(); ++x)
        columns[static_cast<std::size_t>(x)] = static_cast<int>(static_cast<qint64>(x) * view.Width / target.width());
    row.resize(static_cast<std::size_t>(view.Width));
    picked.resize(static_cast<std::size_t>(target.width()));
    // Rarer layouts (8 bits, 5-5-5, 24 bits) are converted whole first.
    QImage whole;
    ddraw::PixelView source = view;
    if (format != QImage::Format_RGB16 && format != QImage::Format_RGB32) {
        whole = CopyToRgb32(view, QRect(0, 0, view.Width, view.Height));
        source.Pixels = const_cast<ddraw::BYTE*>(whole.constBits());
        source.Pitch = static_cast<ddraw::LONG>(whole.bytesPerLine());
    }
    for (const QRect& wanted : parts) {
        const QRect part = wanted.intersected(target.rect());
        if (part.isEmpty())
            continue;
        if (format == QImage::Format_RGB16)
            ScalePart<std::uint16_t>(source, target, part, columns, row, picked, Rgb565RowToRgb32);
        else
            ScalePart<std::uint32_t>(source, target, part, columns, row, picked, Rgb32RowToOpaque);
    }
    FinishStreaming(); // the streamed rows are complete before anyone reads them
}

} // namespace ui
