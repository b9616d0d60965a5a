#include "platform/ui/wayland_frame_view.h"

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
    wl_subcompositor* subcompositor = nullptr;
    wl_shm* shm = nullptr;
};

// The compositor's version 3 gives surfaces a buffer scale, for high-density
// outputs; older ones are left to Qt's painting.
constexpr std::uint32_t kCompositorVersion = 3;

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
    auto& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && !globals.compositor &&
        version >= kCompositorVersion)
        globals.compositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, kCompositorVersion));
    else if (std::strcmp(interface, wl_subcompositor_interface.name) == 0 && !globals.subcompositor)
        globals.subcompositor =
            static_cast<wl_subcompositor*>(wl_registry_bind(registry, name, &wl_subcompositor_interface, 1));
    else if (std::strcmp(interface, wl_shm_interface.name) == 0 && !globals.shm)
        globals.shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
}

void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};

// A buffer the compositor reads until it releases it; the bars around the
// frame are drawn once for each place the frame takes. The rows of the frame
// it shows are kept as they came, so that rows that did not change are
// neither scaled again nor repainted by the compositor.
struct Buffer {
    wl_buffer* buffer = nullptr;
    std::uint8_t* pixels = nullptr;
    bool busy = false;
    QRect framePlace;
    ddraw::PixelView layout; // the shown frame's size and pixel layout (no pixels)
    std::vector<std::uint8_t> rows;
    std::array<ddraw::PALETTEENTRY, 256> palette{};
};

std::size_t RowBytes(const ddraw::PixelView& frame) {
    return static_cast<std::size_t>(frame.Width) * (frame.BitsPerPixel / 8);
}

bool SameLayout(const Buffer& buffer, const ddraw::PixelView& frame, const QRect& place) {
    const ddraw::PixelView& a = buffer.layout;
    if (buffer.framePlace != place || a.Width != frame.Width || a.Height != frame.Height ||
        a.BitsPerPixel != frame.BitsPerPixel || a.Format.dwRBitMask != frame.Format.dwRBitMask ||
        a.Format.dwGBitMask != frame.Format.dwGBitMask || a.Format.dwBBitMask != frame.Format.dwBBitMask ||
        (a.Palette == nullptr) != (frame.Palette == nullptr) ||
        buffer.rows.size() != RowBytes(frame) * static_cast<std::size_t>(frame.Height))
        return false;
    return !frame.Palette ||
           std::equal(buffer.palette.begin(), buffer.palette.end(), frame.Palette, [](const auto& x, const auto& y) {
               return x.peRed == y.peRed && x.peGreen == y.peGreen && x.peBlue == y.peBlue;
           });
}

bool RowDiffers(const Buffer& buffer, const ddraw::PixelView& frame, int y) {
    const std::size_t bytes = RowBytes(frame);
    return std::memcmp(frame.Row(y), buffer.rows.data() + static_cast<std::size_t>(y) * bytes, bytes) != 0;
}

void KeepRows(Buffer& buffer, const ddraw::PixelView& frame, int first, int end) {
    const std::size_t bytes = RowBytes(frame);
    buffer.rows.resize(bytes * static_cast<std::size_t>(frame.Height));
    for (int y = first; y < end; ++y)
        std::memcpy(buffer.rows.data() + static_cast<std::size_t>(y) * bytes, frame.Row(y), bytes);
}

void KeepLayout(Buffer& buffer, const ddraw::PixelView& frame) {
    buffer.layout = frame;
    buffer.layout.Pixels = nullptr;
    if (frame.Palette)
        std::copy(frame.Palette, frame.Palette + buffer.palette.size(), buffer.palette.begin());
}

// Calls action(first, end) for each run of rows [first, end) that differ.
template <typename Differs, typename Action>
void ForEachChangedRun(int height, Differs differs, Action action) {
    for (int y = 0; y < height;) {
        if (!differs(y)) {
            ++y;
            continue;
        }
        int end = y + 1;
        while (end < height && differs(end))
            ++end;
        action(y, end);
        y = end;
    }
}

