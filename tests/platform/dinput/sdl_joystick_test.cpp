#include "platform/dinput/dinput.h"
#include "platform/dinput/install.h"
#include "platform/dinput/joystick_values.h"
#include "platform/dinput/virtual_joystick.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
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

    // Opens the only joystick offered (or the only one of that name) with
    // the standard format and the cooperative level given.
    void Open(std::uint32_t level = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND, QWidget* window = nullptr,
              const std::string& name = "") {
        std::vector<DIDEVICEINSTANCE> found = Enumerate(DIEDFL_ATTACHEDONLY);
        std::erase_if(found, [&](const DIDEVICEINSTANCE& d) { return !name.empty() && d.tszProductName != name; });
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

TEST(JoystickValues, TheHatSteersAStickAtRest) {
    auto steer = [](std::int16_t x, std::int16_t y, std::uint8_t hat) {
        SteerWithHat(x, y, hat);
        return std::pair<int, int>(x, y);
    };
    EXPECT_EQ(steer(300, -7000, SDL_HAT_LEFTUP), std::pair(-32768, -32768));
    EXPECT_EQ(steer(0, 0, SDL_HAT_RIGHT), std::pair(32767, 0));
    EXPECT_EQ(steer(0, 0, SDL_HAT_DOWN), std::pair(0, 32767));
    // A pushed stick, or a hat at rest, leaves the stick as it is.
    EXPECT_EQ(steer(0, 12000, SDL_HAT_LEFT), std::pair(0, 12000));
    EXPECT_EQ(steer(-500, 200, SDL_HAT_CENTERED), std::pair(-500, 200));
}

TEST_F(SdlJoystickTest, AnUnpluggedJoystickFailsItsReadsUntilItIsPutBack) {
    VirtualJoystick pad({});
    VirtualJoystick other({"Other Pad"});
    Open(DISCL_NONEXCLUSIVE | DISCL_BACKGROUND, nullptr, "Test Pad");
    ASSERT_EQ(SetRange(0, -100, 100), DI_OK);
    ASSERT_EQ(joystick->Acquire(), DI_OK);
    Read();
    pad.Detach();
    DIJOYSTATE state{};
    joystick->Poll();
    EXPECT_EQ(joystick->GetDeviceState(sizeof state, &state), DIERR_INPUTLOST);
    EXPECT_EQ(joystick->GetDeviceState(sizeof state, &state), DIERR_NOTACQUIRED);
    // Another pad is no stand-in for it.
    EXPECT_EQ(joystick->Acquire(), DIERR_UNPLUGGED);

    // Put back, it is SDL's new joystick, found again by the next Acquire
    // with the range the program set.
    pad.Attach();
    pad.SetAxis(0, 32767);
    pad.SetButton(5, true);
    ASSERT_EQ(joystick->Acquire(), DI_OK);
    state = Read();
    EXPECT_EQ(state.lX, 100);
    EXPECT_EQ(state.rgbButtons[5], 0x80);
}

// A pad that numbers its south button 3, its left stick as axes 2 and 3 and
// its pad as hat 0, mapped the way a player would: in SDL_GAMECONTROLLERCONFIG,
// which SDL reads as its joysticks start.
const VirtualJoystickShape kMappedPad{.name = "Mapped Pad", .axes = 4, .buttons = 8, .hats = 1,
                                      .vendor = 0x1234, .product = 0x5678};

class SdlGamepadMappingTest : public SdlJoystickTest {
protected:
    static void SetUpTestSuite() {
        SDL_JoystickGUID id;
        {
            testsupport::SdlJoysticks sdl;
            VirtualJoystick pad(kMappedPad);
            id = SDL_JoystickGetGUID(SDL_JoystickFromInstanceID(pad.InstanceId()));
        }
        id.data[2] = id.data[3] = 0; // mappings leave out the checksum of the name
        char guid[33];
        SDL_JoystickGetGUIDString(id, guid, sizeof guid);
        const std::string mapping = std::string(guid) +
                                    ",Mapped Pad,a:b3,b:b0,leftx:a2,lefty:a3,rightx:a0,righty:a1,"
                                    "dpup:h0.1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,";
        setenv("SDL_GAMECONTROLLERCONFIG", mapping.c_str(), 1);
    }
    static void TearDownTestSuite() { unsetenv("SDL_GAMECONTROLLERCONFIG"); }
};

TEST_F(SdlGamepadMappingTest, APlayersMappingGivesTheSouthButtonStickAndPadFirst) {
    VirtualJoystick pad(kMappedPad);
    Open();
    for (std::uint32_t offset = 0; offset < 24; offset += 4)
        ASSERT_EQ(SetRange(offset, -32768, 32767), DI_OK);
    EXPECT_EQ(SetRange(24, -1, 1), DIERR_OBJECTNOTFOUND); // a gamepad has no sliders
    ASSERT_EQ(joystick->Acquire(), DI_OK);

    pad.SetButton(3, true);
    pad.SetAxis(2, -32768);
    pad.SetAxis(1, 32767);
    DIJOYSTATE state = Read();
    EXPECT_EQ(state.rgbButtons[0], 0x80);
    EXPECT_EQ(state.rgbButtons[1], 0);
    EXPECT_EQ(state.rgbButtons[3], 0);
    EXPECT_EQ(state.lX, -32768);
    EXPECT_EQ(state.lY, 0);
    EXPECT_EQ(state.lRy, 32767);
    EXPECT_EQ(state.rgdwPOV[0], POV_CENTERED);

    // With the stick let go, the pad steers.
    pad.SetAxis(2, 0);
    pad.SetHat(0, SDL_HAT_RIGHTDOWN);
    state = Read();
    EXPECT_EQ(state.lX, 32767);
    EXPECT_EQ(state.lY, 32767);
    EXPECT_EQ(state.rgdwPOV[0], 13500u);
}

TEST_F(SdlJoystickTest, AGamepadFromSdlsOwnMappingsSwingsWithButton0) {
    VirtualJoystick pad({.name = "Known Pad", .axes = 6, .buttons = 15, .hats = 0, .gamepad = true});
    Open();
    ASSERT_EQ(joystick->Acquire(), DI_OK);
    pad.SetButton(0, true);  // SDL's own mapping of this pad: A is its first button
    pad.SetButton(13, true); // the pad's left
    DIJOYSTATE state = Read();
    EXPECT_EQ(state.rgbButtons[0], 0x80);
    EXPECT_EQ(state.rgdwPOV[0], 27000u);
    EXPECT_EQ(state.lX, 0); // the default range 0 ... 65535, pushed left by the pad
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
