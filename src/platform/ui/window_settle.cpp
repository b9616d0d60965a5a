#include "platform/ui/window_settle.h"

#include "platform/ui/event_pump.h"
#include "platform/ui/x11_window_manager.h"

#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>

namespace ui {

namespace {

constexpr int kPollMs = 10;

bool OnScreen(QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return window->isVisible() && handle && handle->isExposed();
}

} // namespace

bool SettleShown(QWidget* window, const std::function<bool()>& done, int limitMs) {
    if (!window || !window->isVisible() || window->isMinimized())
        return true;
    QElapsedTimer timer;
    timer.start();
    bool mappedAgain = false;
    for (;;) {
        const bool onScreen = OnScreen(window);
        if (onScreen && (!done || done()))
            return true;
        const qint64 elapsed = timer.elapsed();
        if (elapsed >= limitMs)
            return false;
        // A map request that came while the manager was still withdrawing
        // the window can be lost: the window would stay unmapped for good.
        if (!onScreen && !mappedAgain && elapsed >= limitMs / 4 && !X11WindowMapped(window)) {
            X11MapAgain(window);
            mappedAgain = true;
        }
        WaitForEvents(kPollMs);
    }
}

void SettleHidden(QWidget* window, int limitMs) {
    if (!window)
        return;
    QElapsedTimer timer;
    timer.start();
    while (X11WindowManaged(window) && timer.elapsed() < limitMs)
        WaitForEvents(kPollMs);
}

} // namespace ui