// The first target row that shows source row `y` or a later one.
int FirstTargetRow(int y, int sourceHeight, int targetHeight) {
    return static_cast<int>((static_cast<qint64>(y) * targetHeight + sourceHeight - 1) / sourceHeight);
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
    wl_surface* surface = nullptr;
    wl_subsurface* subsurface = nullptr;
    std::array<Buffer, 2> buffers;
    void* mapping = nullptr;
    std::size_t mappingBytes = 0;
    QSize bufferSize;
    QSize opaqueSize;
    std::size_t lastShown = 0;

    ~Connection() {
        FreeBuffers();
        if (subsurface)
            wl_subsurface_destroy(subsurface);
        if (surface)
            wl_surface_destroy(surface);
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
    connection->surface = wl_compositor_create_surface(globals.compositor);
    connection->subsurface = wl_subcompositor_get_subsurface(globals.subcompositor, connection->surface, parent);
    // Above the window, moving with it, shown as soon as we commit; the
    // pointer passes through to the window beneath.
    wl_subsurface_set_position(connection->subsurface, 0, 0);
    wl_subsurface_set_desync(connection->subsurface);
    wl_region* nothing = wl_compositor_create_region(globals.compositor);
    wl_surface_set_input_region(connection->surface, nothing);
    wl_region_destroy(nothing);
    wl_display_flush(display);
    return std::unique_ptr<WaylandFrameView>(new WaylandFrameView(form, std::move(connection)));
}

WaylandFrameView::WaylandFrameView(QWidget* form, std::unique_ptr<Connection> connection)
    : form_(form), connection_(std::move(connection)) {}

WaylandFrameView::~WaylandFrameView() = default;

bool WaylandFrameView::Show(const ddraw::PixelView& frame) {
    QWindow* window = form_->windowHandle();
    QPlatformWindow* platformWindow = window ? window->handle() : nullptr;
    if (!platformWindow || !frame.Pixels || frame.Width <= 0 || frame.Height <= 0)
        return false;
    Connection& c = *connection_;
    if (wl_display_dispatch_queue_pending(c.display, c.queue) < 0)
        return false;
    // The window's real pixels, as many as Qt paints, and the scale of the
    // window's buffers on the compositor's side (2 on a high-density output).
    const int scale = std::max(1, static_cast<int>(platformWindow->devicePixelRatio()));
    const QSize size = (QSizeF(form_->size()) * form_->devicePixelRatioF()).toSize();
    if (size.width() % scale != 0 || size.height() % scale != 0)
        return false; // a buffer the compositor would refuse
    if (size != c.bufferSize) {
        if (!c.MakeBuffers(size))
            return false;
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
            return true; // still both read: this frame is skipped
    }
    Buffer& buffer = *free;
    const int stride = size.width() * 4;
    QImage image(buffer.pixels, size.width(), size.height(), stride, QImage::Format_RGB32);
    const QRect place = PresenterWidget::FittedRect(QSize(frame.Width, frame.Height), size);
    if (place.isEmpty())
        return false;
    QImage part(buffer.pixels + static_cast<std::ptrdiff_t>(place.top()) * stride + place.left() * 4,
                place.width(), place.height(), stride, QImage::Format_RGB32);
    // What is scaled anew here is what differs from the frame this buffer
    // held; what the compositor must repaint is what differs from the frame
    // shown last, from the other buffer.
    if (!SameLayout(buffer, frame, place)) {
        if (buffer.framePlace != place) {
            for (const QRect& bar : QRegion(image.rect()).subtracted(QRegion(place)))
                FillOpaqueBlack(image, bar);
            buffer.framePlace = place;
        }
        ScaleToRgb32(frame, part);
        KeepLayout(buffer, frame);
        KeepRows(buffer, frame, 0, frame.Height);
    }
    const auto bandOf = [&](int first, int end) {
        return std::pair(FirstTargetRow(first, frame.Height, place.height()),
                         FirstTargetRow(end, frame.Height, place.height()));
    };
    ForEachChangedRun(frame.Height, [&](int y) { return RowDiffers(buffer, frame, y); }, [&](int first, int end) {
        const auto [top, bottom] = bandOf(first, end);
        ScaleRowsToRgb32(frame, part, top, bottom);
        KeepRows(buffer, frame, first, end);
    });
    const Buffer& last = c.buffers[c.lastShown];
    QRegion changed;
    if (&last == &buffer || !SameLayout(last, frame, place)) {
        changed = QRegion(image.rect());
    } else {
        ForEachChangedRun(frame.Height, [&](int y) { return RowDiffers(last, frame, y); }, [&](int first, int end) {
            const auto [top, bottom] = bandOf(first, end);
            changed += QRect(place.left(), place.top() + top, place.width(), bottom - top);
        });
    }
    if (changed.isEmpty())
        return true; // the same frame as the one on the screen
    if (size != c.opaqueSize) {
        wl_region* whole = wl_compositor_create_region(c.globals.compositor);
        wl_region_add(whole, 0, 0, size.width() / scale, size.height() / scale);
        wl_surface_set_opaque_region(c.surface, whole);
        wl_region_destroy(whole);
        c.opaqueSize = size;
    }
    wl_surface_set_buffer_scale(c.surface, scale);
    wl_surface_attach(c.surface, buffer.buffer, 0, 0);
    for (const QRect& area : changed) {
        const int left = area.left() / scale, top = area.top() / scale;
        const int right = (area.left() + area.width() + scale - 1) / scale;
        const int bottom = (area.top() + area.height() + scale - 1) / scale;
        wl_surface_damage(c.surface, left, top, right - left, bottom - top);
    }
    wl_surface_commit(c.surface);
    buffer.busy = true;
    c.lastShown = static_cast<std::size_t>(&buffer - c.buffers.data());
    wl_display_flush(c.display);
    return true;
}

} // namespace ui
