#include "platform/dinput/dinput.h"
#include "platform/dinput/install.h"
#include "platform/dinput/scan_codes.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <array>
#include <cstring>

using namespace dinput;

namespace {

struct MouseState {
    std::int32_t x, y, z;
    std::uint8_t buttons[32];
};

class KeyboardMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallSdlQtDirectInput(KeyboardLayout::Us);
        ASSERT_EQ(DirectInputCreateA(nullptr, DIRECTINPUT_VERSION, &directInput, nullptr), DI_OK);
        edit = new QLineEdit(&window);
        window.resize(200, 100);
        Activate(window);
        edit->setFocus();
    }
    void TearDown() override {
        for (IDirectInputDevice* device : {keyboard, mouse}) {
            if (device) {
                EXPECT_EQ(device->Release(), 0u);
            }
        }
        EXPECT_EQ(directInput->Release(), 0u);
        SetDirectInputFactory(nullptr);
    }

    static void Activate(QWidget& widget) {
        widget.show();
        widget.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
    }

    IDirectInputDevice* Open(const GUID& guid, const DIDATAFORMAT& format, std::uint32_t level) {
        IDirectInputDevice* device = nullptr;
        EXPECT_EQ(directInput->CreateDevice(guid, &device, nullptr), DI_OK);
        EXPECT_EQ(device->SetDataFormat(&format), DI_OK);
        EXPECT_EQ(device->SetCooperativeLevel(&window, level), DI_OK);
        EXPECT_EQ(device->Acquire(), DI_OK);
        return device;
    }

    void OpenKeyboard(std::uint32_t level = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND) {
        keyboard = Open(GUID_SysKeyboard, c_dfDIKeyboard, level);
    }

    void OpenMouse() {
        static const DIOBJECTDATAFORMAT objects[] = {{nullptr, 0, DIDFT_RELAXIS | DIDFT_ANYINSTANCE, 0},
                                                     {nullptr, 12, DIDFT_BUTTON | DIDFT_ANYINSTANCE, 0}};
        static const DIDATAFORMAT format = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 44, 2,
                                            objects};
        mouse = Open(GUID_SysMouse, format, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
    }

    std::array<std::uint8_t, 256> Keys() {
        std::array<std::uint8_t, 256> keys{};
        EXPECT_EQ(keyboard->GetDeviceState(256, keys.data()), DI_OK);
        return keys;
    }

    MouseState Mouse() {
        MouseState state{};
        EXPECT_EQ(mouse->GetDeviceState(sizeof state, &state), DI_OK);
        return state;
    }

    void LoseFocus() { Activate(other); }

    void SendToWindow(QEvent& event) { QCoreApplication::sendEvent(window.windowHandle(), &event); }

    void MoveTo(QPointF local) {
        QMouseEvent move(QEvent::MouseMove, local, window.mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        SendToWindow(move);
    }

    IDirectInput* directInput = nullptr;
    IDirectInputDevice* keyboard = nullptr;
    IDirectInputDevice* mouse = nullptr;
    QWidget window;
    QWidget other;
    QLineEdit* edit = nullptr;
};

TEST_F(KeyboardMouseTest, KeysOfTheWindowAndItsControlsReachTheSnapshot) {
    OpenKeyboard();
    QTest::keyPress(edit, Qt::Key_Z);
    QTest::keyPress(&window, Qt::Key_Left);
    QTest::keyPress(window.windowHandle(), Qt::Key_At, Qt::ShiftModifier);
    auto keys = Keys();
    EXPECT_EQ(keys[DIK_Z], 0x80);
    EXPECT_EQ(keys[DIK_LEFT], 0x80);
    EXPECT_EQ(keys[DIK_2], 0x80);
    EXPECT_EQ(keys[DIK_SPACE], 0);
    EXPECT_EQ(keys[0], 0);

    // Auto-repeat releases do not let go of the key.
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Z, Qt::NoModifier, QString("z"), true);
    QCoreApplication::sendEvent(edit, &repeatRelease);
    EXPECT_EQ(Keys()[DIK_Z], 0x80);
    QTest::keyRelease(edit, Qt::Key_Z);
    EXPECT_EQ(Keys()[DIK_Z], 0);

    // Keys of another window are not ours.
    QTest::keyPress(&other, Qt::Key_X);
    EXPECT_EQ(Keys()[DIK_X], 0);
}

TEST_F(KeyboardMouseTest, FocusLossReleasesEveryKeyAndAForegroundKeyboardMustBeAcquiredAgain) {
    OpenKeyboard();
    QTest::keyPress(edit, Qt::Key_Space);
    ASSERT_EQ(Keys()[DIK_SPACE], 0x80);
    LoseFocus();
    std::array<std::uint8_t, 256> keys{};
    EXPECT_EQ(keyboard->GetDeviceState(256, keys.data()), DIERR_INPUTLOST);
    EXPECT_EQ(keyboard->GetDeviceState(256, keys.data()), DIERR_NOTACQUIRED);
    EXPECT_EQ(keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);
    Activate(window);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(Keys()[DIK_SPACE], 0);
}

TEST_F(KeyboardMouseTest, ABackgroundKeyboardStaysAcquiredButForgetsItsKeys) {
    OpenKeyboard(DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
    QTest::keyPress(edit, Qt::Key_Up);
    LoseFocus();
    EXPECT_EQ(Keys()[DIK_UP], 0);
    IDirectInputDevice* exclusive = nullptr;
    ASSERT_EQ(directInput->CreateDevice(GUID_SysKeyboard, &exclusive, nullptr), DI_OK);
    EXPECT_EQ(exclusive->SetCooperativeLevel(&window, DISCL_EXCLUSIVE | DISCL_BACKGROUND), DIERR_UNSUPPORTED);
    EXPECT_EQ(exclusive->Release(), 0u);
}

TEST_F(KeyboardMouseTest, MouseMotionWheelAndButtonsBetweenReads) {
    OpenMouse();
    MoveTo({10, 10});
    MoveTo({15, 7});
    MoveTo({12, 30});
    QWheelEvent wheel(QPointF(12, 30), window.mapToGlobal(QPointF(12, 30)), QPoint(), QPoint(0, -240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    SendToWindow(wheel);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(12, 30), window.mapToGlobal(QPointF(12, 30)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    SendToWindow(press);
    MouseState state = Mouse();
    EXPECT_EQ(state.x, 2);
    EXPECT_EQ(state.y, 20);
    EXPECT_EQ(state.z, -240);
    EXPECT_EQ(state.buttons[0], 0);
    EXPECT_EQ(state.buttons[1], 0x80);
    // Motion starts again from zero; the button stays down.
    state = Mouse();
    EXPECT_EQ(state.x, 0);
    EXPECT_EQ(state.z, 0);
    EXPECT_EQ(state.buttons[1], 0x80);

    LoseFocus();
    EXPECT_EQ(mouse->GetDeviceState(sizeof state, &state), DIERR_INPUTLOST);
    Activate(window);
    ASSERT_EQ(mouse->Acquire(), DI_OK);
    state = Mouse();
    EXPECT_EQ(state.buttons[1], 0);
    EXPECT_EQ(state.y, 0);
}

} // namespace
