#include "input/Ddidex.h"

#include "base/cp932.h"
#include "input/ddid_log.h"
#include "input/fake_direct_input.h"
#include "platform/dinput/scan_codes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

using namespace dinput;
using ddid::TDDIDEX;
using ddid::TDDIDEXDirections;
using testsupport::FakeDevice;
using testsupport::FakeDirectInput;
using testsupport::RestingJoystick;

namespace {

struct Halted {};

class DdidexTest : public ::testing::Test {
protected:
    void SetUp() override {
        diagnostics::SetLogDirectoryForTesting(logs.Path().string());
        ddid::Log().DebugLineCount = 0;
        diagnostics::SetHaltAction([] { throw Halted(); });
        platform.Install();
    }
    void TearDown() override {
        input.reset();
        platform.Uninstall();
        diagnostics::SetHaltAction(nullptr);
        diagnostics::SetLogDirectoryForTesting("");
        EXPECT_EQ(platform.liveDevices, 0);
        EXPECT_EQ(platform.references, 0u);
    }

    TDDIDEX& Start() {
        input = std::make_unique<TDDIDEX>(nullptr);
        input->BackGround = true;
        input->Loaded();
        return *input;
    }

    std::string Log() const { return testsupport::ReadFileBytes(logs.File("ddid.debug")); }

    bool Contains(const std::string& entry) const {
        return std::find(platform.journal.begin(), platform.journal.end(), entry) != platform.journal.end();
    }

