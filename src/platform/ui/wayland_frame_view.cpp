#include "platform/ui/wayland_frame_view.h"

#include "platform/ui/frame_changes.h"
#include "platform/ui/pixel_image.h"
#include "platform/ui/presenter_widget.h"

#include <QGuiApplication>
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>
#include <qpa/qplatformwindow.h>

#include <wayland-client.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace ui {

namespace {

struct Globals {
    wl_compositor* compositor = nullptr;
    std::uint32_t compositorVersion = 0;
    wl_subcompositor* subcompositor = nullptr;
    wl_shm* shm = nullptr;
};

// The compositor's version 3 gives surfaces a buffer scale, for high-density
// outputs; older ones are left to Qt's painting. Version 4 takes damage in
// the buffer's own pixels.
constexpr std::uint32_t kLeastCompositorVersion = 3;
constexpr std::uint32_t kDamageBufferVersion = 4;

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
    auto& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && !globals.compositor &&
        version >= kLeastCompositorVersion) {
        globals.compositorVersion = std::min(version, kDamageBufferVersion);
        globals.compositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, globals.compositorVersion));
    }
    else if (std::strcmp(interface, wl_subcompositor_interface.name) == 0 && !globals.subcompositor)
        globals.subcompositor =
            static_cast<wl_subcompositor*>(wl_registry_bind(registry, name, &wl_subcompositor_interface, 1));
    else if (std::strcmp(interface, wl_shm_interface.name) == 0 && !globals.shm)
        globals.shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
}

void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};

// A buffer the compositor reads until it releases it. The bars around the
// frame are drawn once for each place the frame takes; the frame itself is
// brought up to date with what changed since the frame it holds.
struct Buffer {
    wl_buffer* buffer = nullptr;
    std::uint8_t* pixels = nullptr;
    bool busy = false;
    QRect framePlace;
    std::uint64_t frame = 0; // the number of the frame it holds, 0 for none
};

// The areas of a frame shown at `place`, in the buffer's pixels, into
// `placed`.
void PlaceAreas(const std::vector<base::Rect>& areas, const ddraw::PixelView& frame, const QRect& place,
                std::vector<QRect>& placed) {
    placed.clear();
    const QRect whole(QPoint(0, 0), place.size());
    for (const base::Rect& area : areas) {
        const QRect part = PresenterWidget::ScaledPart(
            QRect(area.Left, area.Top, area.Right - area.Left, area.Bottom - area.Top),
            QSize(frame.Width, frame.Height), whole);
        if (!part.isEmpty())
            placed.push_back(part);
    }
}

qint64 AreaOf(const QRect& r) {
    return static_cast<qint64>(r.width()) * r.height();
}

// Damage named in fewer, larger rectangles: each one costs a request and
// the compositor's work on its region, more than a few pixels copied beyond
// what changed. A rectangle joins the one before it (the list runs top to
// bottom) where their bounding box is at most a third larger than both.
void JoinDamage(std::vector<QRect>& areas) {
    std::size_t kept = 0;
    for (const QRect& area : areas) {
        if (kept > 0) {
            QRect& last = areas[kept - 1];
            const QRect both = last.united(area);
            if (AreaOf(both) * 3 <= (AreaOf(last) + AreaOf(area)) * 4) {
                last = both;
                continue;
            }
        }
        areas[kept++] = area;
    }
    areas.resize(kept);
}

// Whether the frames may go onto the window's own surface: the window is
// all content (no decorations drawn by Qt around it), as in full screen.
bool OwnsWholeSurface(const QWindow& window) {
    const QPlatformWindow* platformWindow = window.handle();
    return platformWindow && platformWindow->frameMargins().isNull() &&
           (window.windowStates() & Qt::WindowFullScreen);
}

void OnRelease(void* data, wl_buffer*) {
    static_cast<Buffer*>(data)->busy = false;
}

const wl_buffer_listener kBufferListener{OnRelease};

} // namespace

