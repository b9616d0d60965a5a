#include "platform/ui/presenter_widget.h"

#include "base/rect.h"
#include "platform/ui/pixel_image.h"
#include "platform/ui/wayland_frame_view.h"
#include "platform/ui/window_settle.h"
#include "platform/ui/window_system_flush.h"
#include "platform/ui/x11_frame_view.h"
#include "platform/ui/x11_window_manager.h"
#include "platform/ui/x11_window_painter.h"

#include <QBackingStore>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QRegion>
#include <QScreen>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace ui {

namespace {

const char* const kObjectName = "pimuru-presenter";

bool CompositorPlacesWindows() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

PresenterWidget* PresenterWidget::Find(QWidget* form) {
    if (!form)
        return nullptr;
    // The last one found is kept while it lives: a game shows its frames on
    // the same form many times a frame.
    static auto& last = *new QPointer<PresenterWidget>; // outlives every widget
    if (last && last->parentWidget() == form)
        return last.data();
    PresenterWidget* found =
        form->findChild<PresenterWidget*>(QString::fromLatin1(kObjectName), Qt::FindDirectChildrenOnly);
    if (found)
        last = found;
    return found;
}

PresenterWidget* PresenterWidget::Of(QWidget* form) {
    if (PresenterWidget* existing = Find(form))
        return existing;
    return new PresenterWidget(form);
}

std::vector<PresenterWidget*>& PresenterWidget::Live() {
    static auto& live = *new std::vector<PresenterWidget*>; // outlives every widget
    return live;
}

PresenterWidget::~PresenterWidget() {
    std::erase(Live(), this);
}

PresenterWidget::PresenterWidget(QWidget* form) : QWidget(form), form_(form) {
    Live().push_back(this);
    setObjectName(QString::fromLatin1(kObjectName));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(form->rect());
    // Beneath the controls: the launcher's panel hides the frame as a
    // window's controls paint over what was blitted onto the screen.
    lower();
    show();
    form->installEventFilter(this);
}

bool PresenterWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watchedWindow_ && event->type() == QEvent::Expose && !fullScreen_) {
        // Qt's image of the window misses the frames put straight onto the
        // window: it is brought up to date before Qt shows it again.
        update();
    }
    if (watched == watchedWindow_ && fullScreen_ && event->type() == QEvent::WindowStateChange) {
        // The compositor granted the state: it takes effect with the
        // window's next image, which is painted now (the window's size may
        // not have changed, and then Qt would not paint it).
        update();
    }
    if (watched == form_ && event->type() == QEvent::Resize) {
        setGeometry(form_->rect());
        if (view_)
            view_->setGeometry(form_->rect());
        // The last frame, at the window's new size; shown from the event
        // loop, as this may be reached while Qt handles the compositor's
        // messages.
        if (waylandView_) {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (waylandView_)
                        waylandView_->ShowAgain();
                },
                Qt::QueuedConnection);
        }
        frameOnScreen_ = false; // the window's image is made anew
    }
    return QWidget::eventFilter(watched, event);
}

void PresenterWidget::ShowDesktop(const ddraw::PixelView& desktop, const QRect& client,
                                  const QRect& changed) {
    desktop_ = desktop;
    client_ = client;
    windowImage_ = QImage();
    if (fullScreen_ || changed.isEmpty() || PutOnWindow(changed))
        return;
    update(changed);
    unpainted_ += changed;
}

void PresenterWidget::FinishShowingDesktop() {
    if (windowPainter_)
        windowPainter_->Send();
    if (unpainted_.isEmpty())
        return;
    // Qt would paint them when the event loop next runs, which a game does
    // only after its next frame's wait.
    const QWindow* handle = window()->windowHandle();
    if (!isVisible() || !handle || !handle->isExposed())
        return;
    repaint(std::exchange(unpainted_, QRegion()));
    FlushWindowSystem();
}

