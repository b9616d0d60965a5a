#include "launcher_fixture.h"

#include "base/cp932.h"
#include "game/game_run.h"
#include "platform/dinput/virtual_joystick.h"
#include "platform/media/fluidsynth_midi_player.h"
#include "sound/ddsd_log.h"
#include "support/full_folder.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <gmock/gmock.h>

namespace gametest {
namespace {

using GameRunTest = LauncherTest;

constexpr char kTrueColourAdvice[] =
    "画面の色がTrue Colorになっています。\r動作が遅い場合は、画面の色数をHigh Color(16 ﾋﾞｯﾄ)に設定しましょう。";
constexpr char kHighColourRequired[] = "画面の色数をHigh Color(16 ﾋﾞｯﾄ)に設定してから起動して下さい。";
constexpr char kRunDisturbed[] = "ゲームの実行が妨害されました。終了します。";

// The back buffer's pixel in 0x00RRGGBB, whatever its format.
std::uint32_t BackBufferRgb(dddd::TDDDD& display, int x, int y) {
    dddd::TDDDDGenSurface* back = display.BackBuffer();
    const std::uint32_t raw = back->ReadPixel(x, y);
    if (display.BackBuffer()->GetSurfaceInfo().ddpfPixelFormat.dwRGBBitCount == 16)
        return ((raw >> 11 & 0x1F) * 255 / 31) << 16 | ((raw >> 5 & 0x3F) * 255 / 63) << 8 |
               (raw & 0x1F) * 255 / 31;
    return raw & 0xFFFFFF;
}

// How many pixels of a back-buffer rectangle are close to a colour.
int PixelsNear(dddd::TDDDD& display, QRect area, std::uint32_t rgb) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const std::uint32_t p = BackBufferRgb(display, x, y);
            int distance = 0;
            for (int shift : {0, 8, 16})
                distance = std::max(distance, std::abs(int(p >> shift & 0xFF) - int(rgb >> shift & 0xFF)));
            count += distance < 40;
        }
    }
    return count;
}

TEST_F(GameRunTest, FullScreenRunDrawsTheGameAndRestoresTheLauncher) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    form_->SetLeft(form_->Left() - 37); // where the player put it
    form_->SetTop(form_->Top() + 23);
    const int launcherLeft = form_->Left();
    const int launcherTop = form_->Top();
    int fullScreenWidth = 0;
    bool panelShown = true;
    int yellowTextPixels = 0;
    int backgroundPixels = 0;
    PlayFrames(10, [&] {
        dddd::TDDDD& display = *form_->DDDD1;
        fullScreenWidth = form_->Widget()->width();
        panelShown = form_->Panel1->isVisible();
        EXPECT_TRUE(display.FullScreen());
        EXPECT_EQ(display.BitCount(), 16);
        EXPECT_EQ(desktop_->cursorCount, -1);
        EXPECT_EQ(desktop_->imeSwitchedOffFor, form_->Handle());
        // The high score ("最高点 0", yellow) never blinks; the middle of the
        // screen shows the background, not the black of the cleared buffer.
        yellowTextPixels = PixelsNear(display, QRect(250, 5, 120, 30), 0xFFFF00);
        backgroundPixels = 640 * 100 - PixelsNear(display, QRect(0, 150, 640, 100), 0x000000);
    });
    // The window covers the screen (the offscreen platform keeps a thin frame).
    EXPECT_GE(fullScreenWidth, screen.width() - 8);
    EXPECT_FALSE(panelShown);
    EXPECT_GT(yellowTextPixels, 50);
    EXPECT_GT(backgroundPixels, 640 * 90);
    EXPECT_TRUE(desktop_->messages.empty()); // no colour-depth talk in full screen

    // The launcher is back as it was, where the player put it, the pointer
    // shown, the start button ready for another go.
    game::Tfrm_main& form = *form_;
    EXPECT_EQ(form.ClientWidth(), 501);
    EXPECT_EQ(form.ClientHeight(), 256);
    EXPECT_EQ(form.Left(), launcherLeft);
    EXPECT_EQ(form.Top(), launcherTop);
    EXPECT_EQ(form.BorderStyle(), ui::TBorderStyle::bsDialog);
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.Panel1->isVisible());
    EXPECT_EQ(form.Widget()->focusWidget(), form.BitBtn1);
    EXPECT_FALSE(form.DDDD1->FullScreen());
    EXPECT_EQ(desktop_->cursorCount, 0);
    EXPECT_FALSE(form.Running());
    EXPECT_FALSE(form.TerminateRequested());

    const std::vector<std::string> expected = {"Open TIME.MID", "Rewind", "Play", "Stop", "Close"};
    EXPECT_EQ(music_, expected);
}

