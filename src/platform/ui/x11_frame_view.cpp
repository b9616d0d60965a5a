#include "platform/ui/x11_frame_view.h"

#include "platform/ddraw/blitter.h"
#include "platform/ddraw/pixel_memory.h"
#include "platform/ui/presenter_widget.h"
#include "platform/ui/x11_image.h"
#include "platform/ui/x11_image_sender.h"

#include <QCoreApplication>

#include <xcb/render.h>
#include <xcb/xcb.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace ui {

namespace {

struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
template <typename T>
using Owned = std::unique_ptr<T, FreeDeleter>;

bool Succeeded(xcb_connection_t* c, xcb_void_cookie_t cookie) {
    return !Owned<xcb_generic_error_t>(xcb_request_check(c, cookie));
}

struct Channels {
    std::uint8_t depth;
    std::uint16_t redShift, redMask, greenShift, greenMask, blueShift, blueMask;
};

constexpr Channels kRgb24{24, 16, 0xFF, 8, 0xFF, 0, 0xFF};
constexpr Channels kRgb565{16, 11, 0x1F, 5, 0x3F, 0, 0x1F};

xcb_render_pictformat_t FindFormat(const xcb_render_query_pict_formats_reply_t* formats,
                                   const Channels& channels) {
    for (auto it = xcb_render_query_pict_formats_formats_iterator(formats); it.rem;
         xcb_render_pictforminfo_next(&it)) {
        const xcb_render_pictforminfo_t& info = *it.data;
        const xcb_render_directformat_t& d = info.direct;
        if (info.type == XCB_RENDER_PICT_TYPE_DIRECT && info.depth == channels.depth &&
            d.alpha_mask == 0 && d.red_shift == channels.redShift && d.red_mask == channels.redMask &&
            d.green_shift == channels.greenShift && d.green_mask == channels.greenMask &&
            d.blue_shift == channels.blueShift && d.blue_mask == channels.blueMask)
            return info.id;
    }
    return 0;
}

xcb_render_pictformat_t FormatOfVisual(const xcb_render_query_pict_formats_reply_t* formats,
                                       xcb_visualid_t visual) {
    for (auto screen = xcb_render_query_pict_formats_screens_iterator(formats); screen.rem;
         xcb_render_pictscreen_next(&screen)) {
        for (auto depth = xcb_render_pictscreen_depths_iterator(screen.data); depth.rem;
             xcb_render_pictdepth_next(&depth)) {
            for (auto v = xcb_render_pictdepth_visuals_iterator(depth.data); v.rem;
                 xcb_render_pictvisual_next(&v)) {
                if (v.data->visual == visual)
                    return v.data->format;
            }
        }
    }
    return 0;
}

// Rows fewer than this apart go to the server as one piece.
constexpr ddraw::LONG kChangedRowsMergeGap = 4;

// The screen pixels within `target` that may show the frame's pixels in
// `part`: the server samples through a transform of limited precision, so
// a pixel more on each side than our own scaling would show.
QRect ScaledPart(const QRect& part, QSize frame, const QRect& target) {
    return PresenterWidget::ScaledPart(part, frame, target).adjusted(-1, -1, 1, 1).intersected(target);
}

xcb_render_fixed_t ToFixed(double value) {
    return static_cast<xcb_render_fixed_t>(std::lround(value * 65536.0));
}

} // namespace

// What lives on the X server for the view.
struct X11FrameView::Server {
    xcb_connection_t* c = nullptr;
    Owned<xcb_render_query_pict_formats_reply_t> formats;
    xcb_render_pictformat_t rgb24 = 0;
    xcb_render_pictformat_t rgb565 = 0;
    // Whether the server takes 32-bit pixels for the rgb24 format.
    bool takesRgb32 = false;
    bool broken = false;

    xcb_window_t window = 0;
    xcb_render_picture_t windowPicture = 0;

    // The last frame: its size and depth and the pixmap holding it.
    int width = 0, height = 0;
    std::uint8_t depth = 0;
    xcb_pixmap_t pixmap = 0;
    xcb_gcontext_t gc = 0;
    xcb_render_picture_t framePicture = 0;
    bool haveFrame = false;
    QRect scaledTo; // the target the frame picture's transform was set for

    // A copy of the frame the pixmap holds, on huge pages as the frame is:
    // only what differs from it goes to the server and is scaled again.
    // shownBytes is 0 while there is no copy, and the next frame goes whole.
    ddraw::PixelBuffer shown;
    std::size_t shownBytes = 0;
    std::vector<ddraw::blit::RowBand> changed;
    std::unique_ptr<X11ImageSender> sender;
    // 16-bit frames are widened to 32 bits on their way to the server: its
    // software scaler (pixman) has fast paths from 32-bit pictures only, and
    // converts 5-6-5 pixels one by one while it scales, at several times the
    // cost of the scaling itself.
    bool widen = false;

    bool Put(const ddraw::PixelView& image, int x, int y) {
        return widen ? sender->PutWidened(pixmap, gc, image, x, y) : sender->Put(pixmap, gc, depth, image, x, y);
    }

