#include "surfaces/dddd_canvas.h"
#include "surfaces/fake_host.h"

#include <gtest/gtest.h>

using namespace ddraw;
using dddd::TDDDDCanvas;
using dddd::TDDDDSurface;
using surfacetest::FakeHost;

namespace {

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFailureInjection(); }
    FakeHost host;
    TDDDDSurface surface{&host, 640, 480, 0};
    TDDDDSurface other{&host, 8, 8, 0};
};

TEST_F(CanvasTest, TheContextIsTakenOnFirstDrawingOnceAndGivenBackAtTheEnd) {
    { TDDDDCanvas unused(&surface); }
    EXPECT_EQ(CallCount(Operation::GetDC), 0);
    EXPECT_EQ(CallCount(Operation::ReleaseDC), 0);
    {
        TDDDDCanvas canvas(&surface);
        EXPECT_TRUE(canvas.SurfaceUsable());
        canvas.MoveTo(0, 0);
        canvas.LineTo(5, 0);
        EXPECT_EQ(CallCount(Operation::GetDC), 1);
        // While the context is held the surface refuses blits.
        EXPECT_NE(surface.Draw(&other, 100, 100, base::MakeRect(0, 0, 4, 4), DDBLTFAST_WAIT), DD_OK);
    }
    EXPECT_EQ(CallCount(Operation::ReleaseDC), 1);
    EXPECT_EQ(surface.Draw(&other, 100, 100, base::MakeRect(0, 0, 4, 4), DDBLTFAST_WAIT), DD_OK);
}

TEST_F(CanvasTest, BorderLinesStopBeforeTheirEndPoints) {
    DDBLTFX fx = MakeBltFx();
    fx.dwFillColor = 0x00FFFFFF;
    surface.Surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    {
        TDDDDCanvas canvas(&surface);
        canvas.Pen.Color = dddd::clBlack;
        canvas.MoveTo(639, 0);
        canvas.LineTo(639, 480);
        canvas.MoveTo(0, 479);
        canvas.LineTo(639, 479);
    }
    EXPECT_EQ(surface.ReadPixel(639, 0), 0u);
    EXPECT_EQ(surface.ReadPixel(639, 478), 0u);
    EXPECT_EQ(surface.ReadPixel(0, 479), 0u);
    EXPECT_EQ(surface.ReadPixel(638, 479), 0u);
    EXPECT_EQ(surface.ReadPixel(638, 478), 0x00FFFFFFu);
    EXPECT_EQ(surface.ReadPixel(638, 0), 0x00FFFFFFu);
}

TEST_F(CanvasTest, WithoutAContextDrawingDoesNothing) {
    InjectFailure(Operation::GetDC, DDERR_CANTCREATEDC, 0, 10);
    {
        TDDDDCanvas canvas(&surface);
        canvas.TextOut(0, 0, "得点 0");
        canvas.LineTo(10, 10);
        EXPECT_EQ(canvas.DC(), nullptr);
    }
    EXPECT_EQ(CallCount(Operation::ReleaseDC), 0);
}

TEST_F(CanvasTest, StretchedCopyBetweenCanvases) {
    TDDDDSurface small(&host, 2, 2, 0);
    small.WritePixel(0, 0, 0x00FF0000);
    small.WritePixel(1, 1, 0x000000FF);
    {
        TDDDDCanvas from(&small);
        TDDDDCanvas to(&surface);
        to.CopyRect(base::MakeRect(0, 0, 20, 20), from, base::MakeRect(0, 0, 2, 2));
    }
    EXPECT_EQ(surface.ReadPixel(0, 0), 0x00FF0000u);
    EXPECT_EQ(surface.ReadPixel(9, 9), 0x00FF0000u);
    EXPECT_EQ(surface.ReadPixel(19, 19), 0x000000FFu);
}

} // namespace
