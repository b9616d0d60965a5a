#include "platform/ui/screen_depth.h"

#include <QGuiApplication>
#include <QScreen>

namespace ui {

int ScreenBitsPerPixel(const QScreen* screen) {
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 32;
    const int depth = screen->depth();
    if (depth == 24)
        return 32;
    if (depth == 15)
        return 16;
    return depth;
}

} // namespace ui
