#include "platform/ui/x11_image.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcbext.h>

#include <algorithm>
#include <vector>

namespace ui {

namespace {

bool HasMasks(const ddraw::PixelView& view, ddraw::DWORD red, ddraw::DWORD green, ddraw::DWORD blue) {
    return view.Format.dwRBitMask == red && view.Format.dwGBitMask == green &&
           view.Format.dwBBitMask == blue;
}

// Bits per pixel and row padding the server uses for a depth.
bool ServerLayout(xcb_connection_t* c, std::uint8_t depth, int* bitsPerPixel, int* rowPadBits) {
    for (auto it = xcb_setup_pixmap_formats_iterator(xcb_get_setup(c)); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == depth) {
            *bitsPerPixel = it.data->bits_per_pixel;
            *rowPadBits = it.data->scanline_pad;
            return true;
        }
    }
    return false;
}

// Rows per request: a request holds a few hundred rows at most, so its
// pieces stay well within what one writev takes.
constexpr int kMostRowsPerRequest = 256;

} // namespace

xcb_connection_t* QtX11Connection() {
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    return c && !xcb_connection_has_error(c) ? c : nullptr;
}

std::uint8_t X11DepthOf(xcb_connection_t* c, const ddraw::PixelView& image) {
    if (xcb_get_setup(c)->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return 0; // our pixels are little-endian
    std::uint8_t depth = 0;
    if (image.BitsPerPixel == 16 && HasMasks(image, 0xF800, 0x07E0, 0x001F))
        depth = 16;
    else if (image.BitsPerPixel == 32 && HasMasks(image, 0xFF0000, 0x00FF00, 0x0000FF))
        depth = 24;
    int bitsPerPixel = 0, rowPadBits = 0;
    if (!depth || !ServerLayout(c, depth, &bitsPerPixel, &rowPadBits) ||
        bitsPerPixel != static_cast<int>(image.BitsPerPixel) || rowPadBits > 32)
        return 0;
    return depth;
}

bool PutX11Image(xcb_connection_t* c, xcb_drawable_t drawable, xcb_gcontext_t gc,
                 std::uint8_t depth, const ddraw::PixelView& image, int x, int y) {
    if (!image.Pixels || image.Width <= 0 || image.Height <= 0 || image.Width > 0x7FFF ||
        x < -0x8000 || x > 0x7FFF || y < -0x8000 || y + image.Height - 1 > 0x7FFF)
        return false;
    const std::size_t rowBytes = static_cast<std::size_t>(image.Width) * image.BitsPerPixel / 8;
    // Rows are padded to 32 bits on the wire (X11DepthOf allows no more).
    const std::size_t padBytes = (4 - rowBytes % 4) % 4;
    static const std::uint8_t kZeros[4] = {};
    const std::size_t wireRow = rowBytes + padBytes;
    const std::size_t largest = static_cast<std::size_t>(xcb_get_maximum_request_length(c)) * 4;
    const std::size_t header = sizeof(xcb_put_image_request_t);
    if (largest <= header + wireRow)
        return false;
    const int rowsPerRequest =
        static_cast<int>(std::min<std::size_t>((largest - header) / wireRow, kMostRowsPerRequest));
    const bool contiguous = !padBytes && static_cast<std::size_t>(image.Pitch) == rowBytes;

    // Two free entries ahead of the request, as xcb_send_request wants.
    std::vector<iovec> parts;
    parts.reserve(3 + 2 * static_cast<std::size_t>(rowsPerRequest));
    for (int top = 0; top < image.Height; top += rowsPerRequest) {
        const int rows = std::min(rowsPerRequest, image.Height - top);
        xcb_put_image_request_t request{};
        request.format = XCB_IMAGE_FORMAT_Z_PIXMAP;
        request.drawable = drawable;
        request.gc = gc;
        request.width = static_cast<std::uint16_t>(image.Width);
        request.height = static_cast<std::uint16_t>(rows);
        request.dst_x = static_cast<std::int16_t>(x);
        request.dst_y = static_cast<std::int16_t>(y + top);
        request.depth = depth;
        parts.assign(2, iovec{});
        parts.push_back({&request, header});
        if (contiguous) {
            parts.push_back({image.Row(top), rowBytes * static_cast<std::size_t>(rows)});
        } else {
            for (int row = top; row < top + rows; ++row) {
                parts.push_back({image.Row(row), rowBytes});
                if (padBytes)
                    parts.push_back({const_cast<std::uint8_t*>(kZeros), padBytes});
            }
        }
        xcb_protocol_request_t protocol{};
        protocol.count = parts.size() - 2;
        protocol.opcode = XCB_PUT_IMAGE;
        protocol.isvoid = 1;
        xcb_send_request(c, 0, parts.data() + 2, &protocol);
    }
    return !xcb_connection_has_error(c);
}

} // namespace ui
