#include "input/fake_direct_input.h"

#include <cstring>

namespace testsupport {

using namespace dinput;

FakeDevice::FakeDevice(FakeDirectInput& owner, std::string deviceName) : name(std::move(deviceName)), owner_(owner) {
    ++owner_.liveDevices;
}

std::uint32_t FakeDevice::AddRef() { return ++references_; }

std::uint32_t FakeDevice::Release() {
    owner_.Note(name + " release");
    std::uint32_t left = --references_;
    if (left == 0) {
        --owner_.liveDevices;
        if (owner_.devices[name] == this)
            owner_.devices.erase(name);
        delete this;
    }
    return left;
}

HRESULT FakeDevice::QueryInterface(const GUID& iid, void** object) {
    *object = nullptr;
    for (const FakeJoystick& shape : owner_.joysticks)
        if (shape.name == name && shape.failSecondInterface)
            return DIERR_NOINTERFACE;
    if (!(iid == IID_IDirectInputDevice2A))
        return DIERR_NOINTERFACE;
    AddRef();
    *object = static_cast<IDirectInputDevice2*>(this);
    return DI_OK;
}

HRESULT FakeDevice::SetDataFormat(const DIDATAFORMAT* format) {
    owner_.Note(name + " format " + std::to_string(format->dwDataSize));
    return owner_.Failure(name + " format");
}

HRESULT FakeDevice::SetCooperativeLevel(void*, std::uint32_t flags) {
    owner_.Note(name + " level " + std::to_string(flags));
    levels.push_back(flags);
    if (HRESULT failure = owner_.Failure(name + " level"))
        return failure;
    if (flags & DISCL_EXCLUSIVE)
        if (HRESULT failure = owner_.Failure(name + " exclusive"))
            return failure;
    return DI_OK;
}

HRESULT FakeDevice::SetProperty(DIPROPID, const DIPROPHEADER*) { return DI_OK; }

HRESULT FakeDevice::Acquire() {
    owner_.Note(name + " acquire");
    return DI_OK;
}

HRESULT FakeDevice::Unacquire() {
    owner_.Note(name + " unacquire");
    return DI_OK;
}

HRESULT FakeDevice::GetDeviceState(std::uint32_t size, void* data) {
    if (size != snapshot.size())
        return DIERR_INVALIDPARAM;
    if (failingReads > 0) {
        --failingReads;
        return DIERR_INPUTLOST;
    }
    std::memcpy(data, snapshot.data(), size);
    return DI_OK;
}

HRESULT FakeDevice::Poll() { return DI_OK; }

FakeDirectInput::FakeDirectInput() = default;

std::uint32_t FakeDirectInput::AddRef() { return ++references; }

std::uint32_t FakeDirectInput::Release() {
    Note("directinput release");
    return --references;
}

HRESULT FakeDirectInput::Failure(const std::string& step) const {
    auto found = failures.find(step);
    return found == failures.end() ? DI_OK : found->second;
}

HRESULT FakeDirectInput::CreateDevice(const GUID& guid, IDirectInputDevice** device, void*) {
    *device = nullptr;
    std::string name;
    std::size_t size = 0;
    if (guid == GUID_SysKeyboard) {
        name = "keyboard";
        size = 256;
    } else if (guid == GUID_SysMouse) {
        name = "mouse";
        size = 44;
    } else if (guid.Data1 < joysticks.size()) {
        name = joysticks[guid.Data1].name;
        size = sizeof(DIJOYSTATE);
        if (joysticks[guid.Data1].failCreate)
            return DIERR_DEVICENOTREG;
    } else {
        return DIERR_DEVICENOTREG;
    }
    Note("create " + name);
    if (HRESULT failure = Failure("create " + name))
        return failure;
    auto* created = new FakeDevice(*this, name);
    created->snapshot.assign(size, 0);
    if (size == sizeof(DIJOYSTATE)) {
        DIJOYSTATE resting = RestingJoystick();
        std::memcpy(created->snapshot.data(), &resting, sizeof resting);
    }
    devices[name] = created;
    *device = created;
    return DI_OK;
}

HRESULT FakeDirectInput::EnumDevices(std::uint32_t devType, LPDIENUMDEVICESCALLBACK callback, void* context,
                                     std::uint32_t flags) {
    Note("enumerate " + std::to_string(devType) + " " + std::to_string(flags));
    for (std::size_t i = 0; i < joysticks.size(); ++i) {
        if ((flags & DIEDFL_FORCEFEEDBACK) && !joysticks[i].forceFeedback)
            continue;
        DIDEVICEINSTANCE instance;
        instance.guidInstance.Data1 = static_cast<std::uint32_t>(i);
        instance.dwDevType = DIDEVTYPE_JOYSTICK;
        instance.tszProductName = joysticks[i].name;
        instance.tszInstanceName = joysticks[i].name;
        if (callback(&instance, context) == DIENUM_STOP)
            break;
    }
    return DI_OK;
}

void FakeDirectInput::Install() {
    SetDirectInputFactory([this](void*, std::uint32_t version, IDirectInput** object) -> HRESULT {
        Note("create directinput " + std::to_string(version));
        if (HRESULT failure = Failure("create"))
            return failure;
        AddRef();
        *object = this;
        return DI_OK;
    });
}

void FakeDirectInput::Uninstall() { SetDirectInputFactory(nullptr); }

FakeDevice* FakeDirectInput::Device(const std::string& name) const {
    auto found = devices.find(name);
    return found == devices.end() ? nullptr : found->second;
}

void FakeDirectInput::SetKey(std::uint8_t scanCode, bool down) {
    Device("keyboard")->snapshot[scanCode] = down ? 0x80 : 0;
}

void FakeDirectInput::SetMouse(std::int32_t x, std::int32_t y, std::int32_t z, std::initializer_list<int> buttons) {
    std::vector<std::uint8_t>& bytes = Device("mouse")->snapshot;
    std::fill(bytes.begin(), bytes.end(), 0);
    std::int32_t motion[3] = {x, y, z};
    std::memcpy(bytes.data(), motion, sizeof motion);
    for (int button : buttons)
        bytes[12 + button] = 0x80;
}

void FakeDirectInput::SetJoystick(const std::string& name, const DIJOYSTATE& state) {
    std::memcpy(Device(name)->snapshot.data(), &state, sizeof state);
}

DIJOYSTATE RestingJoystick() {
    DIJOYSTATE state{};
    for (std::uint32_t& pov : state.rgdwPOV)
        pov = POV_CENTERED;
    return state;
}

} // namespace testsupport
