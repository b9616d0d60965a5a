#pragma once
// How our pixels reach the X server: through shared memory where the server
// can read it, otherwise as plain image requests. One per X connection user
// (the window painter, the full-screen view).

#include "platform/ddraw/pixel_view.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace ui {

class X11SharedImage;

class X11ImageSender {
public:
    explicit X11ImageSender(xcb_connection_t* c);
    ~X11ImageSender();

    // Puts the whole image onto the drawable at (x, y); `depth` comes from
    // X11DepthOf. False when the request cannot be made either way.
    bool Put(xcb_drawable_t drawable, xcb_gcontext_t gc, std::uint8_t depth,
             const ddraw::PixelView& image, int x, int y);
    // Puts a 5-6-5 image onto a drawable of depth 24, widened to 32-bit
    // pixels on the way. Needs TakesRgb32.
    bool PutWidened(xcb_drawable_t drawable, xcb_gcontext_t gc, const ddraw::PixelView& image, int x, int y);
    // Whether the server takes 32-bit pixels for depth 24.
    static bool TakesRgb32(xcb_connection_t* c);

    // Sends a frame's puts to the server.
    void EndFrame();

private:
    xcb_connection_t* c_;
    std::unique_ptr<X11SharedImage> shared_; // null where the server cannot share our memory
    std::vector<std::uint32_t> widened_;     // rows widened for plain image requests
};

} // namespace ui