// Our objects live on a queue of their own on Qt's connection, so that Qt's
// dispatching never runs our listeners and ours never runs Qt's.
struct WaylandFrameView::Connection {
    wl_display* display = nullptr;
    wl_event_queue* queue = nullptr;
    wl_display* onQueue = nullptr; // the display, as a proxy on our queue
    wl_registry* registry = nullptr;
    Globals globals;
    wl_surface* window = nullptr;  // Qt's surface of the window
    wl_surface* surface = nullptr; // the one our buffers go to
    wl_subsurface* subsurface = nullptr;
    std::array<Buffer, 2> buffers;
    void* mapping = nullptr;
    std::size_t mappingBytes = 0;
    QSize bufferSize;
    QSize opaqueSize;
    Buffer* shown = nullptr; // the buffer last committed, null after new buffers
    bool surfaceRepainted = false; // Qt may have put its own image there since
    FrameChanges changes;
    // A frame's damage and the areas scaled anew, kept so that a frame asks
    // the heap for nothing.
    std::vector<QRect> damage, scaled;

    ~Connection() {
        FreeBuffers();
        // The window's own surface keeps showing the last frame until Qt
        // commits its next image (the buffers' memory stays the
        // compositor's to read).
        DropSubsurface();
        if (globals.shm)
            wl_shm_destroy(globals.shm);
        if (globals.subcompositor)
            wl_subcompositor_destroy(globals.subcompositor);
        if (globals.compositor)
            wl_compositor_destroy(globals.compositor);
        if (registry)
            wl_registry_destroy(registry);
        if (onQueue)
            wl_proxy_wrapper_destroy(onQueue);
        if (queue)
            wl_event_queue_destroy(queue);
        if (display)
            wl_display_flush(display);
    }

    // The window's own surface, of which the compositor repaints what a
    // commit damages and no more (a subsurface's damage may be taken as one
    // rectangle around all of it).
    void UseWindowSurface() {
        DropSubsurface();
        surface = window;
        shown = nullptr; // what the surface showed is no longer ours
    }

    // A subsurface over the window, moving with it, shown as soon as we
    // commit; the pointer passes through to the window beneath.
    void UseSubsurface() {
        surface = wl_compositor_create_surface(globals.compositor);
        subsurface = wl_subcompositor_get_subsurface(globals.subcompositor, surface, window);
        wl_subsurface_set_position(subsurface, 0, 0);
        wl_subsurface_set_desync(subsurface);
        wl_region* nothing = wl_compositor_create_region(globals.compositor);
        wl_surface_set_input_region(surface, nothing);
        wl_region_destroy(nothing);
        opaqueSize = QSize();
        shown = nullptr;
    }

    void DropSubsurface() {
        if (!subsurface)
            return;
        wl_subsurface_destroy(subsurface);
        wl_surface_destroy(surface);
        subsurface = nullptr;
        surface = nullptr;
    }

    void FreeBuffers() {
        for (Buffer& buffer : buffers) {
            if (buffer.buffer)
                wl_buffer_destroy(buffer.buffer);
            buffer = Buffer();
        }
        if (mapping)
            munmap(mapping, mappingBytes);
        mapping = nullptr;
        mappingBytes = 0;
        bufferSize = QSize();
        shown = nullptr;
    }