bool PresenterWidget::PutOnWindow(const QRect& changed) {
    QWindow* handle = window()->windowHandle();
    if (noWindowPainter_ || !isVisible() || !handle || !handle->isExposed() || devicePixelRatioF() != 1.0 ||
        ControlsOver(changed))
        return false;
    const QRect onDesktop = changed.translated(client_.topLeft());
    if (!QRect(0, 0, desktop_.Width, desktop_.Height).contains(onDesktop))
        return false; // the parts off the desktop are painted black by Qt
    if (!windowPainter_) {
        windowPainter_ = X11WindowPainter::Create(this);
        noWindowPainter_ = !windowPainter_;
        if (noWindowPainter_)
            return false;
    }
    Watch(handle);
    ddraw::PixelView part = desktop_;
    part.Pixels = desktop_.Row(onDesktop.top()) +
                  static_cast<std::ptrdiff_t>(onDesktop.left()) * static_cast<std::ptrdiff_t>(desktop_.BitsPerPixel / 8);
    part.Width = onDesktop.width();
    part.Height = onDesktop.height();
    return windowPainter_->Put(part, mapTo(window(), changed.topLeft()));
}

void PresenterWidget::Watch(QWindow* window) {
    if (window && window != watchedWindow_) {
        window->installEventFilter(this);
        watchedWindow_ = window;
    }
}

bool PresenterWidget::ControlsOver(const QRect& area) const {
    for (QObject* child : form_->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && control != this && control->isVisible() && !control->isWindow() &&
            control->geometry().translated(-pos()).intersects(area))
            return true;
    }
    return false;
}

void PresenterWidget::PixelsGoing(const ddraw::BYTE* pixels) {
    for (PresenterWidget* presenter : Live()) {
        if (presenter->desktop_.Pixels != pixels || !pixels)
            continue;
        presenter->windowImage_ = CopyToRgb32(presenter->desktop_, presenter->client_);
        presenter->desktop_ = {};
    }
}

void PresenterWidget::EnterFullScreen(const QRect& screenGeometry) {
    if (!fullScreen_) {
        saved_ = {form_->windowFlags(), form_->windowState(), form_->geometry(), form_->minimumSize(),
                  form_->maximumSize(), form_->isVisible()};
        fullScreen_ = true;
        // Full screen is the window manager's or compositor's to grant
        // (Qt's full-screen state asks it the desktop's way): a window made
        // as large as the screen is fitted inside the manager's work area
        // and frames, beneath its panels. The borderless window as large as
        // the screen is only for an X server without such a manager.
        // A Wayland client cannot place its windows: there full screen is
        // granted on the screen the window is put on.
        grantedFullScreen_ = CompositorPlacesWindows() || X11ManagerGrantsFullScreen();
    }
    screenGeometry_ = screenGeometry;
    frame_ = {};
    frameOnScreen_ = false;
    fullScreenPainted_ = false;
    noWaylandView_ = false;
    form_->setMinimumSize(0, 0);
    form_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    raise();
    if (grantedFullScreen_) {
        // An X manager makes a window full screen on the screen it is on.
        if (!CompositorPlacesWindows() && !screenGeometry.contains(form_->frameGeometry().center()))
            form_->move(screenGeometry.center() - QPoint(form_->width() / 2, form_->height() / 2));
        form_->winId(); // the native window, to be put on the screen
        if (QScreen* screen = QGuiApplication::screenAt(screenGeometry.center()))
            form_->windowHandle()->setScreen(screen);
        Watch(form_->windowHandle());
        form_->showFullScreen();
    } else {
        if (form_->windowFlags() != (Qt::Window | Qt::FramelessWindowHint)) {
            form_->hide();
            SettleHidden(form_);
        }
        form_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        form_->setGeometry(screenGeometry);
        form_->show();
    }
    form_->raise();
    form_->activateWindow();
    // Where the X server can scale the frames itself, a view of its own
    // covers the form and shows them.
    if (!view_)
        view_ = X11FrameView::Create(form_);
    if (view_) {
        view_->setGeometry(form_->rect());
        view_->raise();
    }
    update();
    // The game goes on once the manager has answered, or after a time limit
    // without its answer: the frames follow the window's size either way.
    // A Wayland compositor answers while frames are shown.
    if (!CompositorPlacesWindows())
        SettleShown(form_, [this, screenGeometry] { return form_->geometry() == screenGeometry; });
}

