#include "platform/dinput/qt_mouse.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace dinput {
namespace {

// Motion piles up while nobody reads; it stops at the ends of the range.
void Accumulate(std::int32_t& total, double delta) {
    double sum = static_cast<double>(total) + delta;
    total = static_cast<std::int32_t>(std::clamp(sum, -2147483648.0, 2147483647.0));
}

} // namespace

QtMouse::QtMouse() = default;

bool QtMouse::AcceptsFormat(const DIDATAFORMAT& format) const {
    return !(format.dwFlags & DIDF_ABSAXIS) && format.dwDataSize >= 12 && format.dwDataSize <= 44 &&
           format.dwDataSize % 4 == 0;
}

HRESULT QtMouse::ReadState(std::uint32_t size, void* data) {
    auto* bytes = static_cast<std::uint8_t*>(data);
    std::memcpy(bytes, motion_, sizeof motion_);
    std::memcpy(bytes + sizeof motion_, buttons_.data(), size - sizeof motion_);
    motion_[0] = motion_[1] = motion_[2] = 0;
    return DI_OK;
}

void QtMouse::OnWindowEvent(QObject* receiver, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto& mouse = static_cast<QMouseEvent&>(*event);
        // The window passes each event on to a widget; both copies carry the
        // same position, so the second one moves nothing.
        Move(mouse.globalPosition());
        SetButtons(mouse.buttons());
        break;
    }
    case QEvent::Wheel:
        // Counted once, where the pointer event enters the window.
        if (receiver->isWindowType() && Acquired())
            Accumulate(motion_[2], static_cast<QWheelEvent&>(*event).angleDelta().y());
        break;
    case QEvent::Leave:
        // The pointer left the window (not merely one of its controls): its
        // next entry is no motion.
        if (receiver == Window() || receiver->isWindowType())
            lastPosition_.reset();
        break;
    default:
        break;
    }
}

void QtMouse::Move(QPointF globalPosition) {
    if (lastPosition_ && Acquired()) {
        // Whole pixels are reported; fractions (high-resolution screens) wait.
        pendingX_ += globalPosition.x() - lastPosition_->x();
        pendingY_ += globalPosition.y() - lastPosition_->y();
        double wholeX = std::trunc(pendingX_);
        double wholeY = std::trunc(pendingY_);
        Accumulate(motion_[0], wholeX);
        Accumulate(motion_[1], wholeY);
        pendingX_ -= wholeX;
        pendingY_ -= wholeY;
    }
    lastPosition_ = globalPosition;
}

void QtMouse::SetButtons(Qt::MouseButtons buttons) {
    // Qt numbers left, right, middle, back, forward, ... as the platform does.
    for (int i = 0; i < 32; ++i)
        buttons_[i] = (buttons.toInt() >> i) & 1 ? 0x80 : 0;
}

void QtMouse::OnFocusLost() {
    buttons_.fill(0);
    lastPosition_.reset();
}

void QtMouse::OnAcquire() {
    motion_[0] = motion_[1] = motion_[2] = 0;
    pendingX_ = pendingY_ = 0;
}

} // namespace dinput
