#include "platform/ui/x11_shared_image.h"

#include "platform/ui/pixel_image.h"
#include "platform/ui/x11_desktop_memory.h"

#include <cstdlib>
#include <cstring>

namespace ui {

namespace {

constexpr std::size_t kFirstSegmentBytes = std::size_t{2} << 20;
constexpr std::size_t kLargestSegmentBytes = std::size_t{64} << 20;
constexpr std::size_t kPlaceAlignment = 64; // each image starts on a cache line

std::size_t RoundUp(std::size_t n, std::size_t to) {
    return (n + to - 1) / to * to;
}

} // namespace

std::unique_ptr<X11SharedImage> X11SharedImage::Create(xcb_connection_t* c) {
    std::unique_ptr<X11ShmSegment> segment = X11ShmSegment::Create(c, kFirstSegmentBytes);
    if (!segment)
        return nullptr;
    return std::unique_ptr<X11SharedImage>(new X11SharedImage(c, std::move(segment)));
}

X11SharedImage::X11SharedImage(xcb_connection_t* c, std::unique_ptr<X11ShmSegment> segment)
    : c_(c), segment_(std::move(segment)) {}

X11SharedImage::~X11SharedImage() {
    if (fenceSent_)
        xcb_discard_reply(c_, fence_.sequence);
    segment_.reset();
    xcb_flush(c_);
}

void X11SharedImage::EndFrame() {
    if (used_ > 0 && !fenceSent_) {
        // Its reply comes once the server has handled every request before it.
        fence_ = xcb_get_input_focus(c_);
        fenceSent_ = true;
    }
    xcb_flush(c_);
}

void X11SharedImage::WaitForServer() {
    if (used_ > 0 && !fenceSent_)
        EndFrame();
    if (fenceSent_)
        std::free(xcb_get_input_focus_reply(c_, fence_, nullptr));
    fenceSent_ = false;
    used_ = 0;
}

bool X11SharedImage::Reserve(std::size_t bytes) {
    if (fenceSent_)
        WaitForServer(); // a new frame: the last one has been read by now
    if (used_ + bytes <= segment_->size)
        return true;
    WaitForServer();
    if (bytes <= segment_->size)
        return true;
    if (bytes > kLargestSegmentBytes)
        return false;
    segment_.reset();
    segment_ = X11ShmSegment::Create(c_, RoundUp(bytes, kFirstSegmentBytes));
    return segment_ != nullptr;
}

bool X11SharedImage::Put(xcb_drawable_t drawable, xcb_gcontext_t gc, std::uint8_t depth,
                         const ddraw::PixelView& image, int x, int y, Rows rows) {
    const bool widen = rows == Rows::Widened;
    if (!segment_ || !image.Pixels || image.Width <= 0 || image.Height <= 0 ||
        image.Width > 0x7FFF || image.Height > 0x7FFF || x < -0x8000 || x > 0x7FFF || y < -0x8000 ||
        y > 0x7FFF || (widen && image.BitsPerPixel != 16))
        return false;
    const std::size_t bytesPerPixel = widen ? 4 : image.BitsPerPixel / 8; // as the server reads them
    if (!widen && PutFromDesktop(drawable, gc, depth, image, x, y))
        return true;
    const std::size_t rowBytes = static_cast<std::size_t>(image.Width) * bytesPerPixel;
    // Rows in the segment are padded to 32 bits, as the server reads them.
    const std::size_t segmentRow = RoundUp(rowBytes, 4);
    const std::size_t bytes = segmentRow * static_cast<std::size_t>(image.Height);
    if (!bytesPerPixel || segmentRow / bytesPerPixel > 0xFFFF ||
        !Reserve(RoundUp(bytes, kPlaceAlignment)))
        return false;
    const std::size_t offset = used_;
    std::uint8_t* to = segment_->memory + offset;
    for (int row = 0; row < image.Height; ++row, to += segmentRow) {
        if (widen)
            Rgb565RowToRgb32(reinterpret_cast<const std::uint16_t*>(image.Row(row)),
                             reinterpret_cast<std::uint32_t*>(to), image.Width);
        else
            std::memcpy(to, image.Row(row), rowBytes);
    }
    used_ += RoundUp(bytes, kPlaceAlignment);
    xcb_shm_put_image(c_, drawable, gc, static_cast<std::uint16_t>(segmentRow / bytesPerPixel),
                      static_cast<std::uint16_t>(image.Height), 0, 0,
                      static_cast<std::uint16_t>(image.Width),
                      static_cast<std::uint16_t>(image.Height), static_cast<std::int16_t>(x),
                      static_cast<std::int16_t>(y), depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0,
                      segment_->id, static_cast<std::uint32_t>(offset));
    return !xcb_connection_has_error(c_);
}

bool X11SharedImage::PutFromDesktop(xcb_drawable_t drawable, xcb_gcontext_t gc, std::uint8_t depth,
                                    const ddraw::PixelView& image, int x, int y) {
    x11_desktop_memory::Place place;
    if (!x11_desktop_memory::Find(c_, image.Pixels, place))
        return false;
    // The server reads whole rows of the desktop from the start of the
    // image's first row, each padded to 32 bits as ours are.
    const std::size_t bytesPerPixel = image.BitsPerPixel / 8;
    if (image.Pitch <= 0)
        return false;
    const std::size_t pitch = static_cast<std::size_t>(image.Pitch);
    const std::size_t column = place.offset % pitch;
    if (!bytesPerPixel || pitch % bytesPerPixel || pitch % 4 || column % bytesPerPixel ||
        pitch / bytesPerPixel > 0xFFFF || column / bytesPerPixel > 0x7FFF ||
        place.room + column < pitch * static_cast<std::size_t>(image.Height))
        return false;
    xcb_shm_put_image(c_, drawable, gc, static_cast<std::uint16_t>(pitch / bytesPerPixel),
                      static_cast<std::uint16_t>(image.Height),
                      static_cast<std::uint16_t>(column / bytesPerPixel), 0,
                      static_cast<std::uint16_t>(image.Width),
                      static_cast<std::uint16_t>(image.Height), static_cast<std::int16_t>(x),
                      static_cast<std::int16_t>(y), depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0,
                      place.segment, place.offset - static_cast<std::uint32_t>(column));
    return !xcb_connection_has_error(c_);
}

} // namespace ui
