#include "platform/ui/fixed_window_sizes.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>

namespace ui {

namespace {

const char* const kWatched = "pimuru-fixed-size-watched";

// Requests of the stable xdg_toplevel interface, by their numbers in the
// protocol (its requests are only ever added at the end).
constexpr std::uint32_t kSetMaxSize = 7;
constexpr std::uint32_t kSetMinSize = 8;

bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// The compositor gets the widget's own limits in the normal state (0 means
// none) and none while the window is maximised or full screen; Qt's window
// keeps none, so it takes every size the compositor gives.
void Apply(QWidget* widget, QWindow* window) {
    if (window->minimumSize() != QSize(0, 0))
        window->setMinimumSize(QSize(0, 0));
    if (window->maximumSize() != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX))
        window->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    auto* toplevel = static_cast<wl_proxy*>(
        native ? native->nativeResourceForWindow("xdg_toplevel", window) : nullptr);
    if (!toplevel)
        return;
    QSize least(0, 0);
    QSize most(0, 0);
    if (!(window->windowStates() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        least = widget->minimumSize();
        if (widget->maximumWidth() < QWIDGETSIZE_MAX && widget->maximumHeight() < QWIDGETSIZE_MAX)
            most = widget->maximumSize();
    }
    wl_proxy_marshal(toplevel, kSetMaxSize, most.width(), most.height());
    wl_proxy_marshal(toplevel, kSetMinSize, least.width(), least.height());
}

} // namespace

FixedWindowSizes::FixedWindowSizes() {
    if (QCoreApplication* application = QCoreApplication::instance(); application && OnWayland())
        application->installEventFilter(this);
}

FixedWindowSizes::~FixedWindowSizes() {
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool FixedWindowSizes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (QWindow* window = widget->isWindow() ? widget->windowHandle() : nullptr;
            window && !window->property(kWatched).toBool())
            Watch(widget, window);
    }
    return false;
}

void FixedWindowSizes::Watch(QWidget* widget, QWindow* window) {
    window->setProperty(kWatched, true);
    QPointer<QWidget> guarded(widget);
    const auto apply = [guarded, window] {
        if (guarded)
            Apply(guarded, window);
    };
    // Qt tells the compositor its own limits whenever the widget's change,
    // and the window's role is made anew each time it is shown.
    for (auto signal : {&QWindow::minimumWidthChanged, &QWindow::minimumHeightChanged,
                        &QWindow::maximumWidthChanged, &QWindow::maximumHeightChanged})
        connect(window, signal, window, apply);
    connect(window, &QWindow::windowStateChanged, window, apply);
    connect(window, &QWindow::visibleChanged, window, apply);
    Apply(widget, window);
}

} // namespace ui
