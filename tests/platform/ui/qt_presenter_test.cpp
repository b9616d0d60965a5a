#include "platform/ui/presenter_widget.h"
#include "platform/ui/qt_form.h"
#include "platform/ui/qt_presenter.h"
#include "platform/ui/qt_window_system.h"
#include "platform/ui/x11_image.h"
#include "platform/ui/x11_window_manager.h"

#include "platform/ddraw/pixel_format.h"
#include "platform/ddraw/software_device_context.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using ddraw::DWORD;

// Pixels of a surface in the display's format.
struct Pixels {
    Pixels(int width, int height, DWORD bits)
        : bytes(static_cast<std::size_t>(width) * height * bits / 8) {
        view.Pixels = bytes.data();
        view.Width = width;
        view.Height = height;
        view.Pitch = width * static_cast<int>(bits) / 8;
        view.BitsPerPixel = bits;
        view.Format = ddraw::DisplayPixelFormat(bits, ddraw::HighColorLayout::Rgb565);
    }
    void Fill(const QRect& area, ddraw::COLORREF colour) {
        const DWORD raw = ddraw::ColorToPixel(colour, view.Format, nullptr);
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                ddraw::WritePixelValue(view, x, y, raw);
    }
    std::vector<ddraw::BYTE> bytes;
    ddraw::PixelView view;
};

class GameForm : public ui::QtForm {
public:
    GameForm() {
        SetColor(0);
        SetBorderStyle(ui::TBorderStyle::bsDialog);
        SetClientWidth(160);
        SetClientHeight(120);
        FinishLoading();
    }
};

TEST(PresenterWidget, FittedFrameKeepsItsAspectBetweenBars) {
    EXPECT_EQ(ui::PresenterWidget::FittedRect({640, 480}, {1920, 1080}), QRect(240, 0, 1440, 1080));
    EXPECT_EQ(ui::PresenterWidget::FittedRect({640, 480}, {1280, 1024}), QRect(0, 32, 1280, 960));
    EXPECT_EQ(ui::PresenterWidget::FittedRect({640, 480}, {640, 480}), QRect(0, 0, 640, 480));
    EXPECT_EQ(ui::PresenterWidget::FittedRect({640, 480}, {0, 480}), QRect());
    EXPECT_EQ(ui::PresenterWidget::FittedRect({0, 0}, {800, 600}), QRect());
}

TEST(QtWindowSystem, ReportsScreensAndClientRectangles) {
    ui::QtWindowSystem windows;
    const auto screens = windows.Screens();
    ASSERT_FALSE(screens.empty());
    const QRect primary = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(screens[0].Width, primary.width());
    EXPECT_EQ(screens[0].Height, primary.height());
    EXPECT_EQ(screens[0].BitsPerPixel, 32u);
    ddraw::LONG width = 0;
    ddraw::LONG height = 0;
    windows.PrimaryScreenSize(width, height);
    EXPECT_EQ(width, screens[0].Width);
    EXPECT_EQ(height, screens[0].Height);

    GameForm form;
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    ddraw::RECT client;
    ASSERT_TRUE(windows.ClientRectOnScreen(form.Handle(), &client));
    const QPoint origin = form.Widget()->mapToGlobal(QPoint(0, 0)) - primary.topLeft();
    EXPECT_EQ(client, base::MakeRect(origin.x(), origin.y(), origin.x() + 160, origin.y() + 120));
    EXPECT_TRUE(windows.IsWindowVisible(form.Handle()));
    form.Hide();
    EXPECT_FALSE(windows.IsWindowVisible(form.Handle()));

    int notAWindow = 0;
    EXPECT_FALSE(windows.ClientRectOnScreen(&notAWindow, &client));
    EXPECT_FALSE(windows.IsWindowVisible(nullptr));
}

