#pragma once
// The widget that shows the game's frames inside its form. In a window it
// lies beneath the form's controls and shows the form's part of the primary
// surface; in the emulated full screen it covers the full-screen form and
// shows the frame scaled to fit, aspect kept, with black bars.

#include "platform/ddraw/pixel_view.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QTransform>
#include <QWidget>

class QPainter;

#include <QPointer>
#include <QWindow>

#include <array>
#include <memory>
#include <vector>

namespace ui {
class WaylandFrameView;
class X11FrameView;
class X11WindowPainter;
}

namespace ui {

class PresenterWidget : public QWidget {
public:
    // The form's presenter, made on first use.
    static PresenterWidget* Of(QWidget* form);
    static PresenterWidget* Find(QWidget* form);

    // Windowed: shows the client's part of the desktop (client in desktop
    // coordinates), painting the part that changed (client coordinates).
    // The desktop's pixels are read where they are until PixelsGoing. On X
    // the changed part is put straight onto the window while no control
    // lies over it.
    void ShowDesktop(const ddraw::PixelView& desktop, const QRect& client, const QRect& changed);
    // The parts given to ShowDesktop since the last call go to the screen
    // now, together, rather than when the event loop next runs.
    void FinishShowingDesktop();
    // Every presenter showing these pixels takes a copy of what it shows.
    static void PixelsGoing(const ddraw::BYTE* pixels);

    void EnterFullScreen(const QRect& screenGeometry);
    // Shows the frame scaled: through the X server's own scaling where it
    // can, into buffers of its own on Wayland, else scaled onto the window at
    // once here; a copy of the frame is kept only when the window cannot be
    // painted yet.
    void ShowFrame(const ddraw::PixelView& frame);
    void LeaveFullScreen();
    bool FullScreen() const { return fullScreen_; }

    // Where a frame of that size lands in an area: scaled to fit, aspect
    // kept, centred.
    static QRect FittedRect(const QSize& frame, const QSize& area);
    // The pixels of `place` that show the frame's pixels in `part` when the
    // frame is scaled onto `place` by nearest neighbour (the first target
    // pixel of each source pixel being the first whose start lies in it).
    static QRect ScaledPart(const QRect& part, const QSize& frame, const QRect& place);

protected:
    explicit PresenterWidget(QWidget* form);
    ~PresenterWidget() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void KeepFrame(const ddraw::PixelView& frame);
    bool PutOnWindow(const QRect& changed);
    bool ControlsOver(const QRect& area) const;
    // Events of the native window reach eventFilter.
    void Watch(QWindow* window);
    void PaintFullScreen(QPainter& painter);
    void PaintWindow(QPainter& painter, const QRegion& region);
    // Whether the painter paints on the window's own image, which keeps what
    // was painted before (and not on a picture of the widget, say).
    bool PaintsOnWindowImage(QPainter& painter) const;
    // The image the painter paints on when it is an opaque 32-bit one (the
    // raster back end's window image) reached through no more than `reach`
    // (a translation, or a scaling by the device pixel ratio), else null.
    static QImage* OpaqueWindowImage(QPainter& painter, QTransform::TransformationType reach);
    static std::vector<PresenterWidget*>& Live();

    struct SavedWindow {
        Qt::WindowFlags flags;
        Qt::WindowStates state;
        QRect geometry;
        QSize minimumSize;
        QSize maximumSize;
        bool visible = false;
    };

    QWidget* form_;
    // Windowed: the desktop whose client part is shown, borrowed, or a copy
    // of that part once the desktop has gone.
    ddraw::PixelView desktop_;
    QRect client_;
    QImage windowImage_;
    // The frame being shown: borrowed while it is painted at once, or a copy
    // of its pixels and palette when the paint had to wait.
    std::vector<ddraw::BYTE> framePixels_;
    std::array<ddraw::PALETTEENTRY, 256> framePalette_{};
    ddraw::PixelView frame_;
    X11FrameView* view_ = nullptr; // full screen, where the X server scales
    std::unique_ptr<WaylandFrameView> waylandView_; // full screen, on Wayland
    bool noWaylandView_ = false;
    // Windowed, on X: frames put straight onto the window. Qt's image of the
    // window is painted anew when the window is exposed.
    std::unique_ptr<X11WindowPainter> windowPainter_;
    bool noWindowPainter_ = false;
    QRegion unpainted_; // changed parts Qt is to paint, not yet painted
    QPointer<QWindow> watchedWindow_;
    QImage scaled_; // used only where the window's own image cannot be reached
    bool fullScreen_ = false;
    bool framePainted_ = false;  // the paint that ShowFrame asked for happened
    bool frameOnScreen_ = false; // the window's image holds the last frame
    bool fullScreenPainted_ = false; // Qt has painted the full-screen window
    bool grantedFullScreen_ = false; // full screen is a state the manager grants
    QRect screenGeometry_;           // of the screen shown on in full screen
    SavedWindow saved_;
};

} // namespace ui
