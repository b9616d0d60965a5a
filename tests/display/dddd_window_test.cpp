// The display component on a real display (an X server under xvfb-run, or
// weston):
// a form sets up the screen, a known frame is drawn into the back buffer and
// flipped, and the screen itself is read back.
#include "support/screen_grab.h"
#include "support/x_screen_now.h"
#include "display/dddd.h"
#include "platform/component/desktop.h"
#include "platform/ui/fonts.h"
#include "platform/ui/presenter_widget.h"
#include "platform/ui/qt_backends.h"
#include "platform/ui/qt_form.h"
#include "surfaces/dddd_canvas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class GameForm : public ui::QtForm {
public:
    GameForm() {
        SetColor(0);
        SetBorderStyle(ui::TBorderStyle::bsDialog);
        SetClientWidth(640);
        SetClientHeight(480);
        OnCreate = [this] { created = true; };
        DDDD1 = new dddd::TDDDD(this);
        DDDD1->SetDisplayMode(dddd::dmWin640x480x16);
        DDDD1->AutoDisplayModeInitialize = false;
        DDDD1->OnInit = [this](ui::TComponent*, bool needChange) { initNeedChange = needChange; };
        FinishLoading();
    }
    dddd::TDDDD* DDDD1;
    bool created = false;
    bool initNeedChange = false;
};

// Left half red, right half blue, a green square at the top-left corner and
// the title text in magenta, drawn as the game draws: fills and a canvas.
// With `mark`, a small yellow block at an odd place as well.
void DrawFrame(dddd::TDDDD& display, bool mark = false) {
    dddd::TDDDDGenSurface& back = *display.BackBuffer();
    auto fill = [&](base::Rect r, ddraw::COLORREF colour) {
        ddraw::DDBLTFX fx = ddraw::MakeBltFx();
        fx.dwFillColor = back.ColorMatch(colour);
        back.DrawFx(nullptr, r, r, ddraw::DDBLT_COLORFILL | ddraw::DDBLT_WAIT, fx);
    };
    fill(base::MakeRect(0, 0, 320, 480), ddraw::RGB(255, 0, 0));
    fill(base::MakeRect(320, 0, 640, 480), ddraw::RGB(0, 0, 255));
    fill(base::MakeRect(0, 0, 40, 40), ddraw::RGB(0, 255, 0));
    if (mark)
        fill(base::MakeRect(333, 201, 346, 208), ddraw::RGB(255, 255, 0));
    dddd::TDDDDCanvas canvas(&back);
    canvas.Font.Color = ddraw::RGB(255, 0, 255);
    canvas.Font.Size = 50;
    canvas.Brush.Style = dddd::TBrushStyle::bsClear;
    canvas.TextOut(60, 100, "ピムルのゲーム");
}

class DisplayOnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::ScreenReadable())
            GTEST_SKIP() << "needs a display whose screen can be read (X, or weston with --debug)";
        backends_ = ui::InstallQtBackends();
    }
    static testsupport::ScreenShot Screen(const char* label) {
        return testsupport::GrabScreen(QStringLiteral("dddd-") + QString::fromLatin1(label));
    }
    static int CountColour(const testsupport::ScreenShot& image, QRect area, QRgb colour) {
        int n = 0;
        area &= image.rect();
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += image.pixel(x, y) == colour;
        return n;
    }
    std::unique_ptr<ui::QtBackends> backends_;
};

TEST_F(DisplayOnScreen, WindowedFrameIsShownInTheClientArea) {
    GameForm form;
    EXPECT_TRUE(form.created);
    EXPECT_TRUE(form.initNeedChange);
    form.CentreOnDesktop();
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    dddd::TDDDD& display = *form.DDDD1;
    ASSERT_EQ(display.Initialize(false, 640, 480, 16, 0, ""), 0);
    DrawFrame(display);
    display.Flip();
    const testsupport::ScreenShot shown = Screen("windowed");
    const QPoint origin = testsupport::ClientOrigin(
        shown, form.Widget()->mapToGlobal(QPoint(0, 0)) - QGuiApplication::primaryScreen()->geometry().topLeft(),
        qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(origin + QPoint(5, 5)), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(origin + QPoint(100, 300)), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(origin + QPoint(639, 479)), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(origin + QPoint(60, 99)), qRgb(255, 0, 0));
    EXPECT_GT(CountColour(shown, QRect(origin + QPoint(60, 100), QSize(500, 80)), qRgb(255, 0, 255)), 1000);
}

