#pragma once
// The widget that shows the game's frames inside its form. In a window it
// lies beneath the form's controls and shows the form's part of the primary
// surface; in the emulated full screen it covers the borderless form and
// shows the frame scaled to fit, aspect kept, with black bars.

#include "platform/ddraw/pixel_view.h"

#include <QImage>
#include <QRect>
#include <QWidget>

#include <array>
#include <vector>

namespace ui {

class PresenterWidget : public QWidget {
public:
    // The form's presenter, made on first use.
    static PresenterWidget* Of(QWidget* form);
    static PresenterWidget* Find(QWidget* form);

    // Windowed: the client area's copy of the desktop; part is the area
    // (client coordinates) that changed.
    QImage& WindowImage() { return windowImage_; }
    void WindowChanged(const QRect& part);

    void EnterFullScreen(const QRect& screenGeometry);
    // Keeps a copy of the frame (the surface may change or go before the
    // window is painted) and asks for a paint, which scales it onto the screen.
    void ShowFrame(const ddraw::PixelView& frame);
    void LeaveFullScreen();
    bool FullScreen() const { return fullScreen_; }

    // Where a frame of that size lands in an area: scaled to fit, aspect
    // kept, centred.
    static QRect FittedRect(const QSize& frame, const QSize& area);

protected:
    explicit PresenterWidget(QWidget* form);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct SavedWindow {
        Qt::WindowFlags flags;
        QRect geometry;
        QSize minimumSize;
        QSize maximumSize;
        bool visible = false;
    };

    QWidget* form_;
    QImage windowImage_;
    // The last frame: its pixels, palette and a view of them.
    std::vector<ddraw::BYTE> framePixels_;
    std::array<ddraw::PALETTEENTRY, 256> framePalette_{};
    ddraw::PixelView frame_;
    QImage scaled_; // used only where the window's own image cannot be reached
    bool fullScreen_ = false;
    SavedWindow saved_;
};

} // namespace ui