void PresenterWidget::ShowFrame(const ddraw::PixelView& frame) {
    // On Wayland the frames go to buffers of their own once Qt has shown the
    // full-screen window (the compositor has then taken the window's state
    // and size).
    if (!waylandView_ && !noWaylandView_ && fullScreen_ && fullScreenPainted_ && CompositorPlacesWindows()) {
        waylandView_ = WaylandFrameView::Create(form_);
        noWaylandView_ = !waylandView_;
        if (waylandView_)
            update(); // the window commits again, which shows the view
    }
    if (waylandView_) {
        // The view keeps the frame to show it again when the compositor
        // gives the window another size (as it grants the full-screen state).
        if (waylandView_->Show(frame))
            return;
        waylandView_.reset(); // painted here until the next full screen
        noWaylandView_ = true;
    }
    if (view_) {
        if (view_->Show(frame))
            return;
        delete view_; // this frame cannot be shown there: painted here from now on
        view_ = nullptr;
    }
    // Painted at once, straight from the surface: the frame's bytes are not
    // copied on the usual path. A window that cannot paint now (not exposed
    // yet) gets a copy to paint from later, as the surface may change or go.
    frame_ = frame;
    framePainted_ = false;
    repaint();
    FlushWindowSystem();
    // A compositor may ask for the window anew at any time (as it grants
    // the full-screen state, say) and the window's image may then be a new
    // one: there the frame is kept as well.
    if (framePainted_ && !CompositorPlacesWindows()) {
        frame_ = {};
        framePixels_ = {};
        return;
    }
    KeepFrame(frame);
    if (!framePainted_)
        update();
}

void PresenterWidget::KeepFrame(const ddraw::PixelView& frame) {
    const std::size_t bytes = frame.Pixels && frame.Height > 0 && frame.Pitch > 0
                                  ? static_cast<std::size_t>(frame.Height) * static_cast<std::size_t>(frame.Pitch)
                                  : 0;
    framePixels_.assign(frame.Pixels, frame.Pixels + bytes);
    frame_.Pixels = bytes ? framePixels_.data() : nullptr;
    if (frame.Palette) {
        std::copy(frame.Palette, frame.Palette + framePalette_.size(), framePalette_.begin());
        frame_.Palette = framePalette_.data();
    }
}

void PresenterWidget::LeaveFullScreen() {
    if (!fullScreen_)
        return;
    fullScreen_ = false;
    waylandView_.reset();
    delete view_;
    view_ = nullptr;
    frame_ = {};
    frameOnScreen_ = false;
    framePixels_ = {};
    if (grantedFullScreen_) {
        // The manager gives the window its former place and size back; a
        // place asked for before it has done so could be overruled.
        form_->setWindowState(saved_.state);
        if (!CompositorPlacesWindows())
            SettleShown(form_, [this] { return form_->geometry() != screenGeometry_; });
    } else if (form_->windowFlags() != saved_.flags) {
        form_->hide();
        SettleHidden(form_);
        form_->setWindowFlags(saved_.flags);
        form_->setWindowState(saved_.state);
    }
    form_->setMinimumSize(saved_.minimumSize);
    form_->setMaximumSize(saved_.maximumSize);
    form_->setGeometry(saved_.geometry);
    if (saved_.visible) {
        form_->show();
        SettleShown(form_);
    }
    lower();
    update();
}

QRect PresenterWidget::ScaledPart(const QRect& part, const QSize& frame, const QRect& place) {
    if (frame.isEmpty())
        return QRect();
    const auto firstTarget = [](int at, int sourceLength, int targetLength) {
        return static_cast<int>((static_cast<qint64>(at) * targetLength + sourceLength - 1) / sourceLength);
    };
    const int left = firstTarget(part.left(), frame.width(), place.width());
    const int right = firstTarget(part.left() + part.width(), frame.width(), place.width());
    const int top = firstTarget(part.top(), frame.height(), place.height());
    const int bottom = firstTarget(part.top() + part.height(), frame.height(), place.height());
    return QRect(left, top, right - left, bottom - top).translated(place.topLeft());
}

QRect PresenterWidget::FittedRect(const QSize& frame, const QSize& area) {
    const base::Rect fitted = base::FitInside(frame.width(), frame.height(),
                                              base::MakeRect(0, 0, area.width(), area.height()));
    return QRect(fitted.Left, fitted.Top, fitted.Width(), fitted.Height());
}

void PresenterWidget::paintEvent(QPaintEvent* event) {
    unpainted_ -= event->region();
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (fullScreen_) {
        PaintFullScreen(painter);
        return;
    }
    PaintWindow(painter, event->region());
}

