#pragma once
// An SDL virtual joystick for tests: attached on construction, detached on
// destruction; values set here show after the next SDL_JoystickUpdate.

#include <SDL.h>

#include <string>

namespace testsupport {

struct VirtualJoystickShape {
    std::string name = "Test Pad";
    int axes = 8;
    int buttons = 32;
    int hats = 4;
    bool rumble = false;
    // A gamepad SDL maps by itself (south button first, left stick, pad);
    // otherwise a joystick SDL has no mapping for.
    bool gamepad = false;
    // USB ids, as a real pad has them (0: none).
    Uint16 vendor = 0;
    Uint16 product = 0;
};

class VirtualJoystick {
public:
    explicit VirtualJoystick(const VirtualJoystickShape& shape);
    ~VirtualJoystick();
    VirtualJoystick(const VirtualJoystick&) = delete;
    VirtualJoystick& operator=(const VirtualJoystick&) = delete;

    bool Attached() const { return joystick_ != nullptr; }
    SDL_JoystickID InstanceId() const { return instanceId_; }
    void SetAxis(int axis, Sint16 value) { SDL_JoystickSetVirtualAxis(joystick_, axis, value); }
    void SetButton(int button, bool down) { SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0); }
    void SetHat(int hat, Uint8 value) { SDL_JoystickSetVirtualHat(joystick_, hat, value); }
    // Unplugs it now.
    void Detach();
    // Plugs it in again after Detach, as the same kind of pad.
    void Attach();

private:
    VirtualJoystickShape shape_;
    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID instanceId_ = -1;
};

// Keeps SDL's joystick subsystem up for a test.
class SdlJoysticks {
public:
    SdlJoysticks() { SDL_InitSubSystem(SDL_INIT_JOYSTICK); }
    ~SdlJoysticks() { SDL_QuitSubSystem(SDL_INIT_JOYSTICK); }
    SdlJoysticks(const SdlJoysticks&) = delete;
    SdlJoysticks& operator=(const SdlJoysticks&) = delete;
};

} // namespace testsupport
