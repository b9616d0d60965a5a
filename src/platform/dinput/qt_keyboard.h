#pragma once
// The system keyboard: a 256-byte snapshot by scan code, kept from the key
// events of the owner window. Every key counts as released when the window
// loses focus, since its releases would go to another window.

#include "platform/dinput/device_base.h"
#include "platform/dinput/key_scan_codes.h"

#include <array>
#include <map>

namespace dinput {

class QtKeyboard final : public DeviceBase {
public:
    explicit QtKeyboard(KeyboardLayout layout);

protected:
    bool AcceptsFormat(const DIDATAFORMAT& format) const override;
    HRESULT CheckLevel(std::uint32_t flags) const override;
    HRESULT ReadState(std::uint32_t size, void* data) override;
    void OnWindowEvent(QObject* receiver, QEvent* event) override;
    void OnFocusLost() override;

private:
    void Press(const QKeyEvent& event);
    void Release(const QKeyEvent& event);

    KeyboardLayout layout_;
    std::array<std::uint8_t, 256> keys_{};
    // The scan code each held key was pressed as, by platform key code, so
    // that a release whose symbol changed (Shift let go first) finds its key.
    std::map<std::uint32_t, std::uint8_t> heldByNativeCode_;
};

} // namespace dinput
