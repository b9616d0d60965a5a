#pragma once
// How the primary surface reaches the screen. In a window, whatever is drawn
// onto the primary (which stands for the desktop) is shown where the
// window's client area lies; in the emulated full screen, the frame is shown
// scaled to fit the screen with its aspect kept. The Qt back end installs a
// presenter; the default shows nothing.

#include "platform/ddraw/pixel_view.h"

#include <cstddef>

namespace ddraw {

class Presenter {
public:
    virtual ~Presenter() = default;

    // Windowed: desktop holds the primary's pixels; clientRect (screen
    // coordinates) is where window's client area lies on it, and changed the
    // part of the desktop that was just drawn. The pixels stay valid until
    // PrimaryPixelsGoing names them.
    virtual void PresentWindow(HWND window, const PixelView& desktop, const RECT& clientRect,
                               const RECT& changed) = 0;
    // The parts given to PresentWindow since the last call are all that one
    // drawing onto the primary changed: a presenter that gathers them sends
    // them to the screen now, before that drawing returns. The default has
    // nothing gathered.
    virtual void FinishPresenting(HWND window);

    // Exclusive mode with a display mode set: the window covers screen
    // (index into WindowSystem::Screens) without a border and shows frames
    // of width x height.
    virtual void EnterFullScreen(HWND window, int screen, LONG width, LONG height,
                                 DWORD bitsPerPixel) = 0;
    // The frame to show (after a Flip, or a blit onto the primary).
    virtual void PresentFullScreen(HWND window, const PixelView& frame) = 0;
    // The display mode is given back: the window leaves full screen.
    virtual void LeaveFullScreen(HWND window) = 0;

    // The primary's pixels are about to be freed: a presenter that still
    // shows them without a copy of its own takes one now.
    virtual void PrimaryPixelsGoing(const BYTE* pixels);

    // Zeroed memory for a windowed primary's pixels that this presenter can
    // show without copying them, or null: the primary then takes ordinary
    // memory. Given back through FreePrimaryPixels.
    virtual BYTE* AllocatePrimaryPixels(std::size_t bytes);
    virtual void FreePrimaryPixels(BYTE* pixels);

    // Returns when the next vertical blank begins. The default waits for the
    // next 1/60 s tick of the monotonic clock.
    virtual void WaitForVerticalBlank();
};

// Installs the presenter (not owned; keep it alive while installed). Null
// puts back the default, which presents nowhere.
void SetPresenter(Presenter* presenter);
Presenter& CurrentPresenter();

} // namespace ddraw