TEST_F(DisplayOnScreen, FullScreenFrameIsScaledBetweenBars) {
    GameForm form;
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    dddd::TDDDD& display = *form.DDDD1;
    ASSERT_EQ(display.Initialize(true, 640, 480, 16, 0, ""), 0);
    DrawFrame(display);
    display.Flip();
    const testsupport::ScreenShot shown = Screen("fullscreen");
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QRect fitted = ui::PresenterWidget::FittedRect({640, 480}, screen);
    const double scale = fitted.width() / 640.0;
    auto at = [&](int x, int y) {
        return shown.pixel(fitted.left() + static_cast<int>(x * scale), fitted.top() + static_cast<int>(y * scale));
    };
    EXPECT_EQ(at(5, 5), qRgb(0, 255, 0));
    EXPECT_EQ(at(100, 300), qRgb(255, 0, 0));
    EXPECT_EQ(at(639, 479), qRgb(0, 0, 255));
    EXPECT_GT(CountColour(shown, fitted, qRgb(255, 0, 255)), 1000);
    if (fitted.top() > 0) {
        EXPECT_EQ(shown.pixel(screen.width() / 2, fitted.top() - 1), qRgb(0, 0, 0));
    }
    if (fitted.left() > 0) {
        EXPECT_EQ(shown.pixel(fitted.left() - 1, screen.height() / 2), qRgb(0, 0, 0));
    }

    // A frame that differs a little: the screen then shows just what the
    // whole frame scaled anew shows.
    DrawFrame(display, true);
    display.Flip();
    const testsupport::ScreenShot changed = Screen("fullscreen-changed");
    EXPECT_EQ(changed.pixel(fitted.left() + static_cast<int>(339 * scale), fitted.top() + static_cast<int>(204 * scale)),
              qRgb(255, 255, 0));
    for (QWidget* child : form.Widget()->findChildren<QWidget*>())
        child->repaint();
    const testsupport::ScreenShot whole = Screen("fullscreen-whole");
    EXPECT_EQ(changed.image(), whole.image());

    // Back to a window, as at the end of a run; a second frame shows there.
    ASSERT_EQ(display.Initialize(false, 640, 480, 16, 0, ""), 0);
    form.SetClientWidth(640);
    form.SetClientHeight(480);
    DrawFrame(display);
    display.Flip();
    const testsupport::ScreenShot again = Screen("windowed-again");
    const QPoint origin = testsupport::ClientOrigin(
        again, form.Widget()->mapToGlobal(QPoint(0, 0)) - QGuiApplication::primaryScreen()->geometry().topLeft(),
        qRgb(0, 255, 0));
    EXPECT_EQ(again.pixel(origin + QPoint(5, 5)), qRgb(0, 255, 0));
    EXPECT_EQ(again.pixel(origin + QPoint(600, 400)), qRgb(0, 0, 255));
}

// A flipped frame is on the screen when Flip returns, not once the event
// loop next runs, which a game does only after its next frame's wait: the
// screen is read through a connection of the test's own, with no message
// handled in between.
TEST_F(DisplayOnScreen, FlippedFrameIsOnTheScreenWhenFlipReturns) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "reads the X server's screen";
    GameForm form;
    form.CentreOnDesktop();
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    dddd::TDDDD& display = *form.DDDD1;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (const bool fullScreen : {false, true}) {
        ASSERT_EQ(display.Initialize(fullScreen, 640, 480, 16, 0, ""), 0);
        DrawFrame(display);
        display.Flip();
        Screen(fullScreen ? "before-flip-full-screen" : "before-flip-windowed");
        DrawFrame(display, true);
        display.Flip();
        const testsupport::ScreenShot shown = testsupport::ReadXScreenNow();
        ASSERT_FALSE(shown.image().isNull());
        QPoint mark = form.Widget()->mapToGlobal(QPoint(339, 204)) - screen.topLeft();
        if (fullScreen) {
            const QRect fitted = ui::PresenterWidget::FittedRect({640, 480}, screen.size());
            const double scale = fitted.width() / 640.0;
            mark = fitted.topLeft() + QPoint(static_cast<int>(339 * scale), static_cast<int>(204 * scale));
        }
        EXPECT_EQ(shown.pixel(mark), qRgb(255, 255, 0)) << (fullScreen ? "full screen" : "windowed");
    }
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::InstallFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