// The size limits a window has when it is shown, which a window manager
// draws its frame for.
class LimitsWhenShown : public QObject {
public:
    std::vector<std::pair<QSize, QSize>> shown; // least and most

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->isWindow())
                shown.emplace_back(widget->minimumSize(), widget->maximumSize());
        return false;
    }
};

TEST_F(GameRunTest, TheLauncherIsShownAgainWithItsOwnFixedSize) {
    LimitsWhenShown limits;
    form_->Widget()->installEventFilter(&limits);
    PlayFrames(2);
    form_->Widget()->removeEventFilter(&limits);
    ASSERT_FALSE(limits.shown.empty());
    EXPECT_EQ(limits.shown.back(), std::make_pair(QSize(501, 256), QSize(501, 256)));
    EXPECT_EQ(form_->Widget()->minimumSize(), QSize(501, 256));
    EXPECT_EQ(form_->Widget()->maximumSize(), QSize(501, 256));
}

TEST_F(GameRunTest, WindowedRunOnATrueColourDesktopAdvisesOnceAndPlaysCentred) {
    form_->CheckBox1->setChecked(false);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    PlayFrames(3, [&] {
        EXPECT_FALSE(form_->DDDD1->FullScreen());
        EXPECT_EQ(form_->ClientWidth(), 640);
        EXPECT_EQ(form_->ClientHeight(), 480);
        EXPECT_EQ(form_->Left(), screen.width() / 2 - 320);
        EXPECT_EQ(form_->Top(), screen.height() / 2 - 240);
    });
    ASSERT_EQ(desktop_->messages.size(), 1u);
    EXPECT_EQ(desktop_->messages[0], kTrueColourAdvice);
    EXPECT_EQ(form_->ClientWidth(), 501);
    EXPECT_TRUE(form_->Panel1->isVisible());
}

TEST_F(GameRunTest, WindowedRunOnAHighColourDesktopSaysNothing) {
    form_->CheckBox1->setChecked(false);
    desktop_->bitsPerPixel = 16;
    PlayFrames(2);
    EXPECT_TRUE(desktop_->messages.empty());
    EXPECT_EQ(form_->GameWorld().FrameCounter(), 2);
    // The frames were paced on the test's clock, not the machine's.
    EXPECT_EQ(form_->Pacer().Mark(), virtualMs_);
}

TEST_F(GameRunTest, WindowedRunOnAPaletteDesktopIsRefusedAndEndsTheProgram) {
    form_->CheckBox1->setChecked(false);
    desktop_->bitsPerPixel = 8;
    form_->BitBtn1->click();
    ASSERT_EQ(desktop_->messages.size(), 1u);
    EXPECT_EQ(desktop_->messages[0], kHighColourRequired);
    EXPECT_EQ(form_->WindowState(), ui::TWindowState::wsMinimized);
    EXPECT_EQ(form_->KeyState.QuitRequest, -1);
    EXPECT_TRUE(form_->TerminateRequested());
    EXPECT_TRUE(music_.empty()); // nothing after the refusal
    EXPECT_EQ(desktop_->cursorCount, 0);
}

TEST_F(GameRunTest, AnErrorDuringTheRunShowsTheMessageAndEndsTheProgram) {
    desktop_->failOnImeSwitch = true;
    // The program's event loop ends with a failure status.
    QTimer::singleShot(0, [&] { form_->BitBtn1->click(); });
    QTimer::singleShot(20000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), EXIT_FAILURE);
    ASSERT_EQ(desktop_->messages.size(), 1u);
    EXPECT_EQ(desktop_->messages[0], kRunDisturbed);
    EXPECT_EQ(form_->WindowState(), ui::TWindowState::wsMinimized);
    EXPECT_TRUE(form_->TerminateRequested());
    EXPECT_EQ(desktop_->cursorCount, 0);
    EXPECT_EQ(form_->GameWorld().FrameCounter(), 0); // no frame ran
}

