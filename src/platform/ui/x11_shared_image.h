#pragma once
// Pixels handed to the X server through shared memory: the rows are copied
// into a segment the server reads, so they need not travel through the
// socket. Made only where the server offers the MIT-SHM extension and can
// attach our memory (not over a network).

#include "platform/ddraw/pixel_view.h"
#include "platform/ui/x11_shm_segment.h"

#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ui {

class X11SharedImage {
public:
    // Null when the server cannot read our memory.
    static std::unique_ptr<X11SharedImage> Create(xcb_connection_t* c);
    ~X11SharedImage();

    // How the image's rows go into the segment: as they are, or (for a
    // 5-6-5 image put with depth 24) widened to 32-bit pixels.
    enum class Rows { AsTheyAre, Widened };

    // Puts the whole image onto the drawable at (x, y). Needs a depth from
    // X11DepthOf. The image's rows are copied before this returns, unless
    // they lie in the desktop's shared pixels, which the server reads where
    // they are. False when the request cannot be made this way.
    bool Put(xcb_drawable_t drawable, xcb_gcontext_t gc, std::uint8_t depth,
             const ddraw::PixelView& image, int x, int y, Rows rows = Rows::AsTheyAre);

    // Call once the puts of a frame are flushed: the next put waits, if it
    // must, until the server has read them, before it writes the segment again.
    void EndFrame();

private:
    X11SharedImage(xcb_connection_t* c, std::unique_ptr<X11ShmSegment> segment);
    // Puts an image that lies in the desktop's shared pixels straight from
    // there; false for other pixels.
    bool PutFromDesktop(xcb_drawable_t drawable, xcb_gcontext_t gc, std::uint8_t depth,
                        const ddraw::PixelView& image, int x, int y);
    bool Reserve(std::size_t bytes);
    void WaitForServer();

    xcb_connection_t* c_;
    std::unique_ptr<X11ShmSegment> segment_;
    std::size_t used_ = 0; // bytes of the segment the server may still read
    bool fenceSent_ = false;
    xcb_get_input_focus_cookie_t fence_{};
};

} // namespace ui
