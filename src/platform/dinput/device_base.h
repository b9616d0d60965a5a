#pragma once
// What the keyboard, mouse and joystick devices of the back end share:
// references, data format, cooperative level on the owner window and
// acquisition, which a foreground device loses when its window loses focus.

#include "platform/dinput/dinput.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace dinput {

class DeviceBase : public IDirectInputDevice2 {
public:
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    HRESULT QueryInterface(const GUID& iid, void** object) override;
    HRESULT SetDataFormat(const DIDATAFORMAT* format) override;
    HRESULT SetCooperativeLevel(void* window, std::uint32_t flags) override;
    HRESULT SetProperty(DIPROPID property, const DIPROPHEADER* header) override;
    HRESULT Acquire() override;
    HRESULT Unacquire() override;
    HRESULT GetDeviceState(std::uint32_t size, void* data) override;
    HRESULT Poll() override;

    bool Acquired() const { return acquired_; }

protected:
    DeviceBase();
    ~DeviceBase() override;

    // Whether the device can deliver snapshots of `format`.
    virtual bool AcceptsFormat(const DIDATAFORMAT& format) const = 0;
    // Cooperative levels the device refuses besides malformed ones.
    virtual HRESULT CheckLevel(std::uint32_t flags) const;
    // Fills `size` bytes (the data format's size) while acquired.
    virtual HRESULT ReadState(std::uint32_t size, void* data) = 0;
    // An event for a widget or window of the owner window, while it exists.
    virtual void OnWindowEvent(QObject* receiver, QEvent* event);
    // The owner window lost focus (after a foreground device lost acquisition).
    virtual void OnFocusLost() {}
    // Acquisition begins: forget what happened before.
    virtual void OnAcquire() {}
    virtual HRESULT DoPoll() { return DI_NOEFFECT; }

    std::uint32_t FormatSize() const { return formatSize_; }
    // The top-level window the device is bound to (null before
    // SetCooperativeLevel, or when the window is gone).
    QWidget* Window() const { return window_; }
    // Whether `receiver` belongs to the owner window: one of its widgets or
    // its native window.
    bool BelongsToWindow(QObject* receiver) const;
    // Loses the acquisition as a device does when it is taken away from the
    // program (unplugged): the next read fails with DIERR_INPUTLOST.
    void LoseAcquisition();

private:
    class EventTap;

    void HandleEvent(QObject* receiver, QEvent* event);

    std::uint32_t references_ = 1;
    std::uint32_t formatSize_ = 0;
    std::uint32_t level_ = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
    bool acquired_ = false;
    bool lost_ = false;
    QPointer<QWidget> window_;
    std::unique_ptr<EventTap> tap_;
};

} // namespace dinput
