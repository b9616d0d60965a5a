#pragma once
// What the DirectDraw stand-in needs to know of the window system: the
// screens (driver list, display modes, the desktop that a windowed primary
// surface stands for) and where a window's client area is. The Qt back end
// installs its own; the default is one virtual 1920x1080x32 screen.

#include "platform/ddraw/ddraw_types.h"

#include <string>
#include <vector>

namespace ddraw {

struct ScreenInfo {
    std::string Description; // shown in the driver list as "description (name)"
    std::string Name;
    LONG Width = 0;
    LONG Height = 0;
    DWORD BitsPerPixel = 32; // the desktop's bits per pixel (32 for a 24-bit X display)
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // The primary screen first; never empty.
    virtual std::vector<ScreenInfo> Screens() const = 0;
    // The primary screen's size, as Screens().front() gives it; a window
    // system may tell it more cheaply (it is asked on every windowed frame).
    virtual void PrimaryScreenSize(LONG& width, LONG& height) const {
        const std::vector<ScreenInfo> screens = Screens();
        width = screens.empty() ? 0 : screens.front().Width;
        height = screens.empty() ? 0 : screens.front().Height;
    }
    // The window's client rectangle in screen coordinates (of the primary
    // screen's desktop); false when the handle names no window.
    virtual bool ClientRectOnScreen(HWND window, RECT* rect) const = 0;
    // Whether the window is shown (not hidden, not minimised).
    virtual bool IsWindowVisible(HWND window) const = 0;
};

// Installs the window system (not owned; keep it alive while installed).
// Null puts back the virtual screen.
void SetWindowSystem(WindowSystem* windowSystem);
WindowSystem& CurrentWindowSystem();

} // namespace ddraw
