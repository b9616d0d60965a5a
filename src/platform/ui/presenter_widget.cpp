#include "platform/ui/presenter_widget.h"

#include <QEvent>
#include <QPainter>
#include <QRegion>

namespace ui {

namespace {
const char* const kObjectName = "pimuru-presenter";
}

PresenterWidget* PresenterWidget::Find(QWidget* form) {
    if (!form)
        return nullptr;
    return form->findChild<PresenterWidget*>(QString::fromLatin1(kObjectName),
                                             Qt::FindDirectChildrenOnly);
}

PresenterWidget* PresenterWidget::Of(QWidget* form) {
    if (PresenterWidget* existing = Find(form))
        return existing;
    return new PresenterWidget(form);
}

PresenterWidget::PresenterWidget(QWidget* form) : QWidget(form), form_(form) {
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
    if (watched == form_ && event->type() == QEvent::Resize)
        setGeometry(form_->rect());
    return QWidget::eventFilter(watched, event);
}

void PresenterWidget::WindowChanged(const QRect& part) {
    if (!fullScreen_)
        update(part);
}

void PresenterWidget::EnterFullScreen(const QRect& screenGeometry) {
    if (!fullScreen_) {
        saved_ = {form_->windowFlags(), form_->geometry(), form_->minimumSize(),
                  form_->maximumSize(), form_->isVisible()};
        fullScreen_ = true;
    }
    frame_ = QImage();
    frameSize_ = QSize();
    // A borderless window as large as the screen works with and without a
    // window manager, where a full-screen request alone may be ignored.
    form_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    form_->setMinimumSize(0, 0);
    form_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    form_->setGeometry(screenGeometry);
    raise();
    form_->show();
    form_->raise();
    form_->activateWindow();
    update();
}

QImage& PresenterWidget::ScaledFrame(const QSize& frameSize) {
    frameSize_ = frameSize;
    const QSize shown = FittedRect(frameSize, size()).size();
    if (frame_.size() != shown)
        frame_ = shown.isEmpty() ? QImage() : QImage(shown, QImage::Format_RGB32);
    return frame_;
}

void PresenterWidget::FrameChanged() {
    update();
}

void PresenterWidget::LeaveFullScreen() {
    if (!fullScreen_)
        return;
    fullScreen_ = false;
    frame_ = QImage();
    frameSize_ = QSize();
    form_->setWindowFlags(saved_.flags);
    form_->setMinimumSize(saved_.minimumSize);
    form_->setMaximumSize(saved_.maximumSize);
    form_->setGeometry(saved_.geometry);
    if (saved_.visible)
        form_->show();
    lower();
    update();
}

QRect PresenterWidget::FittedRect(const QSize& frame, const QSize& area) {
    if (frame.isEmpty() || area.isEmpty())
        return QRect();
    // Integer arithmetic: the frame fills the full width or the full height.
    const qint64 byWidth = static_cast<qint64>(area.width()) * frame.height();
    const qint64 byHeight = static_cast<qint64>(area.height()) * frame.width();
    QSize fitted;
    if (byWidth <= byHeight)
        fitted = QSize(area.width(), static_cast<int>(byWidth / frame.width()));
    else
        fitted = QSize(static_cast<int>(byHeight / frame.height()), area.height());
    return QRect(QPoint((area.width() - fitted.width()) / 2, (area.height() - fitted.height()) / 2),
                 fitted);
}

void PresenterWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (fullScreen_) {
        QRect target = FittedRect(frameSize_, size());
        if (frame_.size() != target.size())
            target = QRect(); // the screen changed size since the frame was scaled
        // Black bars around the frame (all black before the first frame);
        // the frame's own area is not filled first, which would cost a whole
        // screen of writes on every frame.
        for (const QRect& bar : QRegion(rect()).subtracted(QRegion(target)))
            painter.fillRect(bar, Qt::black);
        if (!target.isEmpty())
            painter.drawImage(target.topLeft(), frame_);
        return;
    }
    // Only what the client image does not cover needs black.
    for (const QRect& rest : QRegion(rect()).subtracted(QRegion(windowImage_.rect())))
        painter.fillRect(rest, Qt::black);
    if (!windowImage_.isNull())
        painter.drawImage(QPoint(0, 0), windowImage_);
}

} // namespace ui
