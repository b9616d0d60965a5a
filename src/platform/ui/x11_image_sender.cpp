#include "platform/ui/x11_image_sender.h"

#include "platform/ui/x11_image.h"
#include "platform/ui/x11_shared_image.h"

namespace ui {

X11ImageSender::X11ImageSender(xcb_connection_t* c) : c_(c), shared_(X11SharedImage::Create(c)) {}

X11ImageSender::~X11ImageSender() = default;

bool X11ImageSender::Put(xcb_drawable_t drawable, xcb_gcontext_t gc, std::uint8_t depth,
                         const ddraw::PixelView& image, int x, int y) {
    return (shared_ && shared_->Put(drawable, gc, depth, image, x, y)) ||
           PutX11Image(c_, drawable, gc, depth, image, x, y);
}

void X11ImageSender::EndFrame() {
    if (shared_)
        shared_->EndFrame();
    else
        xcb_flush(c_);
}

} // namespace ui
