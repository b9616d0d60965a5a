#include "platform/dinput/sdl_joystick.h"

#include "platform/dinput/joystick_values.h"

#include <SDL.h>

#include <cstring>

namespace dinput {

SdlJoystick::SdlJoystick(SDL_Joystick* joystick) : joystick_(joystick) {
    // Keeps the subsystem alive for as long as the joystick is open.
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
}

SdlJoystick::~SdlJoystick() {
    SDL_JoystickClose(joystick_);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool SdlJoystick::AcceptsFormat(const DIDATAFORMAT& format) const { return format.dwDataSize == sizeof(DIJOYSTATE); }

HRESULT SdlJoystick::SetProperty(DIPROPID property, const DIPROPHEADER* header) {
    if (!header)
        return DIERR_INVALIDPARAM;
    if (property != DIPROP_RANGE)
        return DIERR_UNSUPPORTED;
    if (header->dwSize != sizeof(DIPROPRANGE) || header->dwHeaderSize != sizeof(DIPROPHEADER))
        return DIERR_INVALIDPARAM;
    if (Acquired())
        return DIERR_ACQUIRED;
    const auto* range = reinterpret_cast<const DIPROPRANGE*>(header);
    if (range->lMin >= range->lMax)
        return DIERR_INVALIDPARAM;
    Range wanted{range->lMin, range->lMax};
    if (header->dwHow == DIPH_DEVICE && header->dwObj == 0) {
        ranges_.fill(wanted);
        return DI_OK;
    }
    if (header->dwHow != DIPH_BYOFFSET)
        return DIERR_INVALIDPARAM;
    std::uint32_t axis = header->dwObj / 4;
    if (header->dwObj % 4 != 0 || axis >= ranges_.size() ||
        static_cast<int>(axis) >= SDL_JoystickNumAxes(joystick_))
        return DIERR_OBJECTNOTFOUND;
    ranges_[axis] = wanted;
    return DI_OK;
}

HRESULT SdlJoystick::Acquire() {
    if (!SDL_JoystickGetAttached(joystick_))
        return DIERR_UNPLUGGED;
    return DeviceBase::Acquire();
}

HRESULT SdlJoystick::DoPoll() {
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(joystick_)) {
        LoseAcquisition();
        return DIERR_INPUTLOST;
    }
    return DI_OK;
}

HRESULT SdlJoystick::ReadState(std::uint32_t, void* data) {
    if (!SDL_JoystickGetAttached(joystick_)) {
        LoseAcquisition();
        return DIERR_INPUTLOST;
    }
    DIJOYSTATE state{};
    std::int32_t* axes[8] = {&state.lX,  &state.lY,  &state.lZ,           &state.lRx,
                             &state.lRy, &state.lRz, &state.rglSlider[0], &state.rglSlider[1]};
    int axisCount = SDL_JoystickNumAxes(joystick_);
    for (int i = 0; i < 8 && i < axisCount; ++i)
        *axes[i] = ScaleAxis(SDL_JoystickGetAxis(joystick_, i), ranges_[i].min, ranges_[i].max);
    int hatCount = SDL_JoystickNumHats(joystick_);
    for (int i = 0; i < 4; ++i)
        state.rgdwPOV[i] = i < hatCount ? PovFromHat(SDL_JoystickGetHat(joystick_, i)) : POV_CENTERED;
    int buttonCount = SDL_JoystickNumButtons(joystick_);
    for (int i = 0; i < 32 && i < buttonCount; ++i)
        state.rgbButtons[i] = SDL_JoystickGetButton(joystick_, i) ? 0x80 : 0;
    std::memcpy(data, &state, sizeof state);
    return DI_OK;
}

} // namespace dinput
