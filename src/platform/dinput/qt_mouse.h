#pragma once
// The system mouse: X, Y and wheel motion accumulated between reads and the
// buttons, kept from the pointer events of the owner window; a snapshot is
// three signed 32-bit motions followed by up to 32 button bytes.

#include "platform/dinput/device_base.h"

#include <QPointF>

#include <array>
#include <optional>

namespace dinput {

class QtMouse final : public DeviceBase {
public:
    QtMouse();

protected:
    bool AcceptsFormat(const DIDATAFORMAT& format) const override;
    HRESULT ReadState(std::uint32_t size, void* data) override;
    void OnWindowEvent(QObject* receiver, QEvent* event) override;
    void OnFocusLost() override;
    void OnAcquire() override;

private:
    void Move(QPointF globalPosition);
    void SetButtons(Qt::MouseButtons buttons);

    std::int32_t motion_[3] = {};
    double pendingX_ = 0;
    double pendingY_ = 0;
    std::optional<QPointF> lastPosition_;
    std::array<std::uint8_t, 32> buttons_{};
};

} // namespace dinput
