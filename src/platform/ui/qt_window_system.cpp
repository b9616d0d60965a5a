#include "platform/ui/qt_window_system.h"

#include "platform/ui/screen_depth.h"

#include <QApplication>
#include <QPointer>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace ui {

namespace {

// The desktop the primary surface stands for has its origin at the primary
// screen's top-left corner.
QPoint DesktopOrigin() {
    QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry().topLeft() : QPoint();
}

ddraw::ScreenInfo Describe(QScreen* screen, bool primary) {
    ddraw::ScreenInfo info;
    if (primary) {
        info.Description = "Primary Display Driver";
        info.Name = "display";
    } else {
        const QString model = screen->model().isEmpty() ? screen->name() : screen->model();
        info.Description = model.toStdString();
        info.Name = screen->name().toStdString();
    }
    info.Width = screen->geometry().width();
    info.Height = screen->geometry().height();
    info.BitsPerPixel = static_cast<ddraw::DWORD>(ScreenBitsPerPixel(screen));
    return info;
}

} // namespace

QWidget* WidgetFromHandle(ddraw::HWND window) {
    if (!window)
        return nullptr;
    // A handle is only trusted while it names a widget that still exists.
    // The last one found is kept while it lives: a game names the same
    // window on every frame, and listing every widget costs an allocation.
    static auto& last = *new QPointer<QWidget>; // outlives every widget
    if (last && last.data() == window)
        return last.data();
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget == window) {
            last = widget;
            return widget;
        }
    }
    return nullptr;
}

std::vector<ddraw::ScreenInfo> QtWindowSystem::Screens() const {
    std::vector<ddraw::ScreenInfo> screens;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        screens.push_back(Describe(primary, true));
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary)
            screens.push_back(Describe(screen, false));
    }
    if (screens.empty()) {
        // No screen at all (a display going away): one of the desktop's usual size.
        ddraw::ScreenInfo fallback;
        fallback.Description = "Primary Display Driver";
        fallback.Name = "display";
        fallback.Width = 640;
        fallback.Height = 480;
        screens.push_back(fallback);
    }
    return screens;
}

void QtWindowSystem::PrimaryScreenSize(ddraw::LONG& width, ddraw::LONG& height) const {
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        width = primary->geometry().width();
        height = primary->geometry().height();
        return;
    }
    ddraw::WindowSystem::PrimaryScreenSize(width, height); // the fallback screen
}

bool QtWindowSystem::ClientRectOnScreen(ddraw::HWND window, ddraw::RECT* rect) const {
    QWidget* widget = WidgetFromHandle(window);
    if (!widget || !rect)
        return false;
    // A window's own geometry is its client area on the desktop, known
    // without asking the window system; a child's is found through its
    // parents. (The game asks several times a frame.)
    const QPoint global = widget->isWindow() ? widget->geometry().topLeft() : widget->mapToGlobal(QPoint(0, 0));
    QPoint origin = global - DesktopOrigin();
    if (widget->isWindow() && QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // A Wayland client never learns where its windows are: the place Qt
        // reports is only the one last asked for. The window is taken to lie
        // on the desktop, so that all of it shows the desktop's pixels even
        // when the compositor has made it large (maximised, say).
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            const QSize desktop = primary->geometry().size();
            origin.setX(std::max(0, std::min(origin.x(), desktop.width() - widget->width())));
            origin.setY(std::max(0, std::min(origin.y(), desktop.height() - widget->height())));
        }
    }
    *rect = base::MakeRect(origin.x(), origin.y(), origin.x() + widget->width(),
                           origin.y() + widget->height());
    return true;
}

bool QtWindowSystem::IsWindowVisible(ddraw::HWND window) const {
    QWidget* widget = WidgetFromHandle(window);
    return widget && widget->isVisible() && !widget->isMinimized();
}

} // namespace ui
