#pragma once
// The presenter the software DirectDraw shows its primary surface through:
// each form gets a presenter widget (presenter_widget.h).

#include "platform/ddraw/presenter.h"

namespace ui {

class QtPresenter : public ddraw::Presenter {
public:
    void PresentWindow(ddraw::HWND window, const ddraw::PixelView& desktop,
                       const ddraw::RECT& clientRect, const ddraw::RECT& changed) override;
    void FinishPresenting(ddraw::HWND window) override;
    void EnterFullScreen(ddraw::HWND window, int screen, ddraw::LONG width, ddraw::LONG height,
                         ddraw::DWORD bitsPerPixel) override;
    void PresentFullScreen(ddraw::HWND window, const ddraw::PixelView& frame) override;
    void PrimaryPixelsGoing(const ddraw::BYTE* pixels) override;
    ddraw::BYTE* AllocatePrimaryPixels(std::size_t bytes) override;
    void FreePrimaryPixels(ddraw::BYTE* pixels) override;
    void LeaveFullScreen(ddraw::HWND window) override;
    // Returns at once: a window's pixels reach the screen when the X server
    // or the compositor puts them there, which no client can time to the
    // screen's blank. A wait for a clock of our own would keep no tearing
    // away and only hold every frame back, half a refresh on average.
    void WaitForVerticalBlank() override {}
};

} // namespace ui
