#pragma once
// Full-screen frames on Wayland in buffers of our own: each frame is scaled
// straight into a shared-memory buffer the compositor reads, past Qt's image
// of the window (which would copy a whole screen of pixels per frame), and
// only what changed is scaled and repainted. The buffers go onto the window's
// own surface while the window is all content (full screen), else onto a
// subsurface laid over it. Made only where Qt runs on Wayland.

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
    // The view keeps a copy of the frame, so the caller need not.
    bool Show(const ddraw::PixelView& frame);
    // Shows the last frame again, at the window's present size.
    bool ShowAgain();
    // The last frame shown, in the view's own copy (no pixels before the
    // first): what Qt paints when it paints the window.
    const ddraw::PixelView& Shown() const;
    // Qt painted the window (and may have put its own image onto the
    // surface): the next frame is repainted whole.
    void WindowRepainted();

private:
    struct Connection;
    WaylandFrameView(QWidget* form, std::unique_ptr<Connection> connection);
    bool Present();

    QWidget* form_;
    std::unique_ptr<Connection> connection_;
};

} // namespace ui
