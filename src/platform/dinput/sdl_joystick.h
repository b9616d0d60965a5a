#pragma once
// A joystick on SDL: the standard 80-byte joystick state. A gamepad SDL knows
// (its controller database, or SDL_GAMECONTROLLERCONFIG) gives its left stick
// as X and Y, the south face button as button 0 and its directional pad as
// hat 0, whatever its own numbering; any other joystick gives SDL axes 0-7
// (X, Y, Z, X/Y/Z rotation, two sliders), hats 0-3 and buttons 0-31. Each
// axis is scaled to the range the program set (0 ... 65535 until then). A
// pad pulled out and put back is taken up again by the next Acquire.

#include "platform/dinput/device_base.h"

#include <SDL_joystick.h>

#include <array>

struct _SDL_GameController;

namespace dinput {

class SdlJoystick final : public DeviceBase {
public:
    // The joystick SDL lists at `index`, opened; null when it cannot be.
    static SdlJoystick* Open(int index);

    HRESULT SetProperty(DIPROPID property, const DIPROPHEADER* header) override;
    HRESULT Acquire() override;

protected:
    ~SdlJoystick() override;

    bool AcceptsFormat(const DIDATAFORMAT& format) const override;
    HRESULT ReadState(std::uint32_t size, void* data) override;
    HRESULT DoPoll() override;

private:
    struct Range {
        std::int32_t min = 0;
        std::int32_t max = 65535;
    };

    SdlJoystick();
    bool OpenAt(int index);
    void Close();
    // Opens the same pad again once it is back: an attached joystick with
    // the same SDL GUID that no joystick device here holds open.
    bool Reconnect();
    int AxisCount() const;

    bool controllers_ = false; // SDL's game controller subsystem is up
    _SDL_Joystick* joystick_ = nullptr;
    _SDL_GameController* controller_ = nullptr; // a known gamepad; owns joystick_
    SDL_JoystickGUID guid_{};
    SDL_JoystickID instance_ = -1;
    std::array<Range, 8> ranges_{};
};

} // namespace dinput
