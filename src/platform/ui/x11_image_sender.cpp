#include "platform/ui/x11_image_sender.h"

#include "platform/ddraw/pixel_format.h"
#include "platform/ui/pixel_image.h"
#include "platform/ui/x11_image.h"
#include "platform/ui/x11_shared_image.h"

namespace ui {

namespace {

// A view of RGB32 pixels, rows packed.
ddraw::PixelView Rgb32View(std::uint32_t* pixels, int width, int height) {
    ddraw::PixelView view;
    view.Pixels = reinterpret_cast<ddraw::BYTE*>(pixels);
    view.Width = width;
    view.Height = height;
    view.Pitch = width * 4;
    view.BitsPerPixel = 32;
    view.Format = ddraw::DisplayPixelFormat(32, ddraw::HighColorLayout::Rgb565);
    return view;
}

} // namespace

X11ImageSender::X11ImageSender(xcb_connection_t* c) : c_(c), shared_(X11SharedImage::Create(c)) {}

X11ImageSender::~X11ImageSender() = default;

bool X11ImageSender::Put(xcb_drawable_t drawable, xcb_gcontext_t gc, std::uint8_t depth,
                         const ddraw::PixelView& image, int x, int y) {
    return (shared_ && shared_->Put(drawable, gc, depth, image, x, y)) ||
           PutX11Image(c_, drawable, gc, depth, image, x, y);
}

bool X11ImageSender::PutWidened(xcb_drawable_t drawable, xcb_gcontext_t gc, const ddraw::PixelView& image,
                                int x, int y) {
    if (image.BitsPerPixel != 16 || !image.Pixels || image.Width <= 0 || image.Height <= 0)
        return false;
    if (shared_ && shared_->Put(drawable, gc, 24, image, x, y, X11SharedImage::Rows::Widened))
        return true;
    widened_.resize(static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height));
    for (int row = 0; row < image.Height; ++row)
        Rgb565RowToRgb32(reinterpret_cast<const std::uint16_t*>(image.Row(row)),
                         widened_.data() + static_cast<std::size_t>(row) * image.Width, image.Width);
    return PutX11Image(c_, drawable, gc, 24, Rgb32View(widened_.data(), image.Width, image.Height), x, y);
}

bool X11ImageSender::TakesRgb32(xcb_connection_t* c) {
    return X11DepthOf(c, Rgb32View(nullptr, 0, 0)) == 24;
}

void X11ImageSender::EndFrame() {
    if (shared_)
        shared_->EndFrame();
    else
        xcb_flush(c_);
}

} // namespace ui
