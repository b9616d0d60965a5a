#include "platform/ui/qt_presenter.h"

#include "platform/ui/presenter_widget.h"
#include "platform/ui/qt_window_system.h"
#include "platform/ui/x11_desktop_memory.h"

#include <QGuiApplication>
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
    const QRect client = ToQRect(clientRect);
    const QRect part = ToQRect(changed).intersected(client);
    PresenterWidget::Of(form)->ShowDesktop(desktop, client, part.translated(-client.topLeft()));
}

void QtPresenter::FinishPresenting(ddraw::HWND window) {
    if (PresenterWidget* presenter = PresenterWidget::Find(WidgetFromHandle(window)))
        presenter->FinishShowingDesktop();
}

void QtPresenter::PrimaryPixelsGoing(const ddraw::BYTE* pixels) {
    PresenterWidget::PixelsGoing(pixels);
}

ddraw::BYTE* QtPresenter::AllocatePrimaryPixels(std::size_t bytes) {
    // On X the desktop's pixels go in memory the server reads, so frames
    // reach windows without a copy.
    return x11_desktop_memory::Allocate(bytes);
}

void QtPresenter::FreePrimaryPixels(ddraw::BYTE* pixels) {
    x11_desktop_memory::Free(pixels);
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
