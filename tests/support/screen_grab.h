#pragma once
// For tests on a real display (an X server, or weston with --debug): lets the
// window system draw what was asked, then reads the whole screen. With
// PIMURU_SCREENSHOT_DIR set, the picture is also saved there as <label>.png
// for a person to look at.

#include "platform/component/desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>

#include <cmath>

namespace testsupport {

// A screenshot addressed in the window system's coordinates: at a device
// pixel ratio of 2 a coordinate names a block of 2 by 2 of the screen's own
// pixels, of which the top-left one is read.
class ScreenShot {
public:
    ScreenShot(QImage image, qreal ratio) : image_(std::move(image)), ratio_(ratio) {}

    QRgb pixel(int x, int y) const {
        return image_.pixel(static_cast<int>(std::floor(x * ratio_)), static_cast<int>(std::floor(y * ratio_)));
    }
    QRgb pixel(QPoint at) const { return pixel(at.x(), at.y()); }
    QSize size() const { return (QSizeF(image_.size()) / ratio_).toSize(); }
    QRect rect() const { return QRect(QPoint(0, 0), size()); }
    const QImage& image() const { return image_; }
    qreal ratio() const { return ratio_; }

private:
    QImage image_;
    qreal ratio_;
};

inline bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// Whether the tests can read this display's screen.
inline bool ScreenReadable() {
    return QGuiApplication::platformName() == QLatin1String("xcb") || OnWayland();
}

inline void HandleMessagesFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        ui::CurrentDesktop().WaitForMessages(20);
}

// weston's own screenshot client: it writes a PNG into its working folder.
// Our messages are handled meanwhile, as the compositor may be waiting for
// this program's windows.
inline QImage WestonScreenshot() {
    QTemporaryDir folder;
    QProcess shooter;
    shooter.setWorkingDirectory(folder.path());
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    QElapsedTimer clock;
    clock.start();
    while (shooter.state() != QProcess::NotRunning && clock.elapsed() < 20000)
        ui::CurrentDesktop().WaitForMessages(20);
    if (shooter.state() != QProcess::NotRunning || shooter.exitCode() != 0)
        return QImage();
    const QStringList files = QDir(folder.path()).entryList({QStringLiteral("*.png")}, QDir::Files);
    return files.isEmpty() ? QImage() : QImage(folder.filePath(files.front())).convertToFormat(QImage::Format_RGB32);
}

// A compositor shows what a program asked for after a few round trips, later
// on a busy machine: the screen is read until two readings agree.
inline QImage SettledWestonScreenshot() {
    QImage previous;
    for (int attempt = 0; attempt < 30; ++attempt) {
        HandleMessagesFor(100);
        QImage image = WestonScreenshot();
        if (!image.isNull() && image == previous)
            return image;
        previous = std::move(image);
    }
    return previous;
}

inline ScreenShot GrabScreen(const QString& label) {
    HandleMessagesFor(300);
    QScreen* screen = QGuiApplication::primaryScreen();
    QImage image = OnWayland() ? SettledWestonScreenshot() : screen->grabWindow(0).toImage();
    image = image.convertToFormat(QImage::Format_RGB32);
    if (const QByteArray dir = qgetenv("PIMURU_SCREENSHOT_DIR"); !dir.isEmpty())
        image.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + label + QStringLiteral(".png"));
    return ScreenShot(image, screen->devicePixelRatio());
}

// Where a window's client area begins in a screenshot. X tells (`reported`);
// a Wayland client is not told where the compositor put its window, so there
// the area is found by the colour of its top-left pixel: the first pixel of
// that colour whose left and upper neighbours are of another.
inline QPoint ClientOrigin(const ScreenShot& shot, QPoint reported, QRgb topLeft) {
    if (!OnWayland())
        return reported;
    const QSize size = shot.size();
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (shot.pixel(x, y) == topLeft && (x == 0 || shot.pixel(x - 1, y) != topLeft) &&
                (y == 0 || shot.pixel(x, y - 1) != topLeft))
                return QPoint(x, y);
        }
    }
    return reported;
}

} // namespace testsupport
