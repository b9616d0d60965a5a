#include "input/Ddidex.h"

#include "diagnostics/diagnostic_log.h"
#include "support/temp_dir.h"

#include "platform/dinput/install.h"
#include "platform/dinput/scan_codes.h"
#include "platform/dinput/virtual_joystick.h"
#include "platform/ui/qt_form.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using ddid::TDDIDEX;
using ddid::TDDIDEXDirections;
using testsupport::VirtualJoystick;

namespace {

class DdidexSdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (SDL_NumJoysticks() > 0)
            GTEST_SKIP() << "a joystick is plugged in; these tests count joysticks";
        dinput::InstallSdlQtDirectInput(dinput::KeyboardLayout::Us);
        Window()->show();
        Window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window()));
    }
    void TearDown() override { dinput::SetDirectInputFactory(nullptr); }

    TDDIDEX& Start(bool background = true) {
        auto* input = new TDDIDEX(&form); // owned by the form
        input->BackGround = background;
        input->Loaded();
        return *input;
    }

    QWidget* Window() const { return form.Widget(); }

    testsupport::SdlJoysticks sdl;
    ui::QtForm form;
};

TEST_F(DdidexSdlTest, RumblingJoysticksAreNumberedFirstAndTheirPlainTwinsLeftOut) {
    VirtualJoystick plain({"Plain Stick"});
    VirtualJoystick rumbleA({"Rumble A", 8, 32, 4, true});
    VirtualJoystick twin({"Rumble A"});
    VirtualJoystick rumbleB({"Rumble B", 8, 32, 4, true});
    TDDIDEX& input = Start();
    ASSERT_EQ(input.JoystickCount(), 3);
    EXPECT_EQ(input.JoystickNames(), (std::vector<std::string>{"Rumble A", "Rumble B", "Plain Stick"}));
    EXPECT_TRUE(input.ForceFeedback(2));
    EXPECT_FALSE(input.ForceFeedback(4));

    plain.SetButton(4, true);
    rumbleB.SetButton(9, true);
    ASSERT_TRUE(input.ReadDevice(4));
    EXPECT_TRUE(input.JoyButtonDown(4));
    EXPECT_FALSE(input.JoyButtonDown(9));
    ASSERT_TRUE(input.ReadDevice(3));
    EXPECT_TRUE(input.JoyButtonDown(9));
    EXPECT_FALSE(input.ReadDevice(5));
}

TEST_F(DdidexSdlTest, AxesHatsAndButtonsReachTheState) {
    VirtualJoystick pad({});
    TDDIDEX& input = Start();
    ASSERT_EQ(input.JoystickCount(), 1);
    pad.SetAxis(0, -32768);
    pad.SetAxis(1, 2000);
    pad.SetAxis(2, 1000); // inside the dead zone
    pad.SetAxis(7, 32767);
    pad.SetHat(0, SDL_HAT_DOWN);
    pad.SetButton(0, true);
    ASSERT_TRUE(input.ReadDevice(2));
    EXPECT_EQ(input.State().lX, -32768);
    EXPECT_EQ(input.State().lY, 381);
    EXPECT_EQ(input.State().lZ, 0);
    EXPECT_EQ(input.State().rglSlider[1], 32767);
    EXPECT_EQ(input.State().rgdwPOV[0], 18000u);
    EXPECT_EQ(input.State().rgdwPOV[1], dinput::POV_CENTERED);
    TDDIDEXDirections d;
    input.GetJoystickState(d);
    EXPECT_EQ(d.X, -1);
    EXPECT_EQ(d.Y, 1);
    EXPECT_EQ(d.Z, 0);
    EXPECT_EQ(d.Slider[1], 1);
    EXPECT_EQ(d.POV[0], 18000);
    EXPECT_EQ(d.POV[1], -1);
    EXPECT_TRUE(input.JoyButtonDown(0));

    // Without a read nothing changes, whatever the joystick does.
    pad.SetButton(0, false);
    pad.SetAxis(0, 0);
    SDL_JoystickUpdate();
    EXPECT_TRUE(input.JoyButtonDown(0));
    input.GetJoystickState(d);
    EXPECT_EQ(d.X, -1);
    ASSERT_TRUE(input.ReadDevice(2));
    EXPECT_FALSE(input.JoyButtonDown(0));
}

