#include "launcher_fixture.h"

#include "diagnostics/log_capture.h"
#include "game/device_input.h"
#include "game/font_check.h"
#include "game/game_run.h"
#include "game/help.h"
#include "game/launcher_pictures.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <gmock/gmock.h>

namespace gametest {
namespace {

using LauncherWindow = LauncherTest;

TEST_F(LauncherWindow, StartsAsTheLauncherWithOnlyTheFirstOptionTicked) {
    game::Tfrm_main& form = *form_;
    EXPECT_EQ(form.Caption(), "ぴむるのゲーム Ver.1.1");
    EXPECT_EQ(form.ClientWidth(), 501);
    EXPECT_EQ(form.ClientHeight(), 256);
    EXPECT_EQ(form.BorderStyle(), ui::TBorderStyle::bsDialog);
    EXPECT_EQ(form.Panel1->geometry(), QRect(0, 0, 501, 256));
    EXPECT_TRUE(form.Panel1->isVisible());

    EXPECT_EQ(form.BitBtn1->geometry(), QRect(200, 80, 271, 77));
    EXPECT_EQ(form.BitBtn1->text(), QString::fromUtf8("ぴむるゲーム スタート"));
    EXPECT_EQ(form.BitBtn2->geometry(), QRect(32, 80, 145, 77));
    EXPECT_EQ(form.CheckBox3->geometry(), QRect(78, 214, 355, 13));
    // The pictures come from the data folder.
    EXPECT_EQ(form.BitBtn1->iconSize(), QSize(32, 69));
    EXPECT_FALSE(form.BitBtn1->icon().isNull());
    EXPECT_FALSE(form.BitBtn2->icon().isNull());
    EXPECT_FALSE(form.Widget()->windowIcon().isNull());

    EXPECT_TRUE(form.CheckBox1->isChecked());
    EXPECT_FALSE(form.CheckBox2->isChecked());
    EXPECT_FALSE(form.CheckBox3->isChecked());
    EXPECT_FALSE(form.CheckBox4->isChecked());

    // Tab order: help, start, then the option boxes row by row.
    const std::vector<QWidget*> order = {form.BitBtn2,   form.BitBtn1,   form.CheckBox1,
                                         form.CheckBox4, form.CheckBox2, form.CheckBox3};
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        EXPECT_EQ(order[i]->nextInFocusChain(), order[i + 1]) << "after tab stop " << i;
}

TEST_F(LauncherWindow, ComponentsCarryTheirStoredSettings) {
    game::Tfrm_main& form = *form_;
    EXPECT_TRUE(form.DDIDEX1->BackGround);
    EXPECT_FALSE(form.DDDD1->AutoDisplayModeInitialize);
    EXPECT_TRUE(form.DDDD1->DisableScreenSaver());
    EXPECT_TRUE(form.DDDD1->VsyncAtWindowed);
    EXPECT_FALSE(form.DDDD1->Use3D);
    EXPECT_FALSE(form.DDDD1->AllowRakugaki);
    EXPECT_EQ(form.DDDD1->BackColor, 0u);
    EXPECT_EQ(form.MediaPlayer1->FileName, "TIME.MID");
    // The display makes only its small windowed set-up while the window is made.
    EXPECT_FALSE(form.DDDD1->FullScreen());
    EXPECT_EQ(form.DDDD1->ScreenWidth(), 128);
    EXPECT_EQ(form.DDDD1->WindowHandle(), form.Handle());
    // The screen saver is held off while the program runs.
    EXPECT_FALSE(desktop_->screenSaverActive);
}

TEST_F(LauncherWindow, EscAndCtrlEAskToQuitButCtrlShiftEDoesNot) {
    auto& keys = form_->KeyState;
    QTest::keyClick(Window(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(keys.QuitRequest, 0);
    QTest::keyClick(Window(), Qt::Key_E, Qt::AltModifier | Qt::ControlModifier);
    EXPECT_EQ(keys.QuitRequest, 0);
    QTest::keyClick(Window(), Qt::Key_E);
    EXPECT_EQ(keys.QuitRequest, 0);
    QTest::keyClick(Window(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(keys.QuitRequest, -1);

    keys.QuitRequest = 0;
    QTest::keyClick(Window(), Qt::Key_Escape);
    EXPECT_EQ(keys.QuitRequest, -1);
}

TEST_F(LauncherWindow, KeysSteerThroughTheFlagsWhicheverControlHasTheFocus) {
    auto& flags = form_->KeyState.Keys;
    form_->CheckBox2->setFocus();
    QTest::keyPress(Window(), Qt::Key_Left);
    QTest::keyPress(Window(), Qt::Key_Down);
    EXPECT_TRUE(flags.Left);
    EXPECT_TRUE(flags.Down);
    QTest::keyRelease(Window(), Qt::Key_Left);
    EXPECT_FALSE(flags.Left);
    EXPECT_TRUE(flags.Down);
    QTest::keyRelease(Window(), Qt::Key_Down);

    // Releasing Z clears the swing although Space is still held; only the
    // next press of one of the three brings it back.
    QTest::keyPress(Window(), Qt::Key_Space);
    QTest::keyPress(Window(), Qt::Key_Z);
    QTest::keyRelease(Window(), Qt::Key_Z);
    EXPECT_FALSE(flags.Fire);
    QTest::keyPress(Window(), Qt::Key_X);
    EXPECT_TRUE(flags.Fire);
    QTest::keyRelease(Window(), Qt::Key_X);
    QTest::keyRelease(Window(), Qt::Key_Space);
    EXPECT_FALSE(flags.Fire);

    // The keys still reach the focused control: Space ticks the box.
    EXPECT_TRUE(form_->CheckBox2->isChecked());
}

TEST_F(LauncherWindow, EachPlayersKeysDriveOnlyTheirOwnPimuru) {
    form_->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_->Widget()));
    game::DeviceInput devices(*form_);
    auto input = [&] { return devices.Read(form_->GameWorld()); };
    // W, A, S, D and the swing keys: pimuru 1 alone.
    QTest::keyPress(Window(), Qt::Key_A);
    QTest::keyPress(Window(), Qt::Key_S);
    QTest::keyPress(Window(), Qt::Key_Q);
    game::FrameInput frame = input();
    EXPECT_EQ(frame.Pads[0].Dx, -1);
    EXPECT_EQ(frame.Pads[0].Dy, 1);
    EXPECT_TRUE(frame.Pads[0].Fire);
    EXPECT_EQ(frame.Pads[1].Dx, 0);
    EXPECT_FALSE(frame.Keys.Left || frame.Keys.Down || frame.Keys.Fire);
    for (Qt::Key key : {Qt::Key_A, Qt::Key_S, Qt::Key_Q})
        QTest::keyRelease(Window(), key);
    EXPECT_EQ(input().Pads[0].Dx, 0);

    // The cursor keys and Space, Z, X: pimuru 2 alone.
    QTest::keyPress(Window(), Qt::Key_Right);
    QTest::keyPress(Window(), Qt::Key_Z);
    frame = input();
    EXPECT_TRUE(frame.Keys.Right && frame.Keys.Fire);
    EXPECT_EQ(frame.Pads[0].Dx, 0);
    EXPECT_FALSE(frame.Pads[0].Fire);

    // Both players at once, in the same frame.
    QTest::keyPress(Window(), Qt::Key_W);
    QTest::keyPress(Window(), Qt::Key_D);
    QTest::keyPress(Window(), Qt::Key_Shift);
    frame = input();
    EXPECT_EQ(frame.Pads[0].Dx, 1);
    EXPECT_EQ(frame.Pads[0].Dy, -1);
    EXPECT_TRUE(frame.Pads[0].Fire);
    EXPECT_TRUE(frame.Keys.Right && frame.Keys.Fire);
    EXPECT_FALSE(frame.Keys.Up);

    // Keys let go while another window has the keyboard do not stay held.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    frame = input();
    EXPECT_EQ(frame.Pads[0].Dx, 0);
    EXPECT_EQ(frame.Pads[0].Dy, 0);
    EXPECT_FALSE(frame.Pads[0].Fire);
    EXPECT_FALSE(frame.Keys.Right || frame.Keys.Fire);
}

TEST_F(LauncherWindow, HelpButtonShowsTheHelpWindowUntilItIsClosed) {
    game::Tfrm_help help;
    form_->HelpWindow = &help;
    bool shownModally = false;
    QTimer::singleShot(0, [&] {
        shownModally = help.isVisible() && help.isModal();
        help.close();
    });
    form_->BitBtn2->click();
    EXPECT_TRUE(shownModally);
    EXPECT_FALSE(help.isVisible());
    EXPECT_EQ(form_->KeyState.QuitRequest, 0);
}

TEST_F(LauncherWindow, ClosingTheWindowQuitsAndEndsTheProgram) {
    form_->Widget()->close();
    EXPECT_EQ(form_->KeyState.QuitRequest, -1);
    EXPECT_TRUE(form_->TerminateRequested());
}

TEST(StartUpChecks, BrokenLauncherPicturesAndAMissingFontAreLoggedNotJustLeftOut) {
    displaytest::LogCapture logs;
    game::ReportMissingJapaneseFont(); // the test machine has the Japanese fonts
    const std::string missing = logs.Dir().File("start.bmp");
    const std::string folder = logs.Dir().File("help.bmp");
    const std::string garbage = logs.Dir().File("icon.bmp");
    std::filesystem::create_directory(folder);
    testsupport::WriteFileBytes(garbage, "BM but not a picture");
    EXPECT_TRUE(game::LoadButtonGlyph(QString::fromStdString(missing)).isNull());
    EXPECT_TRUE(game::LoadButtonGlyph(QString::fromStdString(folder)).isNull());
    EXPECT_TRUE(game::LoadWindowIcon(QString::fromStdString(garbage)).isNull());
    const std::vector<std::string> lines = logs.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], missing + "が、見つかりません");
    EXPECT_THAT(lines[1], ::testing::StartsWith(folder + "が、読み込めません("));
    EXPECT_THAT(lines[2], ::testing::StartsWith(garbage + "は、BMPファイルとして読めません("));
}

} // namespace
} // namespace gametest
