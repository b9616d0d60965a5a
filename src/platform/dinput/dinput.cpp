#include "platform/dinput/dinput.h"

#include <array>
#include <utility>

namespace dinput {
namespace {

constexpr GUID MakeGuid(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, std::array<std::uint8_t, 8> d4) {
    GUID guid;
    guid.Data1 = d1;
    guid.Data2 = d2;
    guid.Data3 = d3;
    for (int i = 0; i < 8; ++i)
        guid.Data4[i] = d4[i];
    return guid;
}

constexpr std::array<std::uint8_t, 8> kSystemTail = {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00};

// One optional object entry per key, byte n for scan code n.
constexpr std::array<DIOBJECTDATAFORMAT, 256> MakeKeyboardObjects() {
    std::array<DIOBJECTDATAFORMAT, 256> objects{};
    for (std::uint32_t key = 0; key < 256; ++key)
        objects[key] = {nullptr, key, DIDFT_BUTTON | DIDFT_OPTIONAL | (key << 8), 0};
    return objects;
}

// Six axes, two sliders, four point-of-view controls, 32 buttons, each
// matching any object of its kind in the device's order.
constexpr std::array<DIOBJECTDATAFORMAT, 44> MakeJoystickObjects() {
    std::array<DIOBJECTDATAFORMAT, 44> objects{};
    std::size_t n = 0;
    for (std::uint32_t axis = 0; axis < 8; ++axis)
        objects[n++] = {nullptr, axis * 4, DIDFT_AXIS | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL, 0};
    for (std::uint32_t pov = 0; pov < 4; ++pov)
        objects[n++] = {nullptr, 32 + pov * 4, DIDFT_POV | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL, 0};
    for (std::uint32_t button = 0; button < 32; ++button)
        objects[n++] = {nullptr, 48 + button, DIDFT_BUTTON | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL, 0};
    return objects;
}

constexpr std::array<DIOBJECTDATAFORMAT, 256> kKeyboardObjects = MakeKeyboardObjects();
constexpr std::array<DIOBJECTDATAFORMAT, 44> kJoystickObjects = MakeJoystickObjects();

DirectInputFactory& Factory() {
    static DirectInputFactory factory;
    return factory;
}

} // namespace

const GUID GUID_SysKeyboard = MakeGuid(0x6F1D2B61, 0xD5A0, 0x11CF, kSystemTail);
const GUID GUID_SysMouse = MakeGuid(0x6F1D2B60, 0xD5A0, 0x11CF, kSystemTail);
const GUID IID_IDirectInputDevice2A = MakeGuid(0x5944E682, 0xC92E, 0x11CF, kSystemTail);

const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 256,
                                     static_cast<std::uint32_t>(kKeyboardObjects.size()), kKeyboardObjects.data()};
const DIDATAFORMAT c_dfDIJoystick = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_ABSAXIS,
                                     sizeof(DIJOYSTATE), static_cast<std::uint32_t>(kJoystickObjects.size()),
                                     kJoystickObjects.data()};

HRESULT DirectInputCreateA(void* instance, std::uint32_t version, IDirectInput** object, void* outer) {
    if (!object)
        return DIERR_INVALIDPARAM;
    *object = nullptr;
    if (outer)
        return DIERR_NOINTERFACE; // aggregation is not offered
    if (!Factory())
        return DIERR_DEVICENOTREG;
    return Factory()(instance, version, object);
}

void SetDirectInputFactory(DirectInputFactory factory) { Factory() = std::move(factory); }

} // namespace dinput