void PresenterWidget::PaintWindow(QPainter& painter, const QRegion& region) {
    if (!desktop_.Pixels) {
        // Only what the kept image does not cover needs black.
        for (const QRect& rest : region.subtracted(QRegion(windowImage_.rect())))
            painter.fillRect(rest, Qt::black);
        if (!windowImage_.isNull())
            painter.drawImage(QPoint(0, 0), windowImage_);
        return;
    }
    // Straight from the desktop's pixels; parts of the window off the
    // desktop are black.
    const QRect onDesktop = QRect(0, 0, desktop_.Width, desktop_.Height).translated(-client_.topLeft());
    for (const QRect& rest : region.subtracted(QRegion(onDesktop)))
        painter.fillRect(rest, Qt::black);
    QImage* store = OpaqueWindowImage(painter, QTransform::TxTranslate);
    const QPoint toStore = store ? painter.deviceTransform().map(QPoint(0, 0)) : QPoint();
    for (const QRect& area : region.intersected(onDesktop)) {
        const QRect source = area.translated(client_.topLeft());
        const QRect target = area.translated(toStore);
        if (store && WrappableFormat(desktop_) == QImage::Format_RGB32 && store->rect().contains(target)) {
            // The usual case: rows copied onto the window's image, opaque.
            for (int y = 0; y < area.height(); ++y) {
                const auto* in = reinterpret_cast<const std::uint32_t*>(desktop_.Row(source.top() + y)) + source.left();
                auto* out = reinterpret_cast<std::uint32_t*>(store->scanLine(target.top() + y)) + target.left();
                StreamOpaqueRow(in, out, area.width());
            }
            FinishStreaming();
        } else {
            painter.drawImage(area.topLeft(), CopyToRgb32(desktop_, source));
        }
    }
}

QImage* PresenterWidget::OpaqueWindowImage(QPainter& painter, QTransform::TransformationType reach) {
    QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    const QTransform& transform = painter.deviceTransform();
    if (!device || device->devType() != QInternal::Image || transform.type() > reach || transform.m11() <= 0 ||
        transform.m22() <= 0)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const bool opaque32 = image->format() == QImage::Format_RGB32 ||
                          image->format() == QImage::Format_ARGB32_Premultiplied;
    return opaque32 ? image : nullptr;
}

bool PresenterWidget::PaintsOnWindowImage(QPainter& painter) const {
    QBackingStore* store = window()->backingStore();
    return store && painter.paintEngine() && painter.paintEngine()->paintDevice() == store->paintDevice();
}

void PresenterWidget::PaintFullScreen(QPainter& painter) {
    if (PaintsOnWindowImage(painter))
        fullScreenPainted_ = true;
    // Where frames go to buffers of their own, Qt's image of the window gets
    // the last of them, as Qt may show its image in place of those buffers.
    if (waylandView_)
        waylandView_->WindowRepainted();
    const ddraw::PixelView& shown = waylandView_ ? waylandView_->Shown() : frame_;
    if (!shown.Pixels && frameOnScreen_ && PaintsOnWindowImage(painter))
        return; // the last frame is still there
    const QSize frame(shown.Width, shown.Height);
    // Scaled straight into the window's own image when the painter reaches
    // it (the raster back end): one pass over the screen's pixels instead of
    // a scaled copy and a second copy of that. The frame is fitted to the
    // image's own pixels, so on a high-density screen it uses all of them.
    if (QImage* store = OpaqueWindowImage(painter, QTransform::TxScale)) {
        const QRect area = painter.deviceTransform().mapRect(QRectF(rect())).toAlignedRect().intersected(store->rect());
        const QRect target = FittedRect(frame, area.size()).translated(area.topLeft());
        // Black bars around the frame (all black before the first frame);
        // the frame's own area is not filled first, which would cost a
        // whole screen of writes on every frame.
        for (const QRect& bar : QRegion(area).subtracted(QRegion(target)))
            FillOpaqueBlack(*store, bar);
        if (target.isEmpty())
            return;
        framePainted_ = true;
        frameOnScreen_ = true;
        QImage part(store->scanLine(target.top()) + target.left() * 4, target.width(), target.height(),
                    store->bytesPerLine(), QImage::Format_RGB32);
        ScaleToRgb32(shown, part);
        return;
    }
    const QRect target = FittedRect(frame, size());
    for (const QRect& bar : QRegion(rect()).subtracted(QRegion(target)))
        painter.fillRect(bar, Qt::black);
    if (target.isEmpty())
        return;
    framePainted_ = true;
    frameOnScreen_ = true;
    if (scaled_.size() != target.size())
        scaled_ = QImage(target.size(), QImage::Format_RGB32);
    ScaleToRgb32(shown, scaled_);
    painter.drawImage(target.topLeft(), scaled_);
}

} // namespace ui
