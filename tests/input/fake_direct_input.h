#pragma once
// A DirectInput double for the input component: devices with scripted
// snapshots and failures, and a journal of the calls that change something.

#include "platform/dinput/dinput.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

struct FakeJoystick {
    std::string name;
    bool forceFeedback = false;
    bool failCreate = false;
    bool failSecondInterface = false;
};

class FakeDirectInput;

class FakeDevice final : public dinput::IDirectInputDevice2 {
public:
    FakeDevice(FakeDirectInput& owner, std::string name);

    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    dinput::HRESULT QueryInterface(const dinput::GUID& iid, void** object) override;
    dinput::HRESULT SetDataFormat(const dinput::DIDATAFORMAT* format) override;
    dinput::HRESULT SetCooperativeLevel(void* window, std::uint32_t flags) override;
    dinput::HRESULT SetProperty(dinput::DIPROPID property, const dinput::DIPROPHEADER* header) override;
    dinput::HRESULT Acquire() override;
    dinput::HRESULT Unacquire() override;
    dinput::HRESULT GetDeviceState(std::uint32_t size, void* data) override;
    dinput::HRESULT Poll() override;

    std::string name;
    std::vector<std::uint8_t> snapshot; // what a read delivers
    int failingReads = 0;               // the next reads that fail
    std::vector<std::uint32_t> levels;

private:
    ~FakeDevice() override = default;
    FakeDirectInput& owner_;
    std::uint32_t references_ = 1;
};

class FakeDirectInput final : public dinput::IDirectInput {
public:
    FakeDirectInput();

    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    dinput::HRESULT CreateDevice(const dinput::GUID& guid, dinput::IDirectInputDevice** device,
                                 void* outer) override;
    dinput::HRESULT EnumDevices(std::uint32_t devType, dinput::LPDIENUMDEVICESCALLBACK callback, void* context,
                                std::uint32_t flags) override;

    // Installs a factory that hands out this object (one reference per call).
    void Install();
    void Uninstall();

    void AddJoystick(FakeJoystick shape) { joysticks.push_back(std::move(shape)); }
    // The device last created under a name ("keyboard", "mouse", a product name).
    FakeDevice* Device(const std::string& name) const;
    // Sets a key's byte in the keyboard snapshot.
    void SetKey(std::uint8_t scanCode, bool down);
    void SetMouse(std::int32_t x, std::int32_t y, std::int32_t z, std::initializer_list<int> buttons);
    void SetJoystick(const std::string& name, const dinput::DIJOYSTATE& state);

    void Note(const std::string& entry) { journal.push_back(entry); }

    // A failing step: "create", "create keyboard", "keyboard format", "keyboard level",
    // "create mouse", "mouse format", "mouse level", "<joystick> format",
    // "<joystick> level" (both levels), "<joystick> exclusive".
    std::map<std::string, dinput::HRESULT> failures;
    std::vector<FakeJoystick> joysticks;
    std::vector<std::string> journal;
    std::map<std::string, FakeDevice*> devices;
    int liveDevices = 0;
    std::uint32_t references = 0;

    static constexpr dinput::HRESULT kFailure = static_cast<dinput::HRESULT>(0x80070057u);

    dinput::HRESULT Failure(const std::string& step) const;
};

// The empty joystick state (point-of-view controls centred).
dinput::DIJOYSTATE RestingJoystick();

} // namespace testsupport
