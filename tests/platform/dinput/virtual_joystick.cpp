#include "platform/dinput/virtual_joystick.h"

namespace testsupport {
namespace {

int Rumble(void*, Uint16, Uint16) { return 0; }

} // namespace

VirtualJoystick::VirtualJoystick(const VirtualJoystickShape& shape) : shape_(shape) { Attach(); }

void VirtualJoystick::Attach() {
    if (joystick_)
        return;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = shape_.gamepad ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = static_cast<Uint16>(shape_.axes);
    desc.nbuttons = static_cast<Uint16>(shape_.buttons);
    desc.nhats = static_cast<Uint16>(shape_.hats);
    desc.name = shape_.name.c_str();
    desc.vendor_id = shape_.vendor;
    desc.product_id = shape_.product;
    if (shape_.rumble)
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