    // Two buffers of `size` pixels in one shared pool. Their pixels are
    // written opaque and the surface is marked opaque: the compositor then
    // copies them as they are (with pixman, faster than filling in the
    // alpha of pixels without one).
    bool MakeBuffers(const QSize& size) {
        FreeBuffers();
        constexpr int kLargest = 16384;
        if (size.isEmpty() || size.width() > kLargest || size.height() > kLargest)
            return false;
        const std::size_t stride = static_cast<std::size_t>(size.width()) * 4;
        const std::size_t bytes = stride * static_cast<std::size_t>(size.height());
        if (bytes * buffers.size() > static_cast<std::size_t>(INT32_MAX))
            return false; // more than a pool can hold
        const int fd = memfd_create("pimuru-frames", MFD_CLOEXEC);
        if (fd < 0)
            return false;
        if (ftruncate(fd, static_cast<off_t>(bytes * buffers.size())) != 0) {
            close(fd);
            return false;
        }
        void* memory = mmap(nullptr, bytes * buffers.size(), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (memory == MAP_FAILED) {
            close(fd);
            return false;
        }
        mapping = memory;
        mappingBytes = bytes * buffers.size();
        wl_shm_pool* pool = wl_shm_create_pool(globals.shm, fd, static_cast<std::int32_t>(mappingBytes));
        close(fd);
        for (std::size_t i = 0; i < buffers.size(); ++i) {
            Buffer& buffer = buffers[i];
            buffer.pixels = static_cast<std::uint8_t*>(memory) + i * bytes;
            buffer.buffer = wl_shm_pool_create_buffer(pool, static_cast<std::int32_t>(i * bytes), size.width(),
                                                      size.height(), static_cast<std::int32_t>(stride),
                                                      WL_SHM_FORMAT_ARGB8888);
            wl_buffer_add_listener(buffer.buffer, &kBufferListener, &buffer);
        }
        wl_shm_pool_destroy(pool);
        bufferSize = size;
        return true;
    }
};

std::unique_ptr<WaylandFrameView> WaylandFrameView::Create(QWidget* form) {
    if (!form || !QGuiApplication::platformName().startsWith(QLatin1String("wayland")) || !form->windowHandle())
        return nullptr;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!native)
        return nullptr;
    auto* display = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
    auto* parent = static_cast<wl_surface*>(native->nativeResourceForWindow("surface", form->windowHandle()));
    if (!display || !parent)
        return nullptr;
    auto connection = std::make_unique<Connection>();
    connection->display = display;
    connection->queue = wl_display_create_queue(display);
    connection->onQueue = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    if (!connection->queue || !connection->onQueue)
        return nullptr;
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(connection->onQueue), connection->queue);
    connection->registry = wl_display_get_registry(connection->onQueue);
    wl_registry_add_listener(connection->registry, &kRegistryListener, &connection->globals);
    if (wl_display_roundtrip_queue(display, connection->queue) < 0)
        return nullptr;
    const Globals& globals = connection->globals;
    if (!globals.compositor || !globals.subcompositor || !globals.shm)
        return nullptr;
    connection->window = parent;
    if (OwnsWholeSurface(*form->windowHandle()))
        connection->UseWindowSurface();
    else
        connection->UseSubsurface();
    wl_display_flush(display);
    return std::unique_ptr<WaylandFrameView>(new WaylandFrameView(form, std::move(connection)));
}

WaylandFrameView::WaylandFrameView(QWidget* form, std::unique_ptr<Connection> connection)
    : form_(form), connection_(std::move(connection)) {}

WaylandFrameView::~WaylandFrameView() = default;

bool WaylandFrameView::Show(const ddraw::PixelView& frame) {
    if (!frame.Pixels || frame.Width <= 0 || frame.Height <= 0 || frame.BitsPerPixel % 8 != 0)
        return false;
    connection_->changes.Take(frame);
    return Present();
}

const ddraw::PixelView& WaylandFrameView::Shown() const {
    return connection_->changes.Kept();
}

bool WaylandFrameView::ShowAgain() {
    return !Shown().Pixels || Present();
}

void WaylandFrameView::WindowRepainted() {
    connection_->surfaceRepainted = true;
}

