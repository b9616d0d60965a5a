#pragma once
// The window system as the software DirectDraw sees it, answered by Qt: the
// screens, a window's client rectangle on the desktop and its visibility.

#include "platform/ddraw/window_system.h"

class QWidget;

namespace ui {

class QtWindowSystem : public ddraw::WindowSystem {
public:
    std::vector<ddraw::ScreenInfo> Screens() const override;
    void PrimaryScreenSize(ddraw::LONG& width, ddraw::LONG& height) const override;
    bool ClientRectOnScreen(ddraw::HWND window, ddraw::RECT* rect) const override;
    bool IsWindowVisible(ddraw::HWND window) const override;
};

// The live widget a window handle names, or nullptr.
QWidget* WidgetFromHandle(ddraw::HWND window);

} // namespace ui
