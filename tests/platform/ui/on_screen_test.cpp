// Frames on a real display (an X server under xvfb-run, or weston): what the
// presenter shows is read back from the screen itself.
#include "support/screen_grab.h"
#include "platform/ui/presenter_widget.h"
#include "platform/ui/qt_backends.h"
#include "platform/ui/qt_form.h"

#include "platform/ddraw/device_context.h"
#include "platform/ddraw/pixel_format.h"
#include "platform/ddraw/presenter.h"
#include "platform/ddraw/software_device_context.h"
#include "platform/ddraw/window_system.h"
#include "platform/component/desktop.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

class GameForm : public ui::QtForm {
public:
    GameForm() {
        SetColor(0);
        SetBorderStyle(ui::TBorderStyle::bsDialog);
        SetClientWidth(640);
        SetClientHeight(480);
        FinishLoading();
    }
};

// A 640 by 480 frame at the given depth: left half red, right half blue,
// a green square at the top-left corner.
struct Frame {
    explicit Frame(ddraw::DWORD bits) : bytes(640u * 480u * bits / 8) {
        view.Pixels = bytes.data();
        view.Width = 640;
        view.Height = 480;
        view.Pitch = 640 * static_cast<int>(bits) / 8;
        view.BitsPerPixel = bits;
        view.Format = ddraw::DisplayPixelFormat(bits, ddraw::HighColorLayout::Rgb565);
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                ddraw::COLORREF colour = x < 320 ? ddraw::RGB(255, 0, 0) : ddraw::RGB(0, 0, 255);
                if (x < 40 && y < 40)
                    colour = ddraw::RGB(0, 255, 0);
                ddraw::WritePixelValue(view, x, y,
                                       ddraw::ColorToPixel(colour, view.Format, nullptr));
            }
        }
    }
    std::vector<ddraw::BYTE> bytes;
    ddraw::PixelView view;
};

class OnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::ScreenReadable())
            GTEST_SKIP() << "needs a display whose screen can be read (X, or weston with --debug)";
        backends_ = ui::InstallQtBackends();
    }

    static testsupport::ScreenShot Screen(const char* label) {
        return testsupport::GrabScreen(QStringLiteral("") + QString::fromLatin1(label));
    }

    std::unique_ptr<ui::QtBackends> backends_;
};

// The primary of a windowed game stands for the desktop: 32 bits, as
// large as the screen.
struct Desktop {
    Desktop() {
        const auto screens = ddraw::CurrentWindowSystem().Screens();
        bytes.resize(static_cast<std::size_t>(screens[0].Width) * screens[0].Height * 4);
        view.Pixels = bytes.data();
        view.Width = screens[0].Width;
        view.Height = screens[0].Height;
        view.Pitch = view.Width * 4;
        view.BitsPerPixel = 32;
        view.Format = ddraw::DisplayPixelFormat(32, ddraw::HighColorLayout::Rgb565);
    }
    std::vector<ddraw::BYTE> bytes;
    ddraw::PixelView view;
};

