#include "platform/dinput/sdl_joystick.h"

#include "platform/dinput/joystick_values.h"

#include <SDL.h>

#include <cstring>
#include <set>

namespace dinput {
namespace {

// What a joystick shows now, in SDL's own terms.
struct SdlValues {
    std::int16_t axes[8] = {};
    int axisCount = 0;
    std::uint8_t hats[4] = {};
    int hatCount = 0;
    bool buttons[32] = {};
};

SdlValues RawValues(SDL_Joystick* joystick) {
    SdlValues values;
    values.axisCount = SDL_min(SDL_JoystickNumAxes(joystick), 8);
    for (int i = 0; i < values.axisCount; ++i)
        values.axes[i] = SDL_JoystickGetAxis(joystick, i);
    values.hatCount = SDL_min(SDL_JoystickNumHats(joystick), 4);
    for (int i = 0; i < values.hatCount; ++i)
        values.hats[i] = SDL_JoystickGetHat(joystick, i);
    int buttonCount = SDL_min(SDL_JoystickNumButtons(joystick), 32);
    for (int i = 0; i < buttonCount; ++i)
        values.buttons[i] = SDL_JoystickGetButton(joystick, i) != 0;
    return values;
}

// The axes in the order of the joystick state: the left stick, the left
// trigger, the right stick, the right trigger.
constexpr SDL_GameControllerAxis kPadAxes[] = {SDL_CONTROLLER_AXIS_LEFTX,  SDL_CONTROLLER_AXIS_LEFTY,
                                               SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_RIGHTX,
                                               SDL_CONTROLLER_AXIS_RIGHTY, SDL_CONTROLLER_AXIS_TRIGGERRIGHT};

SdlValues PadValues(SDL_GameController* pad) {
    SdlValues values;
    values.axisCount = SDL_arraysize(kPadAxes);
    for (int i = 0; i < values.axisCount; ++i)
        values.axes[i] = SDL_GameControllerGetAxis(pad, kPadAxes[i]);
    // SDL's button order begins with the south face button.
    for (int i = 0; i < SDL_CONTROLLER_BUTTON_MAX && i < 32; ++i)
        values.buttons[i] = SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(i)) != 0;
    auto pressed = [&](SDL_GameControllerButton button) { return values.buttons[button]; };
    values.hatCount = 1;
    values.hats[0] = static_cast<std::uint8_t>((pressed(SDL_CONTROLLER_BUTTON_DPAD_UP) ? SDL_HAT_UP : 0) |
                                               (pressed(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) ? SDL_HAT_RIGHT : 0) |
                                               (pressed(SDL_CONTROLLER_BUTTON_DPAD_DOWN) ? SDL_HAT_DOWN : 0) |
                                               (pressed(SDL_CONTROLLER_BUTTON_DPAD_LEFT) ? SDL_HAT_LEFT : 0));
    return values;
}

// The SDL instances the joystick devices of this program have open.
std::multiset<SDL_JoystickID>& HeldInstances() {
    static std::multiset<SDL_JoystickID> held;
    return held;
}

} // namespace

SdlJoystick* SdlJoystick::Open(int index) {
    auto* joystick = new SdlJoystick();
    if (joystick->OpenAt(index))
        return joystick;
    joystick->Release();
    return nullptr;
}

SdlJoystick::SdlJoystick() {
    // Keeps the subsystems alive for as long as the joystick is open.
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    controllers_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

SdlJoystick::~SdlJoystick() {
    Close();
    if (controllers_)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool SdlJoystick::OpenAt(int index) {
    if (controllers_ && SDL_IsGameController(index)) {
        controller_ = SDL_GameControllerOpen(index);
        joystick_ = controller_ ? SDL_GameControllerGetJoystick(controller_) : nullptr;
    }
    if (!joystick_)
        joystick_ = SDL_JoystickOpen(index);
    if (!joystick_)
        return false;
    guid_ = SDL_JoystickGetGUID(joystick_);
    instance_ = SDL_JoystickInstanceID(joystick_);
    HeldInstances().insert(instance_);
    return true;
}

void SdlJoystick::Close() {
    if (joystick_)
        HeldInstances().erase(HeldInstances().find(instance_));
    if (controller_)
        SDL_GameControllerClose(controller_);
    else if (joystick_)
        SDL_JoystickClose(joystick_);
    controller_ = nullptr;
    joystick_ = nullptr;
}

bool SdlJoystick::Reconnect() {
    SDL_JoystickUpdate(); // notices pads plugged in since the last look
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        SDL_JoystickGUID guid = SDL_JoystickGetDeviceGUID(i);
        if (std::memcmp(&guid, &guid_, sizeof guid) != 0 ||
            HeldInstances().count(SDL_JoystickGetDeviceInstanceID(i)) != 0)
            continue;
        Close();
        return OpenAt(i);
    }
    return false;
}

int SdlJoystick::AxisCount() const {
    return controller_ ? static_cast<int>(SDL_arraysize(kPadAxes)) : SDL_JoystickNumAxes(joystick_);
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
    if (header->dwObj % 4 != 0 || axis >= ranges_.size() || static_cast<int>(axis) >= AxisCount())
        return DIERR_OBJECTNOTFOUND;
    ranges_[axis] = wanted;
    return DI_OK;
}

HRESULT SdlJoystick::Acquire() {
    if (!SDL_JoystickGetAttached(joystick_) && !Reconnect())
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
    SdlValues values = controller_ ? PadValues(controller_) : RawValues(joystick_);
    if (values.hatCount > 0)
        SteerWithHat(values.axes[0], values.axes[1], values.hats[0]);
    DIJOYSTATE state{};
    std::int32_t* axes[8] = {&state.lX,  &state.lY,  &state.lZ,           &state.lRx,
                             &state.lRy, &state.lRz, &state.rglSlider[0], &state.rglSlider[1]};
    for (int i = 0; i < values.axisCount; ++i)
        *axes[i] = ScaleAxis(values.axes[i], ranges_[i].min, ranges_[i].max);
    for (int i = 0; i < 4; ++i)
        state.rgdwPOV[i] = i < values.hatCount ? PovFromHat(values.hats[i]) : POV_CENTERED;
    for (int i = 0; i < 32; ++i)
        state.rgbButtons[i] = values.buttons[i] ? 0x80 : 0;
    std::memcpy(data, &state, sizeof state);
    return DI_OK;
}

} // namespace dinput
