#pragma once
// Full-screen frames on Wayland in buffers of our own: a subsurface laid over
// the window takes each frame scaled straight into a shared-memory buffer the
// compositor reads, past Qt's image of the window (which would clear and copy
// a whole screen of pixels per frame). Made only where Qt runs on Wayland.

#include "platform/ddraw/pixel_view.h"

#include <memory>

class QWidget;

namespace ui {

class WaylandFrameView {
public:
    // A view over the top-level window `form`, or null when Qt does not run
    // on Wayland or the window has no surface yet.
    static std::unique_ptr<WaylandFrameView> Create(QWidget* form);
    ~WaylandFrameView();

    // Shows the frame scaled to fit the window's real pixels, aspect kept,
    // with black bars. False when it cannot be shown this way; the caller
    // shows it another way.
    bool Show(const ddraw::PixelView& frame);

private:
    struct Connection;
    WaylandFrameView(QWidget* form, std::unique_ptr<Connection> connection);

    QWidget* form_;
    std::unique_ptr<Connection> connection_;
};

} // namespace ui