TEST_F(OnScreen, WindowedFrameAppearsInTheClientArea) {
    GameForm form;
    form.CentreOnDesktop();
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    ddraw::RECT client;
    ASSERT_TRUE(ddraw::CurrentWindowSystem().ClientRectOnScreen(form.Handle(), &client));
    // The frame is blitted onto the desktop at the client rectangle and
    // shown there.
    Desktop screen;
    const ddraw::PixelView& desktop = screen.view;
    Frame frame(32);
    {
        auto target = ddraw::CurrentDeviceContextFactory().Create(desktop);
        ddraw::SoftwareDeviceContext source(frame.view);
        target->StretchBlt(client.Left, client.Top, 640, 480, source, 0, 0, 640, 480);
        // The title as the game writes it: 50 points, magenta, no background.
        ddraw::FontSpec font;
        font.Height = 50;
        target->SelectFont(font);
        target->SetTextColor(ddraw::RGB(255, 0, 255));
        target->SetBkMode(ddraw::BackgroundMode::Transparent);
        target->TextOut(client.Left + 60, client.Top + 100, "ピムルのゲーム");
    }
    ddraw::CurrentPresenter().PresentWindow(form.Handle(), desktop, client, client);
    const testsupport::ScreenShot shown = Screen("windowed");
    const QPoint at = testsupport::ClientOrigin(shown, {client.Left, client.Top}, qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(at + QPoint(5, 5)), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(at + QPoint(100, 240)), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(at + QPoint(639, 479)), qRgb(0, 0, 255));
    int magenta = 0;
    for (int y = at.y() + 100; y < at.y() + 100 + 80; ++y) {
        for (int x = at.x() + 60; x < at.x() + 560; ++x)
            magenta += shown.pixel(x, y) == qRgb(255, 0, 255);
    }
    EXPECT_GT(magenta, 1000);
    EXPECT_EQ(shown.pixel(at + QPoint(60, 99)), qRgb(255, 0, 0));
    // Scaled by the nearest pixel at any device pixel ratio: where red meets
    // blue the screen's own pixels are one or the other, never a blend.
    const int row = static_cast<int>((at.y() + 300) * shown.ratio());
    for (int x = static_cast<int>((at.x() + 316) * shown.ratio()); x < (at.x() + 324) * shown.ratio(); ++x) {
        const QRgb pixel = shown.image().pixel(x, row);
        EXPECT_TRUE(pixel == qRgb(255, 0, 0) || pixel == qRgb(0, 0, 255)) << x << ": " << std::hex << pixel;
    }
}

TEST_F(OnScreen, WindowedFramesStayBeneathControlsAndComeBackAfterBeingCovered) {
    GameForm form;
    form.CentreOnDesktop();
    auto* control = new QWidget(form.Widget());
    control->setGeometry(100, 100, 50, 50);
    control->setAutoFillBackground(true);
    control->setPalette(QPalette(QColor(255, 255, 0)));
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    ddraw::RECT client;
    ASSERT_TRUE(ddraw::CurrentWindowSystem().ClientRectOnScreen(form.Handle(), &client));
    Desktop desktop;
    Frame frame(32);
    {
        auto target = ddraw::CurrentDeviceContextFactory().Create(desktop.view);
        ddraw::SoftwareDeviceContext source(frame.view);
        target->StretchBlt(client.Left, client.Top, 640, 480, source, 0, 0, 640, 480);
    }
    const auto present = [&] {
        ddraw::CurrentPresenter().PresentWindow(form.Handle(), desktop.view, client, client);
    };
    present();
    testsupport::ScreenShot shown = Screen("windowed-control");
    EXPECT_EQ(shown.pixel(client.Left + 120, client.Top + 120), qRgb(255, 255, 0));
    EXPECT_EQ(shown.pixel(client.Left + 5, client.Top + 5), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(client.Left + 400, client.Top + 300), qRgb(0, 0, 255));

    // With the control gone the frames cover the whole client area; a window
    // laid over the form and taken away again leaves the last frame there.
    control->hide();
    present();
    shown = Screen("windowed-no-control");
    EXPECT_EQ(shown.pixel(client.Left + 120, client.Top + 120), qRgb(255, 0, 0));
    for (int y = client.Top + 200; y < client.Top + 480; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(desktop.view.Row(y));
        std::fill(row + client.Left, row + client.Left + 640, 0x0080FFu);
    }
    present();
    QWidget cover;
    cover.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    cover.setAutoFillBackground(true);
    cover.setPalette(QPalette(QColor(255, 255, 255)));
    cover.setGeometry(client.Left, client.Top, 640, 480);
    cover.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
    shown = Screen("windowed-covered");
    EXPECT_EQ(shown.pixel(client.Left + 400, client.Top + 300), qRgb(255, 255, 255));
    cover.hide();
    shown = Screen("windowed-uncovered");
    EXPECT_EQ(shown.pixel(client.Left + 5, client.Top + 5), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(client.Left + 120, client.Top + 120), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(client.Left + 400, client.Top + 300), qRgb(0, 128, 255));
    EXPECT_EQ(shown.pixel(client.Left + 639, client.Top + 479), qRgb(0, 128, 255));
}

