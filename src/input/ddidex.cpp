#include "input/Ddidex.h"

#include "input/ddid_log.h"
#include "platform/component/form.h"

#include <algorithm>
#include <cstring>

namespace ddid {

using namespace dinput;

namespace {

constexpr std::int32_t kFullTilt = 32767;

// The slots of the key map that push X and Y.
constexpr int kUp = 32, kDown = 33, kLeft = 34, kRight = 35;
constexpr int kUpLeft = 36, kUpRight = 37, kDownLeft = 38, kDownRight = 39;

std::int32_t Sign(std::int32_t value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

void ReleaseDevice(IDirectInputDevice*& device) {
    if (!device)
        return;
    device->Unacquire();
    device->Release();
    device = nullptr;
}

} // namespace

TDDIDEX::TDDIDEX(ui::TComponent* owner) : ui::TComponent(owner) {}

TDDIDEX::~TDDIDEX() {
    if (!Designing())
        ReleaseDevices();
}

void TDDIDEX::Loaded() {
    ui::TComponent::Loaded();
    if (!Designing() && AutoInitialize)
        Initialize();
}

void* TDDIDEX::WindowHandle() const {
    auto* form = dynamic_cast<ui::TForm*>(Owner());
    return form ? form->Handle() : nullptr;
}

void TDDIDEX::ReleaseDevices() {
    ReleaseDevice(keyboard_);
    ReleaseDevice(mouse_);
    // Every entry, not only the counted ones: a joystick whose set-up failed
    // half way still holds its interface.
    for (IDirectInputDevice2*& joystick : joysticks_) {
        IDirectInputDevice* device = joystick;
        ReleaseDevice(device);
        joystick = nullptr;
    }
    joystickCount_ = 0;
    if (directInput_) {
        directInput_->Release();
        directInput_ = nullptr;
    }
}

void TDDIDEX::Initialize() {
    ReleaseDevices();
    std::memset(keyMap_, 0, sizeof keyMap_);

    // Each failure ends the program; should the log be told to go on, the
    // remaining steps are skipped instead.
    if (CheckResult(DirectInputCreateA(nullptr, DIRECTINPUT_VERSION, &directInput_, nullptr),
                    "DirectInputの作成に失敗しました"))
        return;
    void* window = WindowHandle();

    IDirectInputDevice* keyboard = nullptr;
    if (CheckResult(directInput_->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr),
                    "DirectInputDevice(キーボード)の作成に失敗しました"))
        return;
    keyboard_ = keyboard;
    if (CheckResult(keyboard_->SetDataFormat(&c_dfDIKeyboard),
                    "DirectInputDeviceのデータフォーマット(キーボード)の指定に失敗しました"))
        return;
    std::uint32_t keyboardLevel = DISCL_NONEXCLUSIVE | (BackGround ? DISCL_BACKGROUND : DISCL_FOREGROUND);
    if (CheckResult(keyboard_->SetCooperativeLevel(window, keyboardLevel),
                    "DirectInputDeviceの協調レベルの設定に失敗しました"))
        return;

    IDirectInputDevice* mouse = nullptr;
    if (CheckResult(directInput_->CreateDevice(GUID_SysMouse, &mouse, nullptr),
                    "DirectInputDevice(マウス)の作成に失敗しました"))
        return;
    mouse_ = mouse;
    // X, Y and Z as relative axes, then 32 buttons: 44 bytes.
    static const DIOBJECTDATAFORMAT mouseObjects[] = {
        {nullptr, 0, DIDFT_RELAXIS | DIDFT_ANYINSTANCE, 0},
        {nullptr, 12, DIDFT_BUTTON | DIDFT_ANYINSTANCE, 0},
    };
    static const DIDATAFORMAT mouseFormat = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 44, 2,
                                             mouseObjects};
    if (CheckResult(mouse_->SetDataFormat(&mouseFormat),
                    "DirectInputDeviceのデータフォーマット(マウス)の指定に失敗しました"))
        return;
    if (CheckResult(mouse_->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
                    "DirectInputDeviceの協調レベルの設定に失敗しました"))
        return;

    forceFeedback_.fill(false);
    joystickNames_.clear();
    offeredJoysticks_.clear();
    joystickCount_ = 0;
    forceFeedbackPass_ = true;
    directInput_->EnumDevices(DIDEVTYPE_JOYSTICK, &TDDIDEX::EnumJoystick, this,
                              DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK);
    forceFeedbackPass_ = false;
    directInput_->EnumDevices(DIDEVTYPE_JOYSTICK, &TDDIDEX::EnumJoystick, this, DIEDFL_ATTACHEDONLY);

    keyboard_->Acquire();
    mouse_->Acquire();
}

int TDDIDEX::EnumJoystick(const DIDEVICEINSTANCE* instance, void* context) {
    if (!instance)
        return DIENUM_CONTINUE;
    auto* self = static_cast<TDDIDEX*>(context);
    if (!self->forceFeedbackPass_)
        self->offeredJoysticks_.push_back(instance->guidInstance);
    self->AddJoystick(*instance);
    return DIENUM_CONTINUE;
}

