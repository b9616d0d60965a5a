#include "platform/dinput/dinput.h"
#include "platform/dinput/install.h"
#include "platform/dinput/joystick_values.h"
#include "platform/dinput/virtual_joystick.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace dinput;
using testsupport::VirtualJoystick;
using testsupport::VirtualJoystickShape;

namespace {

struct Found {
    std::vector<DIDEVICEINSTANCE> devices;
};

int Collect(const DIDEVICEINSTANCE* instance, void* context) {
    static_cast<Found*>(context)->devices.push_back(*instance);
    return DIENUM_CONTINUE;
}

class SdlJoystickTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallSdlQtDirectInput(KeyboardLayout::Us);
        ASSERT_EQ(DirectInputCreateA(nullptr, DIRECTINPUT_VERSION, &directInput, nullptr), DI_OK);
        if (SDL_NumJoysticks() > 0)
            GTEST_SKIP() << "a joystick is plugged in; these tests count joysticks";
    }
    void TearDown() override {
        if (joystick) {
            EXPECT_EQ(joystick->Release(), 0u);
        }
        if (directInput) {
            EXPECT_EQ(directInput->Release(), 0u);
        }
        SetDirectInputFactory(nullptr);
    }

    std::vector<DIDEVICEINSTANCE> Enumerate(std::uint32_t flags) {
        Found found;
        EXPECT_EQ(directInput->EnumDevices(DIDEVTYPE_JOYSTICK, &Collect, &found, flags), DI_OK);
        return found.devices;
    }

    // Opens the only joystick offered with the standard format, the full
    // signed range on every axis, and acquires it.
    void Open(std::uint32_t level = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND, QWidget* window = nullptr) {
        std::vector<DIDEVICEINSTANCE> found = Enumerate(DIEDFL_ATTACHEDONLY);
        ASSERT_EQ(found.size(), 1u);
        IDirectInputDevice* device = nullptr;
        ASSERT_EQ(directInput->CreateDevice(found[0].guidInstance, &device, nullptr), DI_OK);
        void* second = nullptr;
        ASSERT_EQ(device->QueryInterface(IID_IDirectInputDevice2A, &second), DI_OK);
        EXPECT_EQ(device->Release(), 1u);
        joystick = static_cast<IDirectInputDevice2*>(second);
        ASSERT_EQ(joystick->SetDataFormat(&c_dfDIJoystick), DI_OK);
        ASSERT_EQ(joystick->SetCooperativeLevel(window, level), DI_OK);
    }

    HRESULT SetRange(std::uint32_t offset, std::int32_t min, std::int32_t max, std::uint32_t how = DIPH_BYOFFSET) {
        DIPROPRANGE range{{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), offset, how}, min, max};
        return joystick->SetProperty(DIPROP_RANGE, &range.diph);
    }

    DIJOYSTATE Read() {
        DIJOYSTATE state{};
        EXPECT_EQ(joystick->Poll(), DI_OK);
        EXPECT_EQ(joystick->GetDeviceState(sizeof state, &state), DI_OK);
        return state;
    }

    testsupport::SdlJoysticks sdl;
    IDirectInput* directInput = nullptr;
    IDirectInputDevice2* joystick = nullptr;
};

TEST_F(SdlJoystickTest, AxesHatsAndButtonsInTheStandardLayout) {
    VirtualJoystick pad({});
    Open();
    for (std::uint32_t offset = 0; offset < 32; offset += 4)
        ASSERT_EQ(SetRange(offset, -32768, 32767), DI_OK);
    ASSERT_EQ(joystick->Acquire(), DI_OK);
    const Sint16 axes[8] = {-32768, 32767, 100, -100, 1, -1, 12345, 0};
    for (int i = 0; i < 8; ++i)
        pad.SetAxis(i, axes[i]);
    pad.SetHat(0, SDL_HAT_RIGHTUP);
    pad.SetHat(2, SDL_HAT_LEFT);
    pad.SetButton(0, true);
    pad.SetButton(31, true);
    DIJOYSTATE state = Read();
    const std::int32_t* read = &state.lX; // X, Y, Z, rotations, sliders
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(read[i], axes[i]) << i;
    EXPECT_EQ(state.rgdwPOV[0], 4500u);
    EXPECT_EQ(state.rgdwPOV[1], POV_CENTERED);
    EXPECT_EQ(state.rgdwPOV[2], 27000u);
    EXPECT_EQ(state.rgbButtons[0], 0x80);
    EXPECT_EQ(state.rgbButtons[1], 0);
    EXPECT_EQ(state.rgbButtons[31], 0x80);
    // Nothing changes until the next poll.
    pad.SetButton(0, false);
    DIJOYSTATE again{};
    ASSERT_EQ(joystick->GetDeviceState(sizeof again, &again), DI_OK);
    EXPECT_EQ(again.rgbButtons[0], 0x80);
    EXPECT_EQ(Read().rgbButtons[0], 0);
}