// The root window of an X server says that a window manager granting full
// screen runs, while none does: one that never answers.
class SilentManager {
public:
    explicit SilentManager(xcb_connection_t* c) : c_(c) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        check_ = Atom("_NET_SUPPORTING_WM_CHECK");
        supported_ = Atom("_NET_SUPPORTED");
        const xcb_atom_t fullScreen = Atom("_NET_WM_STATE_FULLSCREEN");
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, root_, check_, XCB_ATOM_WINDOW, 32, 1, &root_);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, root_, supported_, XCB_ATOM_ATOM, 32, 1, &fullScreen);
        xcb_aux_sync();
    }
    ~SilentManager() {
        xcb_delete_property(c_, root_, check_);
        xcb_delete_property(c_, root_, supported_);
        xcb_aux_sync();
    }

private:
    xcb_atom_t Atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : 0;
        std::free(reply);
        return atom;
    }
    void xcb_aux_sync() { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }

    xcb_connection_t* c_;
    xcb_window_t root_ = 0;
    xcb_atom_t check_ = 0;
    xcb_atom_t supported_ = 0;
};

// The wait for the manager's answer has a time limit: the game goes on with
// its window shown, and gets its former place back.
TEST(QtPresenter, FullScreenGoesOnWhenTheWindowManagerNeverAnswers) {
    xcb_connection_t* c = ui::QtX11Connection();
    if (!c)
        GTEST_SKIP() << "needs an X server";
    SilentManager manager(c);
    ASSERT_TRUE(ui::X11ManagerGrantsFullScreen());
    GameForm form;
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    const QRect before = form.Widget()->geometry();
    ui::QtPresenter presenter;
    presenter.EnterFullScreen(form.Handle(), 0, 640, 480, 16);
    EXPECT_TRUE(form.Widget()->isVisible());
    EXPECT_TRUE(form.Widget()->windowHandle()->isExposed());
    Pixels frame(640, 480, 16);
    presenter.PresentFullScreen(form.Handle(), frame.view);
    presenter.LeaveFullScreen(form.Handle());
    EXPECT_TRUE(form.Widget()->isVisible());
    EXPECT_EQ(form.Widget()->geometry(), before);
}

TEST(QtPresenter, WindowShowsItsPartOfThePrimary) {
    GameForm form;
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    ui::QtPresenter presenter;
    // The primary stands for a desktop; the window's client area lies at
    // (40, 30) on it. Only the changed part inside the client is taken.
    Pixels desktop(400, 300, 32);
    desktop.Fill(QRect(40, 30, 160, 120), ddraw::RGB(0, 255, 0));
    desktop.Fill(QRect(40, 30, 10, 10), ddraw::RGB(255, 255, 255));
    desktop.Fill(QRect(0, 0, 40, 30), ddraw::RGB(255, 0, 0));
    presenter.PresentWindow(form.Handle(), desktop.view, base::MakeRect(40, 30, 200, 150),
                            base::MakeRect(0, 0, 400, 300));
    auto* widget = ui::PresenterWidget::Find(form.Widget());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), form.Widget()->rect());
    const QImage shown = widget->grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(9, 9), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(10, 10), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(159, 119), qRgb(0, 255, 0));

    // A second frame that changed only a corner keeps the rest.
    desktop.Fill(QRect(190, 140, 10, 10), ddraw::RGB(0, 0, 255));
    presenter.PresentWindow(form.Handle(), desktop.view, base::MakeRect(40, 30, 200, 150),
                            base::MakeRect(190, 140, 200, 150));
    const QImage second = widget->grab().toImage();
    EXPECT_EQ(second.pixel(159, 119), qRgb(0, 0, 255));
    EXPECT_EQ(second.pixel(0, 0), qRgb(255, 255, 255));

    // The primary goes: the window keeps its picture, no longer reading the
    // primary's pixels (here overwritten, as freed memory might be).
    presenter.PrimaryPixelsGoing(desktop.view.Pixels);
    desktop.Fill(QRect(0, 0, 400, 300), ddraw::RGB(255, 0, 0));
    const QImage kept = widget->grab().toImage();
    EXPECT_EQ(kept.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(kept.pixel(10, 10), qRgb(0, 255, 0));
    EXPECT_EQ(kept.pixel(159, 119), qRgb(0, 0, 255));
}

} // namespace
