#pragma once
// Pixels sent to the X server as plain image requests, where it cannot read
// our memory: the rows go out straight from where they are (no copy of our own), in
// requests no larger than the server takes.

#include "platform/ddraw/pixel_view.h"

#include <xcb/xcb.h>

#include <cstdint>

namespace ui {

// Qt's connection to the X server, or null when Qt does not run on X.
xcb_connection_t* QtX11Connection();

// The image depth that holds a view's pixels as they are: 16 for 5-6-5,
// 24 for x8-r8-g8-b8; 0 when the server lays them out differently.
std::uint8_t X11DepthOf(xcb_connection_t* c, const ddraw::PixelView& image);

// Puts the whole image onto the drawable at (x, y). Needs a depth from
// X11DepthOf; false when the request cannot be made.
bool PutX11Image(xcb_connection_t* c, xcb_drawable_t drawable, xcb_gcontext_t gc,
                 std::uint8_t depth, const ddraw::PixelView& image, int x, int y);

} // namespace ui
