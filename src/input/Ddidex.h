#pragma once
// The input component: opens the keyboard, the mouse and every attached
// joystick, and gives the game one joystick-shaped state read from one device
// or merged from several, with a dead zone and a key map onto that state.

#include "platform/dinput/dinput.h"
#include "platform/component/component.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace ddid {

// The directions of the combined state: the sign (-1, 0, +1) of X, Y, Z, the
// three rotations and the two sliders, then the four point-of-view values.
struct TDDIDEXDirections {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Z = 0;
    std::int32_t RX = 0;
    std::int32_t RY = 0;
    std::int32_t RZ = 0;
    std::int32_t Slider[2] = {};
    std::int32_t POV[4] = {};
};

class TDDIDEX : public ui::TComponent {
public:
    // Device numbers.
    static constexpr std::uint32_t KeyboardDevice = 0;
    static constexpr std::uint32_t MouseDevice = 1;
    static constexpr std::uint32_t FirstJoystickDevice = 2;
    static constexpr std::int32_t MaxJoysticks = 16;
    static constexpr std::uint32_t DeviceCount = FirstJoystickDevice + MaxJoysticks;
    // Key-map slots: 0-31 buttons, then up, down, left, right, up-left,
    // up-right, down-left, down-right.
    static constexpr int KeyMapSlots = 40;

    explicit TDDIDEX(ui::TComponent* owner);
    ~TDDIDEX() override;

    // Dead zone in percent of the half range; below 0 counts as 0 and 100 or
    // more silences every axis.
    std::int32_t DeadZone = 5;
    bool AutoInitialize = true;
    // Read the keyboard and the joysticks while the window is in the background.
    bool BackGround = false;

    void Loaded() override;
    // Opens DirectInput, the keyboard, the mouse and the joysticks, releasing
    // what an earlier call opened. A failed step is logged to "ddid.debug"
    // and ends the program.
    void Initialize();
    // Whether the joysticks attached now differ from those Initialize was
    // offered (plugged in, pulled out or put back since): then Initialize
    // again numbers them afresh. True when DirectInput is not open.
    bool JoysticksChanged();

    // Reads `Device` into State, replacing it (Merge false) or merged into it.
    // False when there is no such device or its snapshot could not be read.
    bool ReadDeviceState(bool Merge, std::uint32_t Device);
    bool ReadDevice(std::int32_t Device);
    // The first device replaces State, the others merge into it; true when
    // any read succeeded. An empty list reads nothing and returns false.
    bool ReadDevices(std::span<const std::int32_t> Devices);
    bool ReadDevices(std::initializer_list<std::int32_t> Devices);

    // From State as it is; reads no device.
    void GetJoystickState(TDDIDEXDirections& directions) const;
    bool JoyButtonDown(std::uint32_t Button) const;

    // Key map: row 0 or 1, slot 0-39, a scan code 1-255 (0 for none). Set
    // refuses anything else and returns false; Initialize clears the map.
    bool SetKeyMap(int row, int slot, std::int32_t scanCode);
    std::int32_t KeyMap(int row, int slot) const;

    std::int32_t JoystickCount() const { return joystickCount_; }
    const std::vector<std::string>& JoystickNames() const { return joystickNames_; }
    // Whether device `device` is a joystick found in the force-feedback pass.
    bool ForceFeedback(std::uint32_t device) const;
    const dinput::DIJOYSTATE& State() const { return state_; }

    // The dead zone applied to one axis value.
    static std::int32_t ApplyDeadZone(std::int32_t value, std::int32_t deadZone);

private:
    static int EnumJoystick(const dinput::DIDEVICEINSTANCE* instance, void* context);
    static int CollectJoystick(const dinput::DIDEVICEINSTANCE* instance, void* context);
    void AddJoystick(const dinput::DIDEVICEINSTANCE& instance);
    void ReleaseDevices();
    void* WindowHandle() const;
    bool ReadKeyboard();
    bool ReadMouse();
    bool ReadJoystick(bool merge, std::uint32_t device);

    dinput::IDirectInput* directInput_ = nullptr;
    dinput::IDirectInputDevice* keyboard_ = nullptr;
    dinput::IDirectInputDevice* mouse_ = nullptr;
    std::vector<std::string> joystickNames_;
    // Every joystick the last Initialize was offered, in the platform's order.
    std::vector<dinput::GUID> offeredJoysticks_;
    std::array<dinput::IDirectInputDevice2*, DeviceCount> joysticks_{};
    std::int32_t keyMap_[2][KeyMapSlots] = {};
    dinput::DIJOYSTATE state_{};
    std::int32_t joystickCount_ = 0;
    std::array<bool, DeviceCount> forceFeedback_{};
    bool forceFeedbackPass_ = false;
};

} // namespace ddid