TEST_F(OnScreen, FullScreenFrameIsScaledBetweenBlackBars) {
    GameForm form;
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    ddraw::CurrentPresenter().EnterFullScreen(form.Handle(), 0, 640, 480, 16);
    Frame frame(16);
    ddraw::CurrentPresenter().PresentFullScreen(form.Handle(), frame.view);
    const testsupport::ScreenShot shown = Screen("full-screen");
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    ASSERT_EQ(shown.size(), screen);
    const QRect fitted = ui::PresenterWidget::FittedRect({640, 480}, screen);
    // 1280 by 1024 under xvfb-run: 1280 by 960 with bars of 32 rows.
    const double scale = static_cast<double>(fitted.width()) / 640.0;
    const int middle = fitted.center().y();
    EXPECT_EQ(shown.pixel(fitted.left() + 2, fitted.top() + 2), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(fitted.left() + static_cast<int>(39 * scale), fitted.top() + 2),
              qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(fitted.left() + static_cast<int>(41 * scale), fitted.top() + 2),
              qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(fitted.left() + static_cast<int>(319 * scale), middle), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(fitted.left() + static_cast<int>(321 * scale), middle), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(fitted.right(), fitted.bottom()), qRgb(0, 0, 255));
    if (fitted.top() > 0) {
        EXPECT_EQ(shown.pixel(screen.width() / 2, fitted.top() - 1), qRgb(0, 0, 0));
        EXPECT_EQ(shown.pixel(screen.width() / 2, fitted.bottom() + 1), qRgb(0, 0, 0));
    }
    if (fitted.left() > 0) {
        EXPECT_EQ(shown.pixel(fitted.left() - 1, middle), qRgb(0, 0, 0));
        EXPECT_EQ(shown.pixel(fitted.right() + 1, middle), qRgb(0, 0, 0));
    }

    // The display mode given back: the window is a 640 by 480 dialog again.
    ddraw::CurrentPresenter().LeaveFullScreen(form.Handle());
    Screen("full-screen-left");
    EXPECT_EQ(form.ClientWidth(), 640);
    EXPECT_EQ(form.ClientHeight(), 480);
    EXPECT_FALSE(form.Widget()->windowFlags() & Qt::FramelessWindowHint);
}

// Frames that differ in a few rows, one after another, paced as the game
// paces them: the last one shows whole, whichever buffer it went to.
TEST_F(OnScreen, FullScreenFramesFollowOneAnother) {
    GameForm form;
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    ddraw::CurrentPresenter().EnterFullScreen(form.Handle(), 0, 640, 480, 16);
    Frame frame(16);
    const auto square = [&](int top, ddraw::COLORREF colour) {
        for (int y = top; y < top + 40; ++y) {
            for (int x = 400; x < 440; ++x)
                ddraw::WritePixelValue(frame.view, x, y, ddraw::ColorToPixel(colour, frame.view.Format, nullptr));
        }
    };
    const int tops[] = {100, 180, 260, 340};
    for (int top : tops) {
        square(top, ddraw::RGB(255, 255, 0));
        ddraw::CurrentPresenter().PresentFullScreen(form.Handle(), frame.view);
        testsupport::HandleMessagesFor(30);
        if (top != tops[3])
            square(top, ddraw::RGB(0, 0, 255));
    }
    const testsupport::ScreenShot shown = Screen("full-screen-frames");
    const QRect fitted = ui::PresenterWidget::FittedRect({640, 480}, QGuiApplication::primaryScreen()->geometry().size());
    const double scale = fitted.width() / 640.0;
    const auto at = [&](int x, int y) {
        return shown.pixel(fitted.left() + static_cast<int>(x * scale), fitted.top() + static_cast<int>(y * scale));
    };
    for (int top : tops)
        EXPECT_EQ(at(420, top + 20), top == tops[3] ? qRgb(255, 255, 0) : qRgb(0, 0, 255)) << top;
    EXPECT_EQ(at(100, 240), qRgb(255, 0, 0));
}

} // namespace
