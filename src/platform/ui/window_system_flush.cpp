#include "platform/ui/window_system_flush.h"

#include "platform/ui/x11_image.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>

namespace ui {

void FlushWindowSystem() {
    if (xcb_connection_t* c = QtX11Connection()) {
        xcb_flush(c);
        return;
    }
    if (!qGuiApp || !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (auto* display =
            native ? static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"))
                   : nullptr)
        wl_display_flush(display);
}

} // namespace ui
