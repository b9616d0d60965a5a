#include "platform/dinput/virtual_joystick.h"

namespace testsupport {
namespace {

int Rumble(void*, Uint16, Uint16) { return 0; }

} // namespace

VirtualJoystick::VirtualJoystick(const VirtualJoystickShape& shape) : name_(shape.name) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = static_cast<Uint16>(shape.axes);
    desc.nbuttons = static_cast<Uint16>(shape.buttons);
    desc.nhats = static_cast<Uint16>(shape.hats);
    desc.name = name_.c_str();
    if (shape.rumble)
        desc.Rumble = &Rumble;
    int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0)
        return;
    joystick_ = SDL_JoystickOpen(index);
    instanceId_ = SDL_JoystickGetDeviceInstanceID(index);
}

VirtualJoystick::~VirtualJoystick() { Detach(); }

void VirtualJoystick::Detach() {
    if (!joystick_)
        return;
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == instanceId_)
            SDL_JoystickDetachVirtual(i);
}

} // namespace testsupport
