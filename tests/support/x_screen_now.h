#pragma once
// The X server's screen read through a connection of the test's own. The
// server handles each client's requests in the order they arrive, so what
// this program's own connection still holds back is not on this picture:
// read right after a call, it shows what that call has sent.

#include "support/screen_grab.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace testsupport {

// The whole screen, or a null image where it cannot be read this way.
inline ScreenShot ReadXScreenNow() {
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> c(xcb_connect(nullptr, nullptr),
                                                                     xcb_disconnect);
    if (xcb_connection_has_error(c.get()))
        return ScreenShot(QImage(), ratio);
    const xcb_setup_t* setup = xcb_get_setup(c.get());
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    const int width = screen->width_in_pixels, height = screen->height_in_pixels;
    std::unique_ptr<xcb_get_image_reply_t, void (*)(void*)> reply(
        xcb_get_image_reply(c.get(),
                            xcb_get_image(c.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0,
                                          static_cast<std::uint16_t>(width),
                                          static_cast<std::uint16_t>(height), ~0u),
                            nullptr),
        std::free);
    if (!reply || screen->root_depth != 24 ||
        setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST ||
        xcb_get_image_data_length(reply.get()) != width * height * 4)
        return ScreenShot(QImage(), ratio);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y),
                    xcb_get_image_data(reply.get()) + static_cast<std::size_t>(y) * width * 4,
                    static_cast<std::size_t>(width) * 4);
    return ScreenShot(image, ratio);
}

} // namespace testsupport
