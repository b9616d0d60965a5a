#include "platform/dinput/sdl_qt_direct_input.h"

#include "platform/dinput/qt_keyboard.h"
#include "platform/dinput/qt_mouse.h"
#include "platform/dinput/sdl_joystick.h"

#include <SDL.h>

#include <cstring>
#include <vector>

namespace dinput {
namespace {

constexpr std::uint8_t kJoystickTail[8] = {'S', 'D', 'L', 'J', 'O', 'Y', 0, 0};
constexpr std::uint8_t kProductTail[8] = {0, 0, 'P', 'I', 'D', 'V', 'I', 'D'};

bool IsJoystickGuid(const GUID& guid) {
    return guid.Data2 == 0 && guid.Data3 == 0 && std::memcmp(guid.Data4, kJoystickTail, 8) == 0;
}

// The device index SDL has now for a joystick instance, or -1.
int DeviceIndexOf(std::int32_t instanceId) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == instanceId)
            return i;
    return -1;
}

bool CanForceFeedback(int index, bool haptic) {
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    if (!joystick)
        return false;
    bool result = SDL_JoystickHasRumble(joystick) || (haptic && SDL_JoystickIsHaptic(joystick) == 1);
    SDL_JoystickClose(joystick);
    return result;
}

DIDEVICEINSTANCE JoystickInstance(int index) {
    DIDEVICEINSTANCE instance;
    instance.guidInstance = SdlQtDirectInput::JoystickInstanceGuid(SDL_JoystickGetDeviceInstanceID(index));
    instance.guidProduct.Data1 = static_cast<std::uint32_t>(SDL_JoystickGetDeviceProduct(index)) << 16 |
                                 SDL_JoystickGetDeviceVendor(index);
    std::memcpy(instance.guidProduct.Data4, kProductTail, 8);
    instance.dwDevType = DIDEVTYPE_JOYSTICK;
    const char* name = SDL_JoystickNameForIndex(index);
    instance.tszProductName = name ? name : "";
    instance.tszInstanceName = instance.tszProductName;
    return instance;
}

DIDEVICEINSTANCE SystemInstance(const GUID& guid, std::uint32_t type, const char* name) {
    DIDEVICEINSTANCE instance;
    instance.guidInstance = guid;
    instance.guidProduct = guid;
    instance.dwDevType = type;
    instance.tszInstanceName = name;
    instance.tszProductName = name;
    return instance;
}

} // namespace

SdlQtDirectInput::SdlQtDirectInput(KeyboardLayout layout) : layout_(layout) {
    // Without SDL's joysticks the keyboard and mouse still work: no
    // joystick is offered then.
    joysticks_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    if (joysticks_) {
        // Gamepads SDL knows are read through their mappings, which this
        // loads (SDL_GAMECONTROLLERCONFIG included).
        controllers_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
        // Nobody takes SDL's events here; joysticks are read by polling.
        SDL_JoystickEventState(SDL_IGNORE);
        if (controllers_)
            SDL_GameControllerEventState(SDL_IGNORE);
        haptic_ = SDL_InitSubSystem(SDL_INIT_HAPTIC) == 0;
    }
}

SdlQtDirectInput::~SdlQtDirectInput() {
    if (haptic_)
        SDL_QuitSubSystem(SDL_INIT_HAPTIC);
    if (controllers_)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    if (joysticks_)
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

std::uint32_t SdlQtDirectInput::AddRef() { return ++references_; }

std::uint32_t SdlQtDirectInput::Release() {
    std::uint32_t left = --references_;
    if (left == 0)
        delete this;
    return left;
}

GUID SdlQtDirectInput::JoystickInstanceGuid(std::int32_t instanceId) {
    GUID guid;
    guid.Data1 = static_cast<std::uint32_t>(instanceId);
    std::memcpy(guid.Data4, kJoystickTail, 8);
    return guid;
}

HRESULT SdlQtDirectInput::CreateDevice(const GUID& guid, IDirectInputDevice** device, void* outer) {
    if (!device)
        return DIERR_INVALIDPARAM;
    *device = nullptr;
    if (outer)
        return DIERR_NOINTERFACE;
    if (guid == GUID_SysKeyboard) {
        *device = new QtKeyboard(layout_);
        return DI_OK;
    }
    if (guid == GUID_SysMouse) {
        *device = new QtMouse();
        return DI_OK;
    }
    if (!joysticks_ || !IsJoystickGuid(guid))
        return DIERR_DEVICENOTREG;
    int index = DeviceIndexOf(static_cast<std::int32_t>(guid.Data1));
    if (index < 0)
        return DIERR_DEVICENOTREG;
    *device = SdlJoystick::Open(index);
    return *device ? DI_OK : DIERR_GENERIC;
}

HRESULT SdlQtDirectInput::EnumDevices(std::uint32_t devType, LPDIENUMDEVICESCALLBACK callback, void* context,
                                      std::uint32_t flags) {
    if (!callback || devType > DIDEVTYPE_JOYSTICK || (flags & ~(DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK)))
        return DIERR_INVALIDPARAM;
    bool forceFeedbackOnly = flags & DIEDFL_FORCEFEEDBACK;
    // Gathered first: the callback may open devices while it runs.
    std::vector<DIDEVICEINSTANCE> devices;
    if (!forceFeedbackOnly && (devType == 0 || devType == DIDEVTYPE_KEYBOARD))
        devices.push_back(SystemInstance(GUID_SysKeyboard, DIDEVTYPE_KEYBOARD, "Keyboard"));
    if (!forceFeedbackOnly && (devType == 0 || devType == DIDEVTYPE_MOUSE))
        devices.push_back(SystemInstance(GUID_SysMouse, DIDEVTYPE_MOUSE, "Mouse"));
    if (joysticks_ && (devType == 0 || devType == DIDEVTYPE_JOYSTICK)) {
        SDL_JoystickUpdate(); // notices joysticks plugged in since the last look
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (!forceFeedbackOnly || CanForceFeedback(i, haptic_))
                devices.push_back(JoystickInstance(i));
    }
    for (const DIDEVICEINSTANCE& instance : devices)
        if (callback(&instance, context) == DIENUM_STOP)
            break;
    return DI_OK;
}

} // namespace dinput