TEST_F(SdlJoystickTest, RangesScaleTheAxesAndMissingObjectsReadAtRest) {
    VirtualJoystick pad({"Small", 3, 2, 1, false});
    Open();
    EXPECT_EQ(SetRange(4, 0, 1000), DI_OK);
    EXPECT_EQ(SetRange(12, -1, 1), DIERR_OBJECTNOTFOUND); // X rotation: no fourth axis
    EXPECT_EQ(SetRange(2, -1, 1), DIERR_OBJECTNOTFOUND);
    EXPECT_EQ(SetRange(0, 5, 5), DIERR_INVALIDPARAM);
    DIPROPRANGE shortRecord{{16, 16, 0, DIPH_BYOFFSET}, 0, 1};
    EXPECT_EQ(joystick->SetProperty(DIPROP_RANGE, &shortRecord.diph), DIERR_INVALIDPARAM);
    ASSERT_EQ(joystick->Acquire(), DI_OK);
    EXPECT_EQ(SetRange(0, -1, 1), DIERR_ACQUIRED);

    pad.SetAxis(0, -32768);
    pad.SetAxis(1, 32767);
    pad.SetAxis(2, 0);
    pad.SetButton(1, true);
    DIJOYSTATE state = Read();
    EXPECT_EQ(state.lX, 0);       // the untouched default range 0 ... 65535
    EXPECT_EQ(state.lY, 1000);    // its own range
    EXPECT_EQ(state.lZ, 32768);   // centre of the default range
    EXPECT_EQ(state.lRx, 0);      // axes it lacks
    EXPECT_EQ(state.rglSlider[1], 0);
    EXPECT_EQ(state.rgdwPOV[0], POV_CENTERED);
    EXPECT_EQ(state.rgdwPOV[3], POV_CENTERED);
    EXPECT_EQ(state.rgbButtons[1], 0x80);
    EXPECT_EQ(state.rgbButtons[2], 0);

    ASSERT_EQ(joystick->Unacquire(), DI_OK);
    EXPECT_EQ(SetRange(0, -10, 10, DIPH_DEVICE), DI_OK);
    ASSERT_EQ(joystick->Acquire(), DI_OK);
    state = Read();
    EXPECT_EQ(state.lX, -10);
    EXPECT_EQ(state.lY, 10);
}

TEST(JoystickValues, HatsAndScaling) {
    EXPECT_EQ(PovFromHat(SDL_HAT_CENTERED), POV_CENTERED);
    EXPECT_EQ(PovFromHat(SDL_HAT_UP), 0u);
    EXPECT_EQ(PovFromHat(SDL_HAT_RIGHTUP), 4500u);
    EXPECT_EQ(PovFromHat(SDL_HAT_RIGHT), 9000u);
    EXPECT_EQ(PovFromHat(SDL_HAT_RIGHTDOWN), 13500u);
    EXPECT_EQ(PovFromHat(SDL_HAT_DOWN), 18000u);
    EXPECT_EQ(PovFromHat(SDL_HAT_LEFTDOWN), 22500u);
    EXPECT_EQ(PovFromHat(SDL_HAT_LEFT), 27000u);
    EXPECT_EQ(PovFromHat(SDL_HAT_LEFTUP), 31500u);
    EXPECT_EQ(PovFromHat(SDL_HAT_UP | SDL_HAT_DOWN), POV_CENTERED);
    EXPECT_EQ(ScaleAxis(-32768, -2147483647 - 1, 2147483647), -2147483647 - 1);
    EXPECT_EQ(ScaleAxis(32767, -2147483647 - 1, 2147483647), 2147483647);
    EXPECT_EQ(ScaleAxis(0, -100, 100), 0);
    EXPECT_EQ(ScaleAxis(16384, 0, 4), 3);
}

TEST_F(SdlJoystickTest, AnUnpluggedJoystickFailsItsReads) {
    auto pad = std::make_unique<VirtualJoystick>(VirtualJoystickShape{});
    Open();
    ASSERT_EQ(joystick->Acquire(), DI_OK);
    Read();
    pad.reset();
    DIJOYSTATE state{};
    joystick->Poll();
    EXPECT_EQ(joystick->GetDeviceState(sizeof state, &state), DIERR_INPUTLOST);
    EXPECT_EQ(joystick->GetDeviceState(sizeof state, &state), DIERR_NOTACQUIRED);
    EXPECT_EQ(joystick->Acquire(), DIERR_UNPLUGGED);
}

TEST_F(SdlJoystickTest, AForegroundJoystickLosesItsAcquisitionWithTheFocus) {
    VirtualJoystick pad({});
    QWidget window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(joystick, nullptr);
    Open(DISCL_EXCLUSIVE | DISCL_FOREGROUND, &window);
    ASSERT_EQ(joystick->Acquire(), DI_OK);
    EXPECT_EQ(joystick->Acquire(), DI_NOEFFECT);
    Read();

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    DIJOYSTATE state{};
    EXPECT_EQ(joystick->GetDeviceState(sizeof state, &state), DIERR_INPUTLOST);
    EXPECT_EQ(joystick->Acquire(), DIERR_OTHERAPPHASPRIO);

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(joystick->Acquire(), DI_OK);
    Read();
}

} // namespace