int TDDIDEX::CollectJoystick(const DIDEVICEINSTANCE* instance, void* context) {
    if (instance)
        static_cast<std::vector<GUID>*>(context)->push_back(instance->guidInstance);
    return DIENUM_CONTINUE;
}

bool TDDIDEX::JoysticksChanged() {
    if (!directInput_)
        return true;
    std::vector<GUID> attached;
    directInput_->EnumDevices(DIDEVTYPE_JOYSTICK, &TDDIDEX::CollectJoystick, &attached, DIEDFL_ATTACHEDONLY);
    return attached != offeredJoysticks_;
}

void TDDIDEX::AddJoystick(const DIDEVICEINSTANCE& instance) {
    // The table is full: further joysticks are left alone.
    if (joystickCount_ >= MaxJoysticks)
        return;
    if (!forceFeedbackPass_) {
        // Listed already in the force-feedback pass, or a plain twin of one.
        for (std::int32_t i = 0; i < joystickCount_; ++i)
            if (forceFeedback_[FirstJoystickDevice + i] && joystickNames_[i] == instance.tszProductName)
                return;
    }
    IDirectInputDevice* device = nullptr;
    if (directInput_->CreateDevice(instance.guidInstance, &device, nullptr) != DI_OK || !device)
        return;
    const std::uint32_t number = FirstJoystickDevice + joystickCount_;
    void* second = nullptr;
    HRESULT result = device->QueryInterface(IID_IDirectInputDevice2A, &second);
    device->Release();
    if (result != DI_OK || !second)
        return;
    IDirectInputDevice2* joystick = static_cast<IDirectInputDevice2*>(second);
    joysticks_[number] = joystick;

    auto drop = [&] {
        joystick->Release();
        joysticks_[number] = nullptr;
    };
    if (CheckResult(joystick->SetDataFormat(&c_dfDIJoystick),
                    "DirectInputDeviceのデータフォーマット(ジョイスティック)の指定に失敗しました")) {
        drop();
        return;
    }
    void* window = WindowHandle();
    std::uint32_t base = BackGround ? DISCL_BACKGROUND : DISCL_FOREGROUND;
    if (joystick->SetCooperativeLevel(window, base | DISCL_EXCLUSIVE) != DI_OK &&
        CheckResult(joystick->SetCooperativeLevel(window, base | DISCL_NONEXCLUSIVE),
                    "DirectInputDeviceの協調レベルの設定に失敗しました")) {
        drop();
        return;
    }
    // X, Y, Z, the rotations and the sliders; axes the joystick lacks refuse.
    for (std::uint32_t offset = 0; offset < 32; offset += 4) {
        DIPROPRANGE range{{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), offset, DIPH_BYOFFSET}, -32768, 32767};
        joystick->SetProperty(DIPROP_RANGE, &range.diph);
    }
    joystick->Acquire();

    joystickNames_.push_back(instance.tszProductName);
    forceFeedback_[number] = forceFeedbackPass_;
    ++joystickCount_;
}

bool TDDIDEX::ReadDeviceState(bool Merge, std::uint32_t Device) {
    if (!Merge)
        state_ = {};
    if (Device == KeyboardDevice)
        return ReadKeyboard();
    if (Device == MouseDevice)
        return ReadMouse();
    if (Device < DeviceCount)
        return ReadJoystick(Merge, Device);
    return false;
}

bool TDDIDEX::ReadKeyboard() {
    if (!keyboard_)
        return false;
    std::uint8_t keys[256];
    if (keyboard_->GetDeviceState(sizeof keys, keys) != DI_OK) {
        keyboard_->Acquire();
        if (keyboard_->GetDeviceState(sizeof keys, keys) != DI_OK)
            return false;
    }
    // SetKeyMap keeps every entry within 0 ... 255.
    auto keyByte = [&](int slot) { return keys[keyMap_[0][slot]] | keys[keyMap_[1][slot]]; };
    for (int b = 0; b < 32; ++b)
        state_.rgbButtons[b] |= keyByte(b);
    auto down = [&](int slot) { return (keyByte(slot) & 0x80) != 0; };
    std::int32_t x = 0;
    std::int32_t y = 0;
    if (down(kUp) || down(kUpLeft) || down(kUpRight))
        y -= kFullTilt;
    if (down(kDown) || down(kDownLeft) || down(kDownRight))
        y += kFullTilt;
    if (down(kLeft) || down(kUpLeft) || down(kDownLeft))
        x -= kFullTilt;
    if (down(kRight) || down(kUpRight) || down(kDownRight))
        x += kFullTilt;
    state_.lX |= x;
    state_.lY |= y;
    return true;
}

