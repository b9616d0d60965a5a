#include "platform/dinput/device_base.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>

namespace dinput {

// Sees every event of the application before its receiver does, so that key
// and mouse input reaches the device whichever child widget has the focus.
class DeviceBase::EventTap : public QObject {
public:
    explicit EventTap(DeviceBase& device) : device_(device) {
        if (qApp)
            qApp->installEventFilter(this);
    }
    ~EventTap() override {
        if (qApp)
            qApp->removeEventFilter(this);
    }

    bool eventFilter(QObject* receiver, QEvent* event) override {
        device_.HandleEvent(receiver, event);
        return false;
    }

private:
    DeviceBase& device_;
};

DeviceBase::DeviceBase() = default;
DeviceBase::~DeviceBase() = default;

std::uint32_t DeviceBase::AddRef() { return ++references_; }

std::uint32_t DeviceBase::Release() {
    std::uint32_t left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT DeviceBase::QueryInterface(const GUID& iid, void** object) {
    if (!object)
        return DIERR_INVALIDPARAM;
    *object = nullptr;
    if (!(iid == IID_IDirectInputDevice2A))
        return DIERR_NOINTERFACE;
    AddRef();
    *object = static_cast<IDirectInputDevice2*>(this);
    return DI_OK;
}

HRESULT DeviceBase::SetDataFormat(const DIDATAFORMAT* format) {
    if (acquired_)
        return DIERR_ACQUIRED;
    if (!format || format->dwSize != sizeof(DIDATAFORMAT) || format->dwObjSize != sizeof(DIOBJECTDATAFORMAT) ||
        (format->dwNumObjs != 0 && !format->rgodf) || !AcceptsFormat(*format))
        return DIERR_INVALIDPARAM;
    formatSize_ = format->dwDataSize;
    return DI_OK;
}

HRESULT DeviceBase::SetCooperativeLevel(void* window, std::uint32_t flags) {
    if (acquired_)
        return DIERR_ACQUIRED;
    bool exclusive = flags & DISCL_EXCLUSIVE;
    bool foreground = flags & DISCL_FOREGROUND;
    if (exclusive == static_cast<bool>(flags & DISCL_NONEXCLUSIVE) ||
        foreground == static_cast<bool>(flags & DISCL_BACKGROUND) ||
        (flags & ~(DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND)))
        return DIERR_INVALIDPARAM;
    auto* widget = static_cast<QWidget*>(window);
    if (!widget && foreground)
        return DIERR_HANDLE;
    if (HRESULT refused = CheckLevel(flags))
        return refused;
    level_ = flags;
    window_ = widget ? widget->window() : nullptr;
    if (window_ && !tap_)
        tap_ = std::make_unique<EventTap>(*this);
    return DI_OK;
}

HRESULT DeviceBase::CheckLevel(std::uint32_t) const { return DI_OK; }

HRESULT DeviceBase::SetProperty(DIPROPID, const DIPROPHEADER* header) {
    return header ? DIERR_UNSUPPORTED : DIERR_INVALIDPARAM;
}

HRESULT DeviceBase::Acquire() {
    if (formatSize_ == 0)
        return DIERR_INVALIDPARAM;
    if (acquired_)
        return DI_NOEFFECT;
    if ((level_ & DISCL_FOREGROUND) && !(window_ && window_->isActiveWindow()))
        return DIERR_OTHERAPPHASPRIO;
    acquired_ = true;
    lost_ = false;
    OnAcquire();
    return DI_OK;
}

HRESULT DeviceBase::Unacquire() {
    if (!acquired_)
        return DI_NOEFFECT;
    acquired_ = false;
    return DI_OK;
}

HRESULT DeviceBase::GetDeviceState(std::uint32_t size, void* data) {
    if (!data || formatSize_ == 0 || size != formatSize_)
        return DIERR_INVALIDPARAM;
    if (!acquired_) {
        // The first read after a loss says so; later ones only that the
        // device is not acquired.
        HRESULT result = lost_ ? DIERR_INPUTLOST : DIERR_NOTACQUIRED;
        lost_ = false;
        return result;
    }
    return ReadState(size, data);
}

HRESULT DeviceBase::Poll() {
    if (!acquired_)
        return DIERR_NOTACQUIRED;
    return DoPoll();
}

bool DeviceBase::BelongsToWindow(QObject* receiver) const {
    if (!window_)
        return false;
    if (receiver->isWidgetType())
        return static_cast<QWidget*>(receiver)->window() == window_;
    return receiver->isWindowType() && receiver == window_->windowHandle();
}

void DeviceBase::LoseAcquisition() {
    if (!acquired_)
        return;
    acquired_ = false;
    lost_ = true;
}

void DeviceBase::OnWindowEvent(QObject*, QEvent*) {}

void DeviceBase::HandleEvent(QObject* receiver, QEvent* event) {
    if (!window_)
        return;
    switch (event->type()) {
    case QEvent::WindowDeactivate:
        if (receiver == window_) {
            if (level_ & DISCL_FOREGROUND)
                LoseAcquisition();
            OnFocusLost();
        }
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Leave:
        if (BelongsToWindow(receiver))
            OnWindowEvent(receiver, event);
        break;
    default:
        break;
    }
}

} // namespace dinput