    // Copies the frame the pixmap now holds; without room, none.
    void Keep(const ddraw::PixelView& frame, std::size_t rowBytes) {
        shownBytes = shown.Fit(rowBytes * static_cast<std::size_t>(frame.Height)) ? shown.Size() : 0;
        for (int y = 0; shownBytes && y < frame.Height; ++y)
            std::memcpy(shown.Data() + static_cast<std::size_t>(y) * rowBytes, frame.Row(y), rowBytes);
    }

    ~Server() {
        sender.reset();
        FreeFrame();
        FreeWindowPicture();
        xcb_flush(c);
    }

    void FreeWindowPicture() {
        if (windowPicture)
            xcb_render_free_picture(c, windowPicture);
        windowPicture = 0;
        window = 0;
    }

    void FreeFrame() {
        if (framePicture)
            xcb_render_free_picture(c, framePicture);
        if (gc)
            xcb_free_gc(c, gc);
        if (pixmap)
            xcb_free_pixmap(c, pixmap);
        framePicture = 0;
        gc = 0;
        pixmap = 0;
        width = height = 0;
        haveFrame = false;
        scaledTo = QRect();
        shown.Fit(0);
        shownBytes = 0;
    }

    bool UseWindow(xcb_window_t id) {
        if (id == window && windowPicture)
            return true;
        FreeWindowPicture();
        Owned<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr));
        if (!attributes)
            return false;
        const xcb_render_pictformat_t format = FormatOfVisual(formats.get(), attributes->visual);
        if (!format)
            return false;
        const xcb_render_picture_t picture = xcb_generate_id(c);
        if (!Succeeded(c, xcb_render_create_picture_checked(c, picture, id, format, 0, nullptr)))
            return false;
        window = id;
        windowPicture = picture;
        return true;
    }

    bool UseFrame(int w, int h, std::uint8_t bits, xcb_render_pictformat_t format) {
        if (w == width && h == height && bits == depth && pixmap)
            return true;
        FreeFrame();
        pixmap = xcb_generate_id(c);
        bool ok = Succeeded(c, xcb_create_pixmap_checked(c, bits, pixmap, window, static_cast<std::uint16_t>(w),
                                                         static_cast<std::uint16_t>(h)));
        if (!ok)
            pixmap = 0;
        if (ok) {
            gc = xcb_generate_id(c);
            xcb_create_gc(c, gc, pixmap, 0, nullptr);
            framePicture = xcb_generate_id(c);
            ok = Succeeded(c, xcb_render_create_picture_checked(c, framePicture, pixmap, format, 0, nullptr));
            if (!ok)
                framePicture = 0;
        }
        if (ok) {
            static const char kNearest[] = "nearest";
            xcb_render_set_picture_filter(c, framePicture, sizeof kNearest - 1, kNearest, 0, nullptr);
        }
        if (!ok) {
            FreeFrame();
            return false;
        }
        width = w;
        height = h;
        depth = bits;
        return true;
    }
};

X11FrameView* X11FrameView::Create(QWidget* form) {
    xcb_connection_t* c = QtX11Connection();
    if (!form || !c)
        return nullptr;
    const xcb_query_extension_reply_t* render = xcb_get_extension_data(c, &xcb_render_id);
    if (!render || !render->present)
        return nullptr;
    // Scaling pictures came with version 0.6 of the render extension.
    Owned<xcb_render_query_version_reply_t> version(
        xcb_render_query_version_reply(c, xcb_render_query_version(c, 0, 11), nullptr));
    if (!version || (version->major_version == 0 && version->minor_version < 6))
        return nullptr;
    auto server = std::make_unique<Server>();
    server->c = c;
    server->sender = std::make_unique<X11ImageSender>(c);
    server->formats.reset(xcb_render_query_pict_formats_reply(c, xcb_render_query_pict_formats(c), nullptr));
    if (!server->formats)
        return nullptr;
    server->rgb24 = FindFormat(server->formats.get(), kRgb24);
    server->rgb565 = FindFormat(server->formats.get(), kRgb565);
    server->takesRgb32 = server->rgb24 && X11ImageSender::TakesRgb32(c);
    // The view's own window must not turn the form's other children into
    // windows of their own.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    return new X11FrameView(form, std::move(server));
}

X11FrameView::X11FrameView(QWidget* form, std::unique_ptr<Server> server)
    : QWidget(form), server_(std::move(server)) {
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(form->rect());
    show();
    raise();
}

X11FrameView::~X11FrameView() = default;

