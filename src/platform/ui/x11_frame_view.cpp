#include "platform/ui/x11_frame_view.h"

#include "platform/ui/presenter_widget.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/render.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// How the server lays out images of a depth: bits per pixel and row padding.
bool PixmapLayout(xcb_connection_t* c, std::uint8_t depth, int* bitsPerPixel, int* rowPadBits) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == depth) {
            *bitsPerPixel = it.data->bits_per_pixel;
            *rowPadBits = it.data->scanline_pad;
            return *bitsPerPixel > 0 && *rowPadBits > 0;
        }
    }
    return false;
}

bool HasMasks(const ddraw::PixelView& view, ddraw::DWORD red, ddraw::DWORD green, ddraw::DWORD blue) {
    return view.Format.dwRBitMask == red && view.Format.dwGBitMask == green &&
           view.Format.dwBBitMask == blue;
}

// A copy into memory the X server reads next, not us: streaming stores
// leave our caches alone and skip reading the target first.
void StreamCopy(std::uint8_t* to, const std::uint8_t* from, std::size_t bytes) {
    std::size_t done = 0;
#if defined(__SSE2__)
    if ((reinterpret_cast<std::uintptr_t>(to) & 15) == 0) {
        for (; done + 16 <= bytes; done += 16)
            _mm_stream_si128(reinterpret_cast<__m128i*>(to + done),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + done)));
    }
#endif
    std::memcpy(to + done, from + done, bytes - done);
}

xcb_render_fixed_t ToFixed(double value) {
    return static_cast<xcb_render_fixed_t>(std::lround(value * 65536.0));
}

} // namespace

// What lives on the X server for the view, and the shared memory the frames
// travel through.
struct X11FrameView::Server {
    xcb_connection_t* c = nullptr;
    Owned<xcb_render_query_pict_formats_reply_t> formats;
    xcb_render_pictformat_t rgb24 = 0;
    xcb_render_pictformat_t rgb565 = 0;
    bool broken = false;

    xcb_window_t window = 0;
    xcb_render_picture_t windowPicture = 0;

    // The last frame: its size and depth, the pixmap holding it and the
    // shared memory it is sent through.
    int width = 0, height = 0;
    std::uint8_t depth = 0;
    int bytesPerPixel = 0;
    std::size_t stride = 0;
    xcb_pixmap_t pixmap = 0;
    xcb_gcontext_t gc = 0;
    xcb_render_picture_t framePicture = 0;
    xcb_shm_seg_t segment = 0;
    std::uint8_t* memory = nullptr;
    bool haveFrame = false;
    QRect scaledTo; // the target the frame picture's transform was set for

    // A round trip requested after each frame: its reply tells that the
    // server has read the shared memory, which may then be written again.
    xcb_get_input_focus_cookie_t fence{};
    bool fencePending = false;

    ~Server() {
        WaitForServer();
        FreeFrame();
        FreeWindowPicture();
        xcb_flush(c);
    }

