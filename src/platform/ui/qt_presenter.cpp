#include "platform/ui/qt_presenter.h"

#include "platform/ui/pixel_image.h"
#include "platform/ui/presenter_widget.h"
#include "platform/ui/qt_window_system.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace ui {

namespace {

QRect ToQRect(const ddraw::RECT& rect) {
    return QRect(rect.Left, rect.Top, rect.Width(), rect.Height());
}

} // namespace

void QtPresenter::PresentWindow(ddraw::HWND window, const ddraw::PixelView& desktop,
                                const ddraw::RECT& clientRect, const ddraw::RECT& changed) {
    QWidget* form = WidgetFromHandle(window);
    if (!form)
        return;
    PresenterWidget* presenter = PresenterWidget::Of(form);
    const QRect client = ToQRect(clientRect);
    QImage& image = presenter->WindowImage();
    if (image.size() != client.size()) {
        image = QImage(client.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
    }
    // Only what was drawn inside the client area is copied; parts of the
    // window off the desktop stay black.
    const QRect part = ToQRect(changed).intersected(client);
    if (part.isEmpty() || image.isNull())
        return;
    const QPoint at = part.topLeft() - client.topLeft();
    const QRect inside = part.intersected(QRect(0, 0, desktop.Width, desktop.Height));
    if (WrappableFormat(desktop) == QImage::Format_RGB32 && inside == part) {
        // The usual case, once per frame: straight row copies, no temporary.
        for (int y = 0; y < part.height(); ++y) {
            const auto* source =
                reinterpret_cast<const std::uint32_t*>(desktop.Row(part.top() + y)) + part.left();
            auto* target = reinterpret_cast<std::uint32_t*>(image.scanLine(at.y() + y)) + at.x();
            for (int x = 0; x < part.width(); ++x)
                target[x] = source[x] | 0xFF000000u;
        }
    } else {
        const QImage drawn = CopyToRgb32(desktop, part);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(at, drawn);
    }
    presenter->WindowChanged(QRect(at, part.size()));
}

void QtPresenter::EnterFullScreen(ddraw::HWND window, int screen, ddraw::LONG, ddraw::LONG,
                                  ddraw::DWORD) {
    QWidget* form = WidgetFromHandle(window);
    if (!form)
        return;
    // Screen indexes follow the window system's list: the primary first.
    QScreen* target = QGuiApplication::primaryScreen();
    const QList<QScreen*> screens = QGuiApplication::screens();
    int index = 1;
    for (QScreen* candidate : screens) {
        if (candidate == QGuiApplication::primaryScreen())
            continue;
        if (index == screen)
            target = candidate;
        ++index;
    }
    if (!target)
        return;
    PresenterWidget::Of(form)->EnterFullScreen(target->geometry());
}

void QtPresenter::PresentFullScreen(ddraw::HWND window, const ddraw::PixelView& frame) {
    QWidget* form = WidgetFromHandle(window);
    if (!form)
        return;
    PresenterWidget::Of(form)->ShowFrame(frame);
}

void QtPresenter::LeaveFullScreen(ddraw::HWND window) {
    QWidget* form = WidgetFromHandle(window);
    if (PresenterWidget* presenter = PresenterWidget::Find(form))
        presenter->LeaveFullScreen();
}

} // namespace ui
