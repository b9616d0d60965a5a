#include "platform/ui/x11_window_painter.h"

#include "platform/ui/x11_image.h"
#include "platform/ui/x11_image_sender.h"

#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <utility>

namespace ui {

struct X11WindowPainter::Server {
    xcb_connection_t* c = nullptr;
    xcb_window_t window = 0; // the native window the context below was made for
    std::uint8_t depth = 0;
    xcb_gcontext_t gc = 0;
    std::unique_ptr<X11ImageSender> sender;
    bool unsent = false;

    ~Server() {
        sender.reset();
        Forget();
        xcb_flush(c);
    }

    void Forget() {
        if (gc)
            xcb_free_gc(c, gc);
        gc = 0;
        window = 0;
        depth = 0;
    }

    // Qt makes a new native window when a window's flags change, say.
    bool Use(xcb_window_t id) {
        if (id == window && gc)
            return true;
        Forget();
        xcb_get_geometry_reply_t* geometry =
            xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr);
        if (!geometry)
            return false;
        depth = geometry->depth;
        std::free(geometry);
        gc = xcb_generate_id(c);
        // Drawing onto the window must not ask for expose events of its own.
        const std::uint32_t noExposures = 0;
        xcb_create_gc(c, gc, id, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
        window = id;
        return true;
    }
};

std::unique_ptr<X11WindowPainter> X11WindowPainter::Create(QWidget* widget) {
    xcb_connection_t* c = QtX11Connection();
    if (!widget || !c)
        return nullptr;
    auto server = std::make_unique<Server>();
    server->c = c;
    server->sender = std::make_unique<X11ImageSender>(c);
    return std::unique_ptr<X11WindowPainter>(
        new X11WindowPainter(widget->window(), std::move(server)));
}

X11WindowPainter::X11WindowPainter(QWidget* window, std::unique_ptr<Server> server)
    : window_(window), server_(std::move(server)) {}

X11WindowPainter::~X11WindowPainter() = default;

bool X11WindowPainter::Put(const ddraw::PixelView& image, QPoint at) {
    Server& s = *server_;
    if (xcb_connection_has_error(s.c) || !window_->internalWinId())
        return false;
    const std::uint8_t depth = X11DepthOf(s.c, image);
    if (!depth || !s.Use(static_cast<xcb_window_t>(window_->internalWinId())) || depth != s.depth)
        return false;
    if (!s.sender->Put(s.window, s.gc, depth, image, at.x(), at.y()))
        return false;
    s.unsent = true;
    return true;
}

void X11WindowPainter::Send() {
    if (!std::exchange(server_->unsent, false))
        return;
    server_->sender->EndFrame();
}

} // namespace ui
