#pragma once
// The DirectInput object of the back end: the system keyboard and mouse from
// the owner window's Qt events, joysticks from SDL's joystick subsystem
// (no SDL video), gamepads SDL knows through their mappings. A force-feedback
// joystick is one that is haptic or can rumble.

#include "platform/dinput/dinput.h"
#include "platform/dinput/key_scan_codes.h"

namespace dinput {

class SdlQtDirectInput final : public IDirectInput {
public:
    explicit SdlQtDirectInput(KeyboardLayout layout);

    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    HRESULT CreateDevice(const GUID& guid, IDirectInputDevice** device, void* outer) override;
    HRESULT EnumDevices(std::uint32_t devType, LPDIENUMDEVICESCALLBACK callback, void* context,
                        std::uint32_t flags) override;

    // The instance GUID of the joystick SDL knows by `instanceId`.
    static GUID JoystickInstanceGuid(std::int32_t instanceId);

private:
    ~SdlQtDirectInput() override;

    std::uint32_t references_ = 1;
    KeyboardLayout layout_;
    bool joysticks_ = false; // SDL's joystick subsystem is up
    bool controllers_ = false; // and its game controller subsystem
    bool haptic_ = false;
};

} // namespace dinput
