#pragma once
// A joystick on SDL: the standard 80-byte joystick state from SDL axes 0-7
// (X, Y, Z, X/Y/Z rotation, two sliders), hats 0-3 and buttons 0-31, each
// axis scaled to the range the program set (0 ... 65535 until then).

#include "platform/dinput/device_base.h"

#include <array>

struct _SDL_Joystick;

namespace dinput {

class SdlJoystick final : public DeviceBase {
public:
    // Takes over an opened joystick.
    explicit SdlJoystick(_SDL_Joystick* joystick);

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

    _SDL_Joystick* joystick_;
    std::array<Range, 8> ranges_{};
};

} // namespace dinput