TEST_F(DdidexSdlTest, KeysOfTheOwnerWindowFeedTheKeyMap) {
    VirtualJoystick pad({});
    TDDIDEX& input = Start();
    input.SetKeyMap(0, 0, dinput::DIK_SPACE);
    input.SetKeyMap(0, 34, dinput::DIK_LEFT);
    QTest::keyPress(Window(), Qt::Key_Space);
    QTest::keyPress(Window(), Qt::Key_Left);
    pad.SetAxis(0, 32767);
    ASSERT_TRUE(input.ReadDevices({0, 2}));
    EXPECT_TRUE(input.JoyButtonDown(0));
    EXPECT_EQ(input.State().lX, -1);
    QTest::keyRelease(Window(), Qt::Key_Space);
    ASSERT_TRUE(input.ReadDevice(0));
    EXPECT_FALSE(input.JoyButtonDown(0));
}

TEST_F(DdidexSdlTest, AForegroundJoystickFailsOneReadAfterTheWindowComesBack) {
    VirtualJoystick pad({});
    TDDIDEX& input = Start(false);
    pad.SetButton(2, true);
    ASSERT_TRUE(input.ReadDevice(2));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(input.ReadDevice(2));
    Window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window()));
    EXPECT_FALSE(input.ReadDevice(2)); // re-acquired by this read
    EXPECT_TRUE(input.ReadDevice(2));
    EXPECT_TRUE(input.JoyButtonDown(2));
}

TEST_F(DdidexSdlTest, APadPluggedInLaterIsFoundByTheNextInitialize) {
    TDDIDEX& input = Start();
    EXPECT_FALSE(input.JoysticksChanged());
    VirtualJoystick pad({});
    EXPECT_TRUE(input.JoysticksChanged());
    input.Initialize();
    EXPECT_EQ(input.JoystickCount(), 1);
    EXPECT_FALSE(input.JoysticksChanged());
    pad.Detach();
    EXPECT_TRUE(input.JoysticksChanged());
}

TEST_F(DdidexSdlTest, APadPulledOutReadsCentredSilentlyAndAnswersWhenPutBack) {
    testsupport::TempDir logs;
    diagnostics::SetLogDirectoryForTesting(logs.Path().string());
    VirtualJoystick pad({});
    TDDIDEX& input = Start();
    pad.SetAxis(0, -32768);
    pad.SetButton(0, true);
    ASSERT_TRUE(input.ReadDevice(2));
    TDDIDEXDirections d;
    input.GetJoystickState(d);
    EXPECT_EQ(d.X, -1);

    pad.Detach();
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_FALSE(input.ReadDevice(2));
        input.GetJoystickState(d);
        EXPECT_EQ(d.X, 0);
        EXPECT_FALSE(input.JoyButtonDown(0));
    }

    // Back in: the read that finds it gone takes it up again, the next one
    // reads it.
    pad.Attach();
    pad.SetAxis(0, 32767);
    EXPECT_FALSE(input.ReadDevice(2));
    ASSERT_TRUE(input.ReadDevice(2));
    input.GetJoystickState(d);
    EXPECT_EQ(d.X, 1);
    EXPECT_EQ(input.JoystickCount(), 1);
    EXPECT_FALSE(std::filesystem::exists(logs.File("ddid.debug")));
    diagnostics::SetLogDirectoryForTesting("");
}

TEST_F(DdidexSdlTest, TheHatSteersWhileTheStickRests) {
    VirtualJoystick pad({});
    TDDIDEX& input = Start();
    pad.SetAxis(0, 3000); // a stick at rest that leans a little
    pad.SetHat(0, SDL_HAT_LEFTUP);
    ASSERT_TRUE(input.ReadDevice(2));
    TDDIDEXDirections d;
    input.GetJoystickState(d);
    EXPECT_EQ(d.X, -1);
    EXPECT_EQ(d.Y, -1);
    EXPECT_EQ(d.POV[0], 31500);
    // A pushed stick wins over the hat.
    pad.SetAxis(1, 32767);
    ASSERT_TRUE(input.ReadDevice(2));
    input.GetJoystickState(d);
    EXPECT_EQ(d.X, 1);
    EXPECT_EQ(d.Y, 1);
}

} // namespace