TEST_F(GameRunTest, KeysFromTheLauncherDoNotCarryIntoTheRun) {
    // Left held and Esc pressed while the launcher showed.
    QTest::keyPress(Window(), Qt::Key_Left);
    QTest::keyClick(Window(), Qt::Key_Escape);
    int pimuru2X = 0;
    PlayFrames(5, [&] { pimuru2X = form_->GameWorld().PimuruAt(1).X; });
    EXPECT_EQ(pimuru2X, 420);
    QTest::keyRelease(Window(), Qt::Key_Left);
}

TEST_F(GameRunTest, KeysHeldDuringTheRunSteerPimuru2) {
    game::World& world = form_->GameWorld();
    int before = 0;
    int after = 0;
    PlayScript({{3,
                 [&] {
                     before = world.PimuruAt(1).X;
                     QTest::keyPress(Window(), Qt::Key_Left);
                 }},
                {6, [&] {
                     QTest::keyRelease(Window(), Qt::Key_Left);
                     after = world.PimuruAt(1).X;
                 }}});
    EXPECT_LE(after, before - 2 * 8); // 8 pixels a frame
}

TEST_F(GameRunTest, APadPluggedInAtTheLauncherPlaysInTheNextRun) {
    testsupport::SdlJoysticks sdl;
    if (SDL_NumJoysticks() > 0)
        GTEST_SKIP() << "a joystick is plugged in";
    testsupport::VirtualJoystick pad({});
    pad.SetAxis(0, -32768);
    game::World& world = form_->GameWorld();
    int before = 0;
    int after = 0;
    PlayScript({{3, [&] { before = world.PimuruAt(0).X; }}, {6, [&] { after = world.PimuruAt(0).X; }}});
    EXPECT_LE(after, before - 2 * 8);
}

TEST_F(GameRunTest, ClosingTheWindowDuringARunEndsItAndThenTheProgram) {
    PlayFrames(2, [&] { form_->Widget()->close(); });
    EXPECT_TRUE(form_->TerminateRequested());
    EXPECT_TRUE(form_->Panel1->isVisible());
    EXPECT_EQ(form_->ClientWidth(), 501);
}

TEST_F(GameRunTest, ASecondRunKeepsTheHighScoreAndStartsAfresh) {
    PlayFrames(3);
    game::World& world = form_->GameWorld();
    world.SetScoreForTesting(30);
    world.AddScore();
    ASSERT_EQ(world.HighScore(), 40);
    PlayFrames(3, [&] { EXPECT_EQ(world.Score(), 0); });
    EXPECT_EQ(world.HighScore(), 40);
    EXPECT_EQ(form_->ClientWidth(), 501);
}

TEST_F(GameRunTest, MusicThatCannotStartIsLoggedAndTheRunGoesOnEvenWhenTheLogCannot) {
    media::FluidSynthMidiPlayer::Options options;
    options.soundFonts = {logs_.File("no-such-font.sf2")};
    form_->MediaPlayer1->SetPlayerForTesting(
        std::make_unique<media::FluidSynthMidiPlayer>(options));
    PlayFrames(3);
    EXPECT_EQ(form_->GameWorld().FrameCounter(), 3);
    EXPECT_THAT(base::Cp932ToUtf8(testsupport::ReadFileBytes(logs_.File("ddsd.debug"))),
                ::testing::HasSubstr("TIME.MIDの演奏を始められません(No General MIDI sound font is "
                                     "installed (looked for " +
                                     logs_.File("no-such-font.sf2") + "))"));

    // The same line on a disk with no room left is dropped, not the run.
    testsupport::FullFolder full;
    if (!full.Available())
        GTEST_SKIP() << "mounting a small file system takes the super-user";
    full.Fill();
    diagnostics::SetLogDirectoryForTesting(full.Path());
    ddsd::Log().DebugLineCount = 0;
    ::testing::internal::CaptureStderr();
    PlayFrames(3);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_THAT(said, ::testing::HasSubstr("ddsd.debug"));
    EXPECT_EQ(form_->GameWorld().FrameCounter(), 3);
    EXPECT_TRUE(desktop_->messages.empty());
    EXPECT_FALSE(form_->TerminateRequested());
    EXPECT_EQ(form_->ClientWidth(), 501); // the launcher is back
}

} // namespace
} // namespace gametest
