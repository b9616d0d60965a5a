#pragma once
// Full-screen frames scaled by the X server. The frame goes to a picture on
// the server and the server scales it onto a native child window, so this
// process never writes a screen-sized image per frame. Made only where Qt
// runs on X with the render extension.

#include "platform/ddraw/pixel_view.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace ui {

class X11FrameView : public QWidget {
public:
    // A view covering `form`, or null when this display cannot show frames
    // this way.
    static X11FrameView* Create(QWidget* form);
    ~X11FrameView() override;

    // Shows the frame scaled to fit, aspect kept, with black bars. False
    // when the frame's pixel layout has no match on the server; the caller
    // shows it another way.
    bool Show(const ddraw::PixelView& frame);

protected:
    QPaintEngine* paintEngine() const override { return nullptr; }
    void paintEvent(QPaintEvent* event) override;

private:
    struct Server;
    X11FrameView(QWidget* form, std::unique_ptr<Server> server);
    // Scales the frame onto the window: all of it with the black bars, or
    // only where the given parts of the frame (its own pixels) changed.
    void Compose(const std::vector<QRect>* parts = nullptr);

    std::unique_ptr<Server> server_;
};

} // namespace ui