bool WaylandFrameView::Present() {
    QWindow* window = form_->windowHandle();
    QPlatformWindow* platformWindow = window ? window->handle() : nullptr;
    if (!platformWindow)
        return false;
    Connection& c = *connection_;
    const ddraw::PixelView& frame = c.changes.Kept();
    if (wl_display_dispatch_queue_pending(c.display, c.queue) < 0)
        return false;
    // Onto the window's own surface once the window is all content, and
    // only while it is.
    if (QGuiApplication::platformNativeInterface()->nativeResourceForWindow("surface", window) != c.window)
        return false; // Qt made the window anew
    const bool ownSurface = OwnsWholeSurface(*window);
    if (ownSurface && c.subsurface)
        c.UseWindowSurface();
    else if (!ownSurface && !c.subsurface)
        return false;
    // The window's real pixels, as many as Qt paints, and the scale of the
    // window's buffers on the compositor's side (2 on a high-density output).
    // The window's own surface takes the size the compositor last asked for
    // and Qt agreed to, which Qt's window knows before its widgets do.
    const int scale = std::max(1, static_cast<int>(platformWindow->devicePixelRatio()));
    const QSize size = ownSurface ? platformWindow->geometry().size() * scale
                                  : (QSizeF(form_->size()) * form_->devicePixelRatioF()).toSize();
    if (size.width() % scale != 0 || size.height() % scale != 0)
        return false; // a buffer the compositor would refuse
    if (size != c.bufferSize) {
        if (!c.MakeBuffers(size))
            return false;
    }
    const QRect place = PresenterWidget::FittedRect(QSize(frame.Width, frame.Height), size);
    if (place.isEmpty())
        return false;
    // What the compositor repaints is what changed since the frame on the
    // screen: nothing at all when nothing did.
    std::vector<QRect>& damage = c.damage;
    if (c.shown && c.shown->framePlace == place && !c.surfaceRepainted) {
        PlaceAreas(c.changes.ChangedSince(c.shown->frame), frame, place, damage);
        if (damage.empty())
            return true;
        for (QRect& area : damage)
            area.translate(place.topLeft());
        JoinDamage(damage);
    } else {
        damage.assign(1, QRect(QPoint(0, 0), size));
    }
    const auto findFree = [&c] {
        return std::find_if(c.buffers.begin(), c.buffers.end(), [](const Buffer& b) { return !b.busy; });
    };
    auto free = findFree();
    if (free == c.buffers.end()) {
        // The compositor gives a buffer back once it has taken the next one:
        // one round trip brings that news.
        if (wl_display_roundtrip_queue(c.display, c.queue) < 0)
            return false;
        free = findFree();
        if (free == c.buffers.end())
            return true; // still both read: this frame waits for the next
    }
    Buffer& buffer = *free;
    // The buffer is brought up to date with what changed since the frame it
    // holds.
    const int stride = size.width() * 4;
    QImage part(buffer.pixels + static_cast<std::ptrdiff_t>(place.top()) * stride + place.left() * 4,
                place.width(), place.height(), stride, QImage::Format_RGB32);
    if (buffer.framePlace != place) {
        QImage image(buffer.pixels, size.width(), size.height(), stride, QImage::Format_RGB32);
        for (const QRect& bar : QRegion(image.rect()).subtracted(QRegion(place)))
            FillOpaqueBlack(image, bar);
        buffer.framePlace = place;
        buffer.frame = 0;
    }
    PlaceAreas(c.changes.ChangedSince(buffer.frame), frame, place, c.scaled);
    ScalePartsToRgb32(frame, part, c.scaled);
    buffer.frame = c.changes.Last();

    if (!ownSurface && size != c.opaqueSize) {
        wl_region* whole = wl_compositor_create_region(c.globals.compositor);
        wl_region_add(whole, 0, 0, size.width() / scale, size.height() / scale);
        wl_surface_set_opaque_region(c.surface, whole);
        wl_region_destroy(whole);
        c.opaqueSize = size;
    }
    wl_surface_set_buffer_scale(c.surface, scale);
    wl_surface_attach(c.surface, buffer.buffer, 0, 0);
    for (const QRect& area : damage) {
        if (c.globals.compositorVersion >= kDamageBufferVersion) {
            wl_surface_damage_buffer(c.surface, area.x(), area.y(), area.width(), area.height());
        } else {
            const int left = area.left() / scale, top = area.top() / scale;
            const int right = (area.left() + area.width() + scale - 1) / scale;
            const int bottom = (area.top() + area.height() + scale - 1) / scale;
            wl_surface_damage(c.surface, left, top, right - left, bottom - top);
        }
    }
    wl_surface_commit(c.surface);
    buffer.busy = true;
    c.shown = &buffer;
    c.surfaceRepainted = false;
    wl_display_flush(c.display);
    return true;
}

} // namespace ui