bool X11FrameView::Show(const ddraw::PixelView& frame) {
    Server& s = *server_;
    if (s.broken || xcb_connection_has_error(s.c) || !frame.Pixels || frame.Width <= 0 ||
        frame.Height <= 0 || frame.Width > 0x7FFF || frame.Height > 0x7FFF)
        return false;
    const std::uint8_t frameDepth = X11DepthOf(s.c, frame);
    s.widen = frameDepth == 16 && s.takesRgb32;
    const std::uint8_t depth = s.widen ? 24 : frameDepth;
    const xcb_render_pictformat_t format = depth == 16 ? s.rgb565 : depth == 24 ? s.rgb24 : 0;
    if (!format)
        return false;
    if (!s.UseWindow(static_cast<xcb_window_t>(winId())) ||
        !s.UseFrame(frame.Width, frame.Height, depth, format)) {
        s.broken = true; // the server refuses: frames are shown the other way from now on
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(frame.Width) * (frame.BitsPerPixel / 8);
    if (!s.haveFrame || s.shownBytes != rowBytes * static_cast<std::size_t>(frame.Height)) {
        if (!s.Put(frame, 0, 0))
            return false;
        s.Keep(frame, rowBytes);
        s.haveFrame = true;
        Compose();
        return true;
    }
    ddraw::blit::CopyArgs args;
    args.src = frame.Pixels;
    args.srcPitch = frame.Pitch;
    args.dst = s.shown.Data();
    args.dstPitch = static_cast<ddraw::LONG>(rowBytes);
    args.width = frame.Width;
    args.height = frame.Height;
    ddraw::blit::CopyChangedRows(args, frame.BitsPerPixel / 8, kChangedRowsMergeGap, s.changed);
    std::vector<QRect> parts;
    for (const ddraw::blit::RowBand& band : s.changed) {
        ddraw::PixelView part = frame;
        part.Pixels = frame.Row(band.first) + static_cast<std::ptrdiff_t>(band.left) * (frame.BitsPerPixel / 8);
        part.Width = band.right - band.left;
        part.Height = band.count;
        if (!s.Put(part, band.left, band.first)) {
            s.shownBytes = 0; // the next frame goes whole
            return false;
        }
        parts.emplace_back(band.left, band.first, part.Width, part.Height);
    }
    Compose(&parts);
    return true;
}

void X11FrameView::paintEvent(QPaintEvent*) {
    if (!server_->broken && server_->UseWindow(static_cast<xcb_window_t>(winId())))
        Compose();
}

void X11FrameView::Compose(const std::vector<QRect>* parts) {
    Server& s = *server_;
    const QSize area = (QSizeF(size()) * devicePixelRatioF()).toSize();
    const QRect target = s.haveFrame ? PresenterWidget::FittedRect(QSize(s.width, s.height), area) : QRect();
    if (parts && !target.isEmpty() && target == s.scaledTo) {
        // Only the screen pixels the changed parts scale to. Each is
        // sampled exactly as when the whole frame is scaled.
        for (const QRect& part : *parts) {
            const QRect onScreen = ScaledPart(part, QSize(s.width, s.height), target);
            xcb_render_composite(s.c, XCB_RENDER_PICT_OP_SRC, s.framePicture, XCB_RENDER_PICTURE_NONE,
                                 s.windowPicture, static_cast<std::int16_t>(onScreen.x() - target.x()),
                                 static_cast<std::int16_t>(onScreen.y() - target.y()), 0, 0,
                                 static_cast<std::int16_t>(onScreen.x()), static_cast<std::int16_t>(onScreen.y()),
                                 static_cast<std::uint16_t>(onScreen.width()),
                                 static_cast<std::uint16_t>(onScreen.height()));
        }
        s.sender->EndFrame();
        return;
    }
    if (!target.isEmpty()) {
        if (target != s.scaledTo) {
            // The transform maps the window's pixels back onto the frame's.
            const xcb_render_transform_t scale{
                ToFixed(static_cast<double>(s.width) / target.width()), 0, 0,
                0, ToFixed(static_cast<double>(s.height) / target.height()), 0,
                0, 0, ToFixed(1.0)};
            xcb_render_set_picture_transform(s.c, s.framePicture, scale);
            s.scaledTo = target;
        }
        xcb_render_composite(s.c, XCB_RENDER_PICT_OP_SRC, s.framePicture, XCB_RENDER_PICTURE_NONE,
                             s.windowPicture, 0, 0, 0, 0, static_cast<std::int16_t>(target.x()),
                             static_cast<std::int16_t>(target.y()), static_cast<std::uint16_t>(target.width()),
                             static_cast<std::uint16_t>(target.height()));
    }
    std::vector<xcb_rectangle_t> bars;
    for (const QRect& bar : QRegion(QRect(QPoint(0, 0), area)).subtracted(QRegion(target)))
        bars.push_back({static_cast<std::int16_t>(bar.x()), static_cast<std::int16_t>(bar.y()),
                        static_cast<std::uint16_t>(bar.width()), static_cast<std::uint16_t>(bar.height())});
    if (!bars.empty()) {
        const xcb_render_color_t black{0, 0, 0, 0xFFFF};
        xcb_render_fill_rectangles(s.c, XCB_RENDER_PICT_OP_SRC, s.windowPicture, black,
                                   static_cast<std::uint32_t>(bars.size()), bars.data());
    }
    s.sender->EndFrame();
}

} // namespace ui
