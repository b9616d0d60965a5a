#pragma once
// Pixels put straight onto a widget's native X window, past Qt's image of
// the window: a windowed game's frames reach the screen without Qt painting
// and flushing them. Made only where Qt runs on X.

#include "platform/ddraw/pixel_view.h"

#include <QPoint>

#include <memory>

class QWidget;

namespace ui {

class X11WindowPainter {
public:
    // A painter for the top-level window of `widget`, or null when Qt does
    // not run on X.
    static std::unique_ptr<X11WindowPainter> Create(QWidget* widget);
    ~X11WindowPainter();

    // Puts the image at `at` (the window's own pixels). False when the
    // image cannot go this way (a pixel layout the window does not have).
    bool Put(const ddraw::PixelView& image, QPoint at);
    // Sends the puts since the last call to the server, together: one write
    // for a frame's changed bands instead of one per band.
    void Send();

private:
    struct Server;
    explicit X11WindowPainter(QWidget* window, std::unique_ptr<Server> server);

    QWidget* window_;
    std::unique_ptr<Server> server_;
};

} // namespace ui
