#pragma once
// For tests on a real X server: lets the server draw what was asked, then
// reads the whole screen. With PIMURU_SCREENSHOT_DIR set, the picture is also
// saved there as <label>.png for a person to look at.

#include "platform/component/desktop.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

namespace testsupport {

inline QImage GrabScreen(const QString& label) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300)
        ui::CurrentDesktop().WaitForMessages(20);
    QImage image = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
    if (const QByteArray dir = qgetenv("PIMURU_SCREENSHOT_DIR"); !dir.isEmpty())
        image.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + label + QStringLiteral(".png"));
    return image;
}

} // namespace testsupport