    testsupport::TempDir logs;
    FakeDirectInput platform;
    std::unique_ptr<TDDIDEX> input;
};

DIJOYSTATE Joystick(std::int32_t x, std::int32_t y, std::initializer_list<int> buttons = {}) {
    DIJOYSTATE state = RestingJoystick();
    state.lX = x;
    state.lY = y;
    for (int b : buttons)
        state.rgbButtons[b] = 0x80;
    return state;
}

TEST_F(DdidexTest, ReadsOfAMissingJoystickFailAndLeaveEverythingZero) {
    TDDIDEX& in = Start();
    EXPECT_EQ(in.JoystickCount(), 0);
    platform.SetKey(DIK_SPACE, true);
    in.SetKeyMap(0, 0, DIK_SPACE);
    ASSERT_TRUE(in.ReadDevice(0));
    ASSERT_TRUE(in.JoyButtonDown(0));
    EXPECT_FALSE(in.ReadDevice(2));
    TDDIDEXDirections d;
    d.X = d.POV[3] = 7;
    in.GetJoystickState(d);
    const std::int32_t* fields = &d.X;
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(fields[i], 0) << i;
    EXPECT_FALSE(in.JoyButtonDown(0));
}

TEST_F(DdidexTest, KeyboardThenAMissingSecondJoystickStillSucceeds) {
    platform.AddJoystick({"Pad"});
    TDDIDEX& in = Start();
    in.SetKeyMap(0, 34, DIK_LEFT);
    platform.SetKey(DIK_LEFT, true);
    EXPECT_TRUE(in.ReadDevices({0, 3}));
    EXPECT_EQ(in.State().lX, -32767);
    // An empty list reads nothing and keeps the state.
    EXPECT_FALSE(in.ReadDevices(std::span<const std::int32_t>{}));
    EXPECT_EQ(in.State().lX, -32767);
}

TEST_F(DdidexTest, KeyMapSlotsGiveButtonsAndDirections) {
    TDDIDEX& in = Start();
    in.SetKeyMap(0, 32, DIK_UP);
    in.SetKeyMap(1, 33, DIK_S);
    in.SetKeyMap(0, 36, DIK_Q);
    in.SetKeyMap(1, 5, DIK_X);
    platform.SetKey(DIK_UP, true);
    platform.SetKey(DIK_S, true);
    ASSERT_TRUE(in.ReadDevice(0));
    EXPECT_EQ(in.State().lY, 0); // up and down together
    EXPECT_EQ(in.State().lX, 0);

    platform.SetKey(DIK_UP, false);
    platform.SetKey(DIK_S, false);
    platform.SetKey(DIK_Q, true);
    platform.SetKey(DIK_X, true);
    ASSERT_TRUE(in.ReadDevice(0));
    EXPECT_EQ(in.State().lX, -32767);
    EXPECT_EQ(in.State().lY, -32767);
    EXPECT_TRUE(in.JoyButtonDown(5)); // a row-1 key
    EXPECT_FALSE(in.JoyButtonDown(0));
    // Whole bytes are combined: a byte without the high bit is not "down".
    platform.Device("keyboard")->snapshot[DIK_X] = 0x01;
    ASSERT_TRUE(in.ReadDevice(0));
    EXPECT_EQ(in.State().rgbButtons[5], 0x01);
    EXPECT_FALSE(in.JoyButtonDown(5));
}

TEST_F(DdidexTest, MergingTheOppositeFullTiltGivesMinusOne) {
    platform.AddJoystick({"Pad"});
    TDDIDEX& in = Start();
    in.SetKeyMap(0, 34, DIK_LEFT);
    platform.SetKey(DIK_LEFT, true);
    platform.SetJoystick("Pad", Joystick(32767, 0, {3}));
    ASSERT_TRUE(in.ReadDevices({0, 2}));
    EXPECT_EQ(in.State().lX, -1);
    EXPECT_TRUE(in.JoyButtonDown(3));
    // Point-of-view values are ORed too: centred swallows every angle.
    EXPECT_EQ(in.State().rgdwPOV[0], POV_CENTERED);
    TDDIDEXDirections d;
    in.GetJoystickState(d);
    EXPECT_EQ(d.X, -1);
    EXPECT_EQ(d.POV[0], -1);
}

TEST_F(DdidexTest, MouseAfterAJoystickReplacesTheAxesAndOrsTheButtons) {
    platform.AddJoystick({"Pad"});
    TDDIDEX& in = Start();
    DIJOYSTATE stick = Joystick(20000, -20000, {0});
    stick.lZ = 5000;
    platform.SetJoystick("Pad", stick);
    platform.SetMouse(3, 0, -120, {1});
    ASSERT_TRUE(in.ReadDevices({2, 1}));
    EXPECT_EQ(in.State().lX, 3);
    EXPECT_EQ(in.State().lY, 0);
    EXPECT_EQ(in.State().lZ, -120);
    EXPECT_TRUE(in.JoyButtonDown(0));
    EXPECT_TRUE(in.JoyButtonDown(1));
}

TEST_F(DdidexTest, DeadZoneFunction) {
    EXPECT_EQ(TDDIDEX::ApplyDeadZone(32767, 5), 32767);
    EXPECT_EQ(TDDIDEX::ApplyDeadZone(-32768, 5), -32768);
    EXPECT_EQ(TDDIDEX::ApplyDeadZone(2000, 5), 381);
    EXPECT_EQ(TDDIDEX::ApplyDeadZone(-2000, 5), -381);
    EXPECT_EQ(TDDIDEX::ApplyDeadZone(1638, 5), 0);
    EXPECT_EQ(TDDIDEX::ApplyDeadZone(-1638, 5), 0);
    EXPECT_EQ(TDDIDEX::ApplyDeadZone(1639, 5), 1);
    EXPECT_EQ(TDDIDEX::ApplyDeadZone(1000, 5), 0);
    EXPECT_EQ(TDDIDEX::ApplyDeadZone(1, 0), 1);
    for (std::int32_t zone : {100, 101, 65536, 2147483647})
        EXPECT_EQ(TDDIDEX::ApplyDeadZone(32767, zone), 0) << zone;
    // Below 0 counts as no dead zone: a centred axis stays centred.
    for (std::int32_t zone : {-50, -2147483647 - 1})
        EXPECT_EQ(TDDIDEX::ApplyDeadZone(0, zone), 0) << zone;
    // Values beyond the set range do not overflow.
    EXPECT_EQ(TDDIDEX::ApplyDeadZone(2147483647, 50), 2147483647);
    EXPECT_EQ(TDDIDEX::ApplyDeadZone(-2147483647 - 1, 50), -2147483647 - 1);
}

TEST_F(DdidexTest, DeadZoneAppliesToEveryJoystickAxisAndSlider) {
    platform.AddJoystick({"Pad"});
    TDDIDEX& in = Start();
    DIJOYSTATE stick = RestingJoystick();
    std::int32_t* values[8] = {&stick.lX,  &stick.lY,  &stick.lZ,           &stick.lRx,
                               &stick.lRy, &stick.lRz, &stick.rglSlider[0], &stick.rglSlider[1]};
    for (std::int32_t* v : values)
        *v = 2000;
    stick.lY = 1000;
    platform.SetJoystick("Pad", stick);

    ASSERT_TRUE(in.ReadDevice(2));
    EXPECT_EQ(in.State().lY, 0);
    EXPECT_EQ(in.State().lX, 381);
    EXPECT_EQ(in.State().rglSlider[1], 381);

    in.DeadZone = 0;
    ASSERT_TRUE(in.ReadDevice(2));
    EXPECT_EQ(in.State().lY, 1000);
    EXPECT_EQ(in.State().rglSlider[1], 2000);

    in.DeadZone = 100;
    ASSERT_TRUE(in.ReadDevice(2));
    const std::int32_t* read = &in.State().lX;
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(read[i], 0) << i;
    EXPECT_EQ(in.State().rgdwPOV[0], POV_CENTERED);
}

TEST_F(DdidexTest, AJoystickRefusingExclusiveUseIsOpenedSharedWithoutAReport) {
    platform.AddJoystick({"Shy"});
    platform.failures["Shy exclusive"] = DIERR_OTHERAPPHASPRIO;
    TDDIDEX& in = Start();
    ASSERT_EQ(in.JoystickCount(), 1);
    EXPECT_EQ(platform.Device("Shy")->levels,
              (std::vector<std::uint32_t>{DISCL_BACKGROUND | DISCL_EXCLUSIVE, DISCL_BACKGROUND | DISCL_NONEXCLUSIVE}));
    EXPECT_EQ(Log(), "");
}

TEST_F(DdidexTest, JoysticksThatCannotBeOpenedAreSkippedAndASeventeenthIsIgnored) {
    platform.AddJoystick({"Broken", false, true});
    platform.AddJoystick({"Old", false, false, true});
    for (int i = 0; i < 17; ++i)
        platform.AddJoystick({"Pad " + std::to_string(i)});
    TDDIDEX& in = Start();
    EXPECT_EQ(in.JoystickCount(), 16);
    EXPECT_EQ(in.JoystickNames().front(), "Pad 0");
    EXPECT_EQ(in.JoystickNames().back(), "Pad 15");
    EXPECT_FALSE(Contains("create Pad 16"));
    EXPECT_TRUE(Contains("Old release")); // its first interface goes back
    platform.SetJoystick("Pad 15", Joystick(0, 0, {31}));
    EXPECT_TRUE(in.ReadDevice(17));
    EXPECT_TRUE(in.JoyButtonDown(31));
}

TEST_F(DdidexTest, OutOfRangeDevicesButtonsAndKeysAreRefused) {
    platform.AddJoystick({"Pad"});
    TDDIDEX& in = Start();
    platform.SetJoystick("Pad", Joystick(0, 0, {0}));
    ASSERT_TRUE(in.ReadDevice(2));
    EXPECT_FALSE(in.ReadDevice(18));
    EXPECT_FALSE(in.JoyButtonDown(0)); // the failed read cleared the state
    EXPECT_FALSE(in.ReadDevice(-1));
    EXPECT_FALSE(in.JoyButtonDown(32));
    for (auto [row, slot, code] : {std::array{0, 0, 256}, {0, 0, -1}, {2, 0, 1}, {0, 40, 1}, {-1, 0, 1}})
        EXPECT_FALSE(in.SetKeyMap(row, slot, code));
    EXPECT_TRUE(in.SetKeyMap(1, 39, 255));
    EXPECT_EQ(in.KeyMap(1, 39), 255);
    EXPECT_EQ(in.KeyMap(5, 99), 0);
}

TEST_F(DdidexTest, LostDevicesAreAcquiredAgain) {
    platform.AddJoystick({"Pad"});
    TDDIDEX& in = Start();
    in.SetKeyMap(0, 0, DIK_Z);
    platform.SetKey(DIK_Z, true);
    // The keyboard tries again within the same call.
    platform.Device("keyboard")->failingReads = 1;
    platform.journal.clear();
    EXPECT_TRUE(in.ReadDevice(0));
    EXPECT_TRUE(Contains("keyboard acquire"));
    EXPECT_TRUE(in.JoyButtonDown(0));
    platform.Device("keyboard")->failingReads = 2;
    EXPECT_FALSE(in.ReadDevice(0));
    EXPECT_FALSE(in.JoyButtonDown(0));

    // The mouse and joysticks fail this call and read from the next one.
    platform.SetMouse(1, 2, 3, {0});
    platform.Device("mouse")->failingReads = 1;
    platform.journal.clear();
    ASSERT_TRUE(in.ReadDevice(0));
    EXPECT_FALSE(in.ReadDeviceState(true, 1));
    EXPECT_TRUE(Contains("mouse acquire"));
    EXPECT_TRUE(in.JoyButtonDown(0)); // kept from the keyboard
    EXPECT_EQ(in.State().lX, 0);
    EXPECT_TRUE(in.ReadDevice(1));
    EXPECT_EQ(in.State().lY, 2);

    platform.SetJoystick("Pad", Joystick(32767, 0));
    platform.Device("Pad")->failingReads = 1;
    platform.journal.clear();
    EXPECT_FALSE(in.ReadDevice(2));
    EXPECT_TRUE(Contains("Pad acquire"));
    EXPECT_EQ(in.State().lX, 0);
    EXPECT_EQ(in.State().rgdwPOV[0], 0u);
    EXPECT_TRUE(in.ReadDevice(2));
    EXPECT_EQ(in.State().lX, 32767);
}

TEST_F(DdidexTest, InitializeAgainReleasesEverythingAndStartsAfresh) {
    platform.AddJoystick({"Pad", true});
    platform.AddJoystick({"Stick"});
    TDDIDEX& in = Start();
    in.SetKeyMap(0, 3, DIK_A);
    platform.journal.clear();
    platform.joysticks.pop_back();
    in.Initialize();
    std::vector<std::string> expected = {
        "keyboard unacquire", "keyboard release", "mouse unacquire", "mouse release", "Pad unacquire",
        "Pad release",        "Stick unacquire",  "Stick release",   "directinput release",
    };
    ASSERT_GE(platform.journal.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(platform.journal.begin(), platform.journal.begin() + 9), expected);
    EXPECT_EQ(in.JoystickNames(), std::vector<std::string>{"Pad"});
    EXPECT_EQ(in.KeyMap(0, 3), 0);
    EXPECT_EQ(platform.liveDevices, 3);
}

TEST_F(DdidexTest, DestructionReleasesInOrder) {
    platform.AddJoystick({"Pad"});
    Start();
    platform.journal.clear();
    input.reset();
    EXPECT_EQ(platform.journal,
              (std::vector<std::string>{"keyboard unacquire", "keyboard release", "mouse unacquire", "mouse release",
                                        "Pad unacquire", "Pad release", "directinput release"}));
}

TEST_F(DdidexTest, DesignModeAndAutoInitializeOffLeaveThePlatformAlone) {
    input = std::make_unique<TDDIDEX>(nullptr);
    input->SetDesigning(true);
    input->Loaded();
    input.reset();
    input = std::make_unique<TDDIDEX>(nullptr);
    input->AutoInitialize = false;
    input->Loaded();
    EXPECT_TRUE(platform.journal.empty());
    EXPECT_FALSE(input->ReadDevice(0));
    EXPECT_FALSE(input->ReadDevice(1));
    input->Initialize();
    EXPECT_TRUE(input->ReadDevice(0));
    EXPECT_EQ(input->DeadZone, 5);
    EXPECT_FALSE(input->BackGround);
}

// Each checked step of the set-up: its message goes to "ddid.debug" and the
// program ends before the next step.
struct FailingStep {
    const char* step;
    const char* message;
    const char* notReached; // a journal entry of a later step
};

class DdidexFailureTest : public DdidexTest, public ::testing::WithParamInterface<FailingStep> {};

TEST_P(DdidexFailureTest, IsLoggedAndEndsTheProgram) {
    const FailingStep& failing = GetParam();
    platform.AddJoystick({"Pad"});
    platform.AddJoystick({"Later"});
    platform.failures[failing.step] = DIERR_INVALIDPARAM;
    EXPECT_THROW(Start(), Halted);
    EXPECT_EQ(Log(), base::Utf8ToCp932("debug#00001 ... " + std::string(failing.message) +
                                       "(Error Code(80070057))\r\n"));
    EXPECT_FALSE(Contains(failing.notReached));
}

INSTANTIATE_TEST_SUITE_P(
    EveryCheckedStep, DdidexFailureTest,
    ::testing::Values(
        FailingStep{"create", "DirectInputの作成に失敗しました", "create keyboard"},
        FailingStep{"create keyboard", "DirectInputDevice(キーボード)の作成に失敗しました", "keyboard format 256"},
        FailingStep{"keyboard format", "DirectInputDeviceのデータフォーマット(キーボード)の指定に失敗しました",
                    "keyboard level 10"},
        FailingStep{"keyboard level", "DirectInputDeviceの協調レベルの設定に失敗しました", "create mouse"},
        FailingStep{"create mouse", "DirectInputDevice(マウス)の作成に失敗しました", "mouse format 44"},
        FailingStep{"mouse format", "DirectInputDeviceのデータフォーマット(マウス)の指定に失敗しました", "mouse level 6"},
        FailingStep{"mouse level", "DirectInputDeviceの協調レベルの設定に失敗しました", "enumerate 4 257"},
        FailingStep{"Pad format", "DirectInputDeviceのデータフォーマット(ジョイスティック)の指定に失敗しました",
                    "Pad level 9"},
        FailingStep{"Pad level", "DirectInputDeviceの協調レベルの設定に失敗しました", "create Later"}));

TEST_F(DdidexTest, WithoutABackEndTheFirstStepFails) {
    platform.Uninstall();
    EXPECT_THROW(Start(), Halted);
    EXPECT_EQ(Log(), base::Utf8ToCp932("debug#00001 ... DirectInputの作成に失敗しました(Error Code(80040154))\r\n"));
}

TEST_F(DdidexTest, WhenTheLogGoesOnAFailedStepStopsTheSetUpSafely) {
    ddid::Log().HaltOnError = false;
    platform.AddJoystick({"Pad"});
    platform.AddJoystick({"Next"});
    platform.failures["Pad format"] = DIERR_INVALIDPARAM;
    platform.failures["create mouse"] = DIERR_INVALIDPARAM;
    TDDIDEX& in = Start();
    ddid::Log().HaltOnError = true;
    EXPECT_EQ(ddid::Log().DebugLineCount, 1);
    EXPECT_FALSE(in.ReadDevice(1));
    EXPECT_FALSE(in.ReadDevice(2));
    EXPECT_TRUE(in.ReadDevice(0));
    platform.failures.erase("create mouse");
    ddid::Log().HaltOnError = false;
    in.Initialize();
    ddid::Log().HaltOnError = true;
    EXPECT_EQ(in.JoystickNames(), std::vector<std::string>{"Next"});
}

} // namespace