bool TDDIDEX::ReadMouse() {
    if (!mouse_)
        return false;
    struct {
        std::int32_t motion[3];
        std::uint8_t buttons[32];
    } snapshot{};
    static_assert(sizeof snapshot == 44);
    if (mouse_->GetDeviceState(sizeof snapshot, &snapshot) != DI_OK) {
        // The buttons were cleared before the read: nothing to add to State.
        mouse_->Acquire();
        return false;
    }
    state_.lX = snapshot.motion[0];
    state_.lY = snapshot.motion[1];
    state_.lZ = snapshot.motion[2];
    for (int b = 0; b < 32; ++b)
        state_.rgbButtons[b] |= snapshot.buttons[b];
    return true;
}

bool TDDIDEX::ReadJoystick(bool merge, std::uint32_t device) {
    IDirectInputDevice2* joystick = joysticks_[device];
    if (!joystick)
        return false;
    joystick->Poll();
    DIJOYSTATE snapshot{};
    if (joystick->GetDeviceState(sizeof snapshot, &snapshot) != DI_OK) {
        joystick->Acquire();
        return false;
    }
    std::int32_t* values[8] = {&snapshot.lX,  &snapshot.lY,  &snapshot.lZ,           &snapshot.lRx,
                               &snapshot.lRy, &snapshot.lRz, &snapshot.rglSlider[0], &snapshot.rglSlider[1]};
    for (std::int32_t* value : values)
        *value = ApplyDeadZone(*value, DeadZone);
    if (!merge) {
        state_ = snapshot;
        return true;
    }
    state_.lX |= snapshot.lX;
    state_.lY |= snapshot.lY;
    state_.lZ |= snapshot.lZ;
    state_.lRx |= snapshot.lRx;
    state_.lRy |= snapshot.lRy;
    state_.lRz |= snapshot.lRz;
    for (int i = 0; i < 2; ++i)
        state_.rglSlider[i] |= snapshot.rglSlider[i];
    for (int i = 0; i < 4; ++i)
        state_.rgdwPOV[i] |= snapshot.rgdwPOV[i];
    for (int b = 0; b < 32; ++b)
        state_.rgbButtons[b] |= snapshot.rgbButtons[b];
    return true;
}

std::int32_t TDDIDEX::ApplyDeadZone(std::int32_t value, std::int32_t deadZone) {
    // A negative dead zone would swap the bounds and push a centred stick
    // off centre: it counts as none. 64-bit arithmetic keeps any value exact.
    if (deadZone <= 0)
        return value;
    if (deadZone >= 100)
        return 0;
    std::int64_t v = value;
    std::int64_t low = deadZone * std::int64_t{-32768} / 100;
    std::int64_t high = deadZone * std::int64_t{32767} / 100;
    if (low <= v && v <= high)
        return 0;
    std::int64_t scaled = (v < 0 ? v - low : v - high) * 100 / (100 - deadZone);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(scaled, INT32_MIN, INT32_MAX));
}

bool TDDIDEX::ReadDevice(std::int32_t Device) { return ReadDeviceState(false, static_cast<std::uint32_t>(Device)); }

bool TDDIDEX::ReadDevices(std::span<const std::int32_t> Devices) {
    bool any = false;
    bool merge = false;
    for (std::int32_t device : Devices) {
        any |= ReadDeviceState(merge, static_cast<std::uint32_t>(device));
        merge = true;
    }
    return any;
}

bool TDDIDEX::ReadDevices(std::initializer_list<std::int32_t> Devices) {
    return ReadDevices(std::span<const std::int32_t>(Devices.begin(), Devices.size()));
}

void TDDIDEX::GetJoystickState(TDDIDEXDirections& directions) const {
    directions.X = Sign(state_.lX);
    directions.Y = Sign(state_.lY);
    directions.Z = Sign(state_.lZ);
    directions.RX = Sign(state_.lRx);
    directions.RY = Sign(state_.lRy);
    directions.RZ = Sign(state_.lRz);
    directions.Slider[0] = Sign(state_.rglSlider[0]);
    directions.Slider[1] = Sign(state_.rglSlider[1]);
    for (int i = 0; i < 4; ++i)
        directions.POV[i] = static_cast<std::int32_t>(state_.rgdwPOV[i]);
}

bool TDDIDEX::JoyButtonDown(std::uint32_t Button) const { return Button < 32 && state_.rgbButtons[Button] >= 128; }

bool TDDIDEX::SetKeyMap(int row, int slot, std::int32_t scanCode) {
    if (row < 0 || row > 1 || slot < 0 || slot >= KeyMapSlots || scanCode < 0 || scanCode > 255)
        return false;
    keyMap_[row][slot] = scanCode;
    return true;
}

std::int32_t TDDIDEX::KeyMap(int row, int slot) const {
    if (row < 0 || row > 1 || slot < 0 || slot >= KeyMapSlots)
        return 0;
    return keyMap_[row][slot];
}

bool TDDIDEX::ForceFeedback(std::uint32_t device) const { return device < DeviceCount && forceFeedback_[device]; }

} // namespace ddid
