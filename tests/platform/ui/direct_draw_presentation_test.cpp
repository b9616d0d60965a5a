// The software DirectDraw with the Qt back ends installed, driven the way
// the display component drives it: what reaches the form's presenter.
#include "platform/ui/presenter_widget.h"
#include "platform/ui/qt_backends.h"
#include "platform/ui/qt_form.h"

#include "platform/ddraw/ddraw.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <utility>

namespace {

using namespace ddraw;

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

class DirectDrawOnQt : public ::testing::Test {
protected:
    void SetUp() override {
        backends_ = ui::InstallQtBackends();
        form_.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.Widget()));
        ASSERT_EQ(DirectDrawCreate(nullptr, &dd_, nullptr), DD_OK);
    }
    void TearDown() override {
        for (IUnknown* object : {static_cast<IUnknown*>(back_), static_cast<IUnknown*>(primary_),
                                 static_cast<IUnknown*>(clipper_)}) {
            if (object)
                object->Release();
        }
        if (dd_)
            dd_->Release();
    }

    void Fill(IDirectDrawSurface* surface, const RECT& area, COLORREF colour) {
        HDC dc = nullptr;
        ASSERT_EQ(surface->GetDC(&dc), DD_OK);
        ASSERT_NE(dc, nullptr);
        dc->SelectBrush({colour, BrushStyle::Solid});
        dc->FillRect(area);
        surface->ReleaseDC(dc);
    }

    // What the window shows, as the window system has it. The X server shows
    // a window's new size and content after a few round trips, later on a
    // busy machine: the window is read, once exposed, until two readings agree.
    QImage Shown() {
        QWidget* window = form_.Widget();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        QImage previous;
        for (int attempt = 0; attempt < 20; ++attempt) {
            QTest::qWait(50);
            QImage image = QGuiApplication::primaryScreen()
                               ->grabWindow(window->winId(), 0, 0, window->width(), window->height())
                               .toImage()
                               .convertToFormat(QImage::Format_RGB32);
            if (image == previous)
                break;
            previous = std::move(image);
        }
        return previous;
    }

    std::unique_ptr<ui::QtBackends> backends_;
    GameForm form_;
    IDirectDraw* dd_ = nullptr;
    IDirectDrawSurface* primary_ = nullptr;
    IDirectDrawSurface* back_ = nullptr;
    IDirectDrawClipper* clipper_ = nullptr;
};

TEST_F(DirectDrawOnQt, WindowedBlitOntoThePrimaryShowsInTheClientArea) {
    ASSERT_EQ(dd_->SetCooperativeLevel(form_.Handle(), DDSCL_NORMAL), DD_OK);
    DDSURFACEDESC desc = MakeSurfaceDesc();
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    ASSERT_EQ(dd_->CreateSurface(&desc, &primary_, nullptr), DD_OK);
    desc = MakeSurfaceDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = 640;
    desc.dwHeight = 480;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    ASSERT_EQ(dd_->CreateSurface(&desc, &back_, nullptr), DD_OK);
    ASSERT_EQ(dd_->CreateClipper(0, &clipper_, nullptr), DD_OK);
    ASSERT_EQ(clipper_->SetHWnd(0, form_.Handle()), DD_OK);
    ASSERT_EQ(primary_->SetClipper(clipper_), DD_OK);

    Fill(back_, base::MakeRect(0, 0, 640, 480), RGB(255, 0, 0));
    Fill(back_, base::MakeRect(600, 440, 640, 480), RGB(0, 0, 255));
    RECT client;
    ASSERT_TRUE(CurrentWindowSystem().ClientRectOnScreen(form_.Handle(), &client));
    const RECT source = base::MakeRect(0, 0, 640, 480);
    DDBLTFX fx = MakeBltFx();
    ASSERT_EQ(primary_->Blt(&client, back_, &source, DDBLT_WAIT, &fx), DD_OK);

    const QImage shown = Shown();
    ASSERT_EQ(shown.size(), QSize(640, 480));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(599, 439), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(639, 479), qRgb(0, 0, 255));
}

TEST_F(DirectDrawOnQt, FullScreenFlipShowsTheBackBufferScaledUntilTheModeIsGivenBack) {
    const Qt::WindowFlags flagsBefore = form_.Widget()->windowFlags();
    ASSERT_EQ(dd_->SetCooperativeLevel(form_.Handle(), DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT |
                                                           DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX),
              DD_OK);
    ASSERT_EQ(dd_->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form_.Widget()->geometry(), screen);
    EXPECT_TRUE(form_.Widget()->windowFlags() & Qt::FramelessWindowHint);

    DDSURFACEDESC desc = MakeSurfaceDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    ASSERT_EQ(dd_->CreateSurface(&desc, &primary_, nullptr), DD_OK);
    DDSCAPS caps;
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    ASSERT_EQ(primary_->GetAttachedSurface(&caps, &back_), DD_OK);
    Fill(back_, base::MakeRect(0, 0, 640, 480), RGB(0, 255, 0));
    Fill(back_, base::MakeRect(0, 0, 320, 480), RGB(255, 0, 255));
    ASSERT_EQ(primary_->Flip(nullptr, DDFLIP_WAIT), DD_OK);

    const QImage shown = Shown();
    ASSERT_EQ(shown.size(), screen.size());
    const QRect fitted = ui::PresenterWidget::FittedRect({640, 480}, screen.size());
    const int middle = fitted.center().y();
    EXPECT_EQ(shown.pixel(fitted.left(), middle), qRgb(255, 0, 255));
    EXPECT_EQ(shown.pixel(fitted.right(), middle), qRgb(0, 255, 0));
    if (fitted.left() > 0) {
        EXPECT_EQ(shown.pixel(fitted.left() - 1, middle), qRgb(0, 0, 0));
    }
    if (fitted.top() > 0) {
        EXPECT_EQ(shown.pixel(fitted.center().x(), fitted.top() - 1), qRgb(0, 0, 0));
    }

    ASSERT_EQ(dd_->RestoreDisplayMode(), DD_OK);
    EXPECT_EQ(form_.Widget()->windowFlags(), flagsBefore);
    EXPECT_FALSE(ui::PresenterWidget::Find(form_.Widget())->FullScreen());
}

TEST_F(DirectDrawOnQt, EightBitFramesShowThroughTheirPalette) {
    ASSERT_EQ(dd_->SetCooperativeLevel(form_.Handle(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    ASSERT_EQ(dd_->SetDisplayMode(640, 480, 8, 0, 0), DD_OK);
    DDSURFACEDESC desc = MakeSurfaceDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    ASSERT_EQ(dd_->CreateSurface(&desc, &primary_, nullptr), DD_OK);
    DDSCAPS caps;
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    ASSERT_EQ(primary_->GetAttachedSurface(&caps, &back_), DD_OK);
    PALETTEENTRY entries[256] = {};
    entries[7] = {10, 200, 30, 0};
    IDirectDrawPalette* palette = nullptr;
    ASSERT_EQ(dd_->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
    ASSERT_EQ(primary_->SetPalette(palette), DD_OK);
    ASSERT_EQ(back_->SetPalette(palette), DD_OK);
    DDBLTFX fx = MakeBltFx();
    fx.dwFillColor = 7;
    ASSERT_EQ(back_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    ASSERT_EQ(primary_->Flip(nullptr, DDFLIP_WAIT), DD_OK);

    const QImage shown = Shown();
    const QRect fitted = ui::PresenterWidget::FittedRect({640, 480}, shown.size());
    EXPECT_EQ(shown.pixel(fitted.center()), qRgb(10, 200, 30));
    palette->Release();
}

} // namespace
