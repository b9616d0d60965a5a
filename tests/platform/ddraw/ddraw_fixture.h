#pragma once
// A test set-up for the software DirectDraw: a window system with one
// window of known client area on a screen of chosen size and depth, a
// presenter that records what it is asked to show, and helpers to make
// surfaces and read their pixels.

#include "platform/ddraw/ddraw.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ddrawtest {

using namespace ddraw;

class FakeWindows : public WindowSystem {
public:
    std::vector<ScreenInfo> screens{ScreenInfo{"Test screen", "test", 800, 600, 16}};
    HWND window = reinterpret_cast<HWND>(0x1234);
    RECT client{100, 50, 420, 290};
    bool visible = true;

    std::vector<ScreenInfo> Screens() const override { return screens; }
    bool ClientRectOnScreen(HWND w, RECT* rect) const override {
        if (w != window) {
            return false;
        }
        *rect = client;
        return true;
    }
    bool IsWindowVisible(HWND w) const override { return w == window && visible; }
};

class RecordingPresenter : public Presenter {
public:
    struct WindowFrame {
        HWND window;
        RECT client;
        RECT changed;
        DWORD firstPixel; // pixel at the client's top-left corner
    };
    std::vector<WindowFrame> windowFrames;
    // For each FinishPresenting, how many window frames had come by then.
    std::vector<std::size_t> finishes;
    std::vector<DWORD> fullScreenFrames; // first pixel of each frame
    std::vector<std::string> events;
    int vblanks = 0;

    void PresentWindow(HWND window, const PixelView& desktop, const RECT& client,
                       const RECT& changed) override;
    void FinishPresenting(HWND) override { finishes.push_back(windowFrames.size()); }
    void EnterFullScreen(HWND, int screen, LONG width, LONG height, DWORD bits) override {
        events.push_back("enter " + std::to_string(screen) + " " + std::to_string(width) + "x" +
                         std::to_string(height) + "x" + std::to_string(bits));
    }
    void PresentFullScreen(HWND, const PixelView& frame) override;
    void LeaveFullScreen(HWND) override { events.push_back("leave"); }
    void WaitForVerticalBlank() override { ++vblanks; }
};

// Installs the fakes, default settings and no injected failures; removes
// them again afterwards.
class DirectDrawTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A DirectDraw object for the primary screen (released in TearDown).
    IDirectDraw* Open();
    // An off-screen surface; caps default to system memory. pixelBits 0
    // means the display's format.
    IDirectDrawSurface* MakeSurface(LONG width, LONG height, DWORD pixelBits = 0,
                                    DWORD caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY,
                                    HRESULT* result = nullptr);

    FakeWindows windows;
    RecordingPresenter presenter;
    IDirectDraw* dd = nullptr;
};

DWORD ReadPixel(IDirectDrawSurface* surface, LONG x, LONG y);
void WritePixel(IDirectDrawSurface* surface, LONG x, LONG y, DWORD value);
// Fills the surface so that every pixel differs: value = f(x, y) cut to depth.
void FillPattern(IDirectDrawSurface* surface, DWORD seed = 0);
DWORD PatternValue(LONG x, LONG y, DWORD seed, DWORD bits);
void FillAll(IDirectDrawSurface* surface, DWORD value);
DWORD BitsOf(IDirectDrawSurface* surface);

} // namespace ddrawtest