    void WaitForServer() {
        if (fencePending)
            std::free(xcb_get_input_focus_reply(c, fence, nullptr));
        fencePending = false;
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
        if (segment)
            xcb_shm_detach(c, segment);
        if (memory)
            shmdt(memory);
        framePicture = 0;
        gc = 0;
        pixmap = 0;
        segment = 0;
        memory = nullptr;
        width = height = 0;
        haveFrame = false;
        scaledTo = QRect();
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
        if (w == width && h == height && bits == depth && memory)
            return true;
        WaitForServer();
        FreeFrame();
        int bitsPerPixel = 0, rowPadBits = 0;
        if (!PixmapLayout(c, bits, &bitsPerPixel, &rowPadBits) || bitsPerPixel % 8 != 0)
            return false;
        bytesPerPixel = bitsPerPixel / 8;
        const std::size_t pad = static_cast<std::size_t>(rowPadBits / 8);
        stride = (static_cast<std::size_t>(w) * static_cast<std::size_t>(bytesPerPixel) + pad - 1) / pad * pad;
        const int id = shmget(IPC_PRIVATE, stride * static_cast<std::size_t>(h), IPC_CREAT | 0600);
        if (id < 0)
            return false;
        void* attached = shmat(id, nullptr, 0);
        bool ok = attached != reinterpret_cast<void*>(-1);
        if (ok) {
            memory = static_cast<std::uint8_t*>(attached);
            segment = xcb_generate_id(c);
            ok = Succeeded(c, xcb_shm_attach_checked(c, segment, static_cast<std::uint32_t>(id), 1));
            if (!ok)
                segment = 0;
        }
        // The segment goes as soon as both sides have let go of it.
        shmctl(id, IPC_RMID, nullptr);
        if (ok) {
            pixmap = xcb_generate_id(c);
            ok = Succeeded(c, xcb_create_pixmap_checked(c, bits, pixmap, window, static_cast<std::uint16_t>(w),
                                                        static_cast<std::uint16_t>(h)));
            if (!ok)
                pixmap = 0;
        }
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
    if (!form || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c || xcb_connection_has_error(c))
        return nullptr;
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(c, &xcb_shm_id);
    const xcb_query_extension_reply_t* render = xcb_get_extension_data(c, &xcb_render_id);
    if (!shm || !shm->present || !render || !render->present)
        return nullptr;
    if (xcb_get_setup(c)->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return nullptr; // our pixels are little-endian
    // Scaling pictures came with version 0.6 of the render extension.
    Owned<xcb_render_query_version_reply_t> version(
        xcb_render_query_version_reply(c, xcb_render_query_version(c, 0, 11), nullptr));
    if (!version || (version->major_version == 0 && version->minor_version < 6))
        return nullptr;
    auto server = std::make_unique<Server>();
    server->c = c;
    server->formats.reset(xcb_render_query_pict_formats_reply(c, xcb_render_query_pict_formats(c), nullptr));
    if (!server->formats)
        return nullptr;
    server->rgb24 = FindFormat(server->formats.get(), kRgb24);
    server->rgb565 = FindFormat(server->formats.get(), kRgb565);
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
    std::uint8_t depth = 0;
    xcb_render_pictformat_t format = 0;
    if (frame.BitsPerPixel == 16 && HasMasks(frame, 0xF800, 0x07E0, 0x001F)) {
        depth = 16;
        format = s.rgb565;
    } else if (frame.BitsPerPixel == 32 && HasMasks(frame, 0xFF0000, 0x00FF00, 0x0000FF)) {
        depth = 24;
        format = s.rgb24;
    }
    if (!format)
        return false;
    if (!s.UseWindow(static_cast<xcb_window_t>(winId())) ||
        !s.UseFrame(frame.Width, frame.Height, depth, format)) {
        s.broken = true; // the server refuses: frames are shown the other way from now on
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(frame.Width) * static_cast<std::size_t>(s.bytesPerPixel);
    if (static_cast<std::size_t>(frame.BitsPerPixel / 8) != static_cast<std::size_t>(s.bytesPerPixel))
        return false;
    s.WaitForServer();
    for (int y = 0; y < frame.Height; ++y)
        StreamCopy(s.memory + static_cast<std::size_t>(y) * s.stride, frame.Row(y), rowBytes);
#if defined(__SSE2__)
    _mm_sfence();
#endif
    xcb_shm_put_image(s.c, s.pixmap, s.gc, static_cast<std::uint16_t>(s.stride / static_cast<std::size_t>(s.bytesPerPixel)),
                      static_cast<std::uint16_t>(frame.Height), 0, 0, static_cast<std::uint16_t>(frame.Width),
                      static_cast<std::uint16_t>(frame.Height), 0, 0, depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0,
                      s.segment, 0);
    s.haveFrame = true;
    Compose();
    return true;
}

void X11FrameView::paintEvent(QPaintEvent*) {
    if (!server_->broken && server_->UseWindow(static_cast<xcb_window_t>(winId())))
        Compose();
}

void X11FrameView::Compose() {
    Server& s = *server_;
    s.WaitForServer(); // collects the previous round trip's reply
    const QSize area = (QSizeF(size()) * devicePixelRatioF()).toSize();
    const QRect target = s.haveFrame ? PresenterWidget::FittedRect(QSize(s.width, s.height), area) : QRect();
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
    s.fence = xcb_get_input_focus(s.c);
    s.fencePending = true;
    xcb_flush(s.c);
}

} // namespace ui
