// Device contexts on surfaces: the installed factory is asked for them,
// colours map to each format's raw pixels, lines leave out their end point.

#include "platform/ddraw/ddraw_fixture.h"

#include "platform/ddraw/pixel_format.h"
#include "platform/ddraw/software_device_context.h"

namespace ddrawtest {
namespace {

class DeviceContextTest : public DirectDrawTest {
protected:
    void SetUp() override {
        DirectDrawTest::SetUp();
        Open();
    }
};

TEST_F(DeviceContextTest, ColoursBecomeTheFormatsRawPixels) {
    const DDPIXELFORMAT rgb565 = DisplayPixelFormat(16, HighColorLayout::Rgb565);
    const DDPIXELFORMAT rgb555 = DisplayPixelFormat(16, HighColorLayout::Rgb555);
    const DDPIXELFORMAT rgb888 = DisplayPixelFormat(32, HighColorLayout::Rgb565);
    EXPECT_EQ(0xF800u, ColorToPixel(RGB(255, 0, 0), rgb565, nullptr));
    EXPECT_EQ(0x7C00u, ColorToPixel(RGB(255, 0, 0), rgb555, nullptr));
    EXPECT_EQ(0x07E0u, ColorToPixel(RGB(0, 255, 0), rgb565, nullptr));
    EXPECT_EQ(0x123456u, ColorToPixel(0x563412, rgb888, nullptr));
    for (const DDPIXELFORMAT& f : {rgb565, rgb555, rgb888}) {
        EXPECT_EQ(0u, ColorToPixel(0, f, nullptr));
        // Full scale comes back as full scale.
        EXPECT_EQ(0xFFFFFFu, PixelToColor(ColorToPixel(0xFFFFFF, f, nullptr), f, nullptr));
    }
    PALETTEENTRY palette[256] = {};
    palette[17] = PALETTEENTRY{250, 10, 10, 0};
    palette[200] = PALETTEENTRY{0, 0, 255, 0};
    const DDPIXELFORMAT indexed = DisplayPixelFormat(8, HighColorLayout::Rgb565);
    EXPECT_EQ(17u, ColorToPixel(RGB(255, 0, 0), indexed, palette));
    EXPECT_EQ(200u, ColorToPixel(RGB(0, 0, 200), indexed, palette));
}

TEST_F(DeviceContextTest, SetPixelStoresWhatGetPixelAndLockSee) {
    IDirectDrawSurface* s = MakeSurface(8, 8, 16);
    FillAll(s, 0x1234);
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, s->GetDC(&dc));
    EXPECT_EQ(8, dc->Target().Width);
    EXPECT_EQ(RGB(255, 0, 0), dc->SetPixel(0, 0, RGB(255, 0, 0)));
    EXPECT_EQ(CLR_INVALID, dc->GetPixel(8, 0));
    EXPECT_EQ(CLR_INVALID, dc->SetPixel(-1, 0, 0));
    ASSERT_EQ(DD_OK, s->ReleaseDC(dc));
    EXPECT_EQ(0xF800u, ReadPixel(s, 0, 0));
    EXPECT_EQ(0x1234u, ReadPixel(s, 1, 0));
    s->Release();
}

TEST_F(DeviceContextTest, LinesLeaveOutTheirEndPoint) {
    IDirectDrawSurface* s = MakeSurface(10, 10, 32);
    FillAll(s, 0xFFFFFF);
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, s->GetDC(&dc));
    dc->SelectPen(PenSpec{RGB(0, 0, 0), 1, PenStyle::Solid});
    dc->MoveTo(9, 0);
    dc->LineTo(9, 10); // the right-hand border, rows 0 to 9
    dc->MoveTo(0, 9);
    dc->LineTo(9, 9); // the bottom border, columns 0 to 8
    ASSERT_EQ(DD_OK, s->ReleaseDC(dc));
    for (LONG i = 0; i < 10; ++i) {
        EXPECT_EQ(0u, ReadPixel(s, 9, i)) << i;
        EXPECT_EQ(0u, ReadPixel(s, i, 9)) << i;
        EXPECT_EQ(0xFFFFFFu, ReadPixel(s, 8, i == 9 ? 8 : i)) << i;
    }
    s->Release();
}

TEST_F(DeviceContextTest, DrawingStaysWithinTheClipRectangle) {
    IDirectDrawSurface* s = MakeSurface(10, 10, 32);
    FillAll(s, 0xFFFFFF);
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, s->GetDC(&dc));
    const RECT clip{2, 3, 6, 8};
    dc->SetClipRect(&clip);
    dc->SelectBrush(BrushSpec{RGB(0, 0, 0), BrushStyle::Solid});
    dc->FillRect(RECT{0, 0, 10, 5});
    dc->SelectPen(PenSpec{RGB(0, 0, 0), 1, PenStyle::Solid});
    dc->MoveTo(0, 6);
    dc->LineTo(10, 6);
    EXPECT_EQ(CLR_INVALID, dc->SetPixel(8, 8, 0));
    dc->SetClipRect(nullptr);
    dc->SetPixel(9, 9, 0);
    ASSERT_EQ(DD_OK, s->ReleaseDC(dc));
    for (LONG y = 0; y < 10; ++y) {
        for (LONG x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
            const bool drawn = (inside && (y < 5 || y == 6)) || (x == 9 && y == 9);
            EXPECT_EQ(drawn ? 0u : 0xFFFFFFu, ReadPixel(s, x, y)) << x << "," << y;
        }
    }
    s->Release();
}

TEST_F(DeviceContextTest, StretchBltBetweenContextsOfDifferentDepths) {
    IDirectDrawSurface* src = MakeSurface(2, 1, 32);
    IDirectDrawSurface* dst = MakeSurface(4, 2, 16);
    WritePixel(src, 0, 0, 0xFF0000); // red
    WritePixel(src, 1, 0, 0x0000FF); // blue
    HDC from = nullptr;
    HDC to = nullptr;
    ASSERT_EQ(DD_OK, src->GetDC(&from));
    ASSERT_EQ(DD_OK, dst->GetDC(&to));
    EXPECT_TRUE(to->StretchBlt(0, 0, 4, 2, *from, 0, 0, 2, 1));
    // The software context has no fonts and says so.
    EXPECT_FALSE(to->TextOut(0, 0, "score"));
    ASSERT_EQ(DD_OK, dst->ReleaseDC(to));
    ASSERT_EQ(DD_OK, src->ReleaseDC(from));
    EXPECT_EQ(0xF800u, ReadPixel(dst, 1, 1));
    EXPECT_EQ(0x001Fu, ReadPixel(dst, 2, 0));
    src->Release();
    dst->Release();
}

class CountingFactory : public DeviceContextFactory {
public:
    int made = 0;
    bool fail = false;
    std::unique_ptr<DeviceContext> Create(const PixelView& surface) override {
        if (fail) {
            return nullptr;
        }
        ++made;
        return std::make_unique<SoftwareDeviceContext>(surface);
    }
};

TEST_F(DeviceContextTest, GetDcAsksTheInstalledFactory) {
    CountingFactory factory;
    SetDeviceContextFactory(&factory);
    IDirectDrawSurface* s = MakeSurface(4, 4, 8);
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, s->GetDC(&dc));
    EXPECT_EQ(nullptr, dc->Target().Palette);
    ASSERT_EQ(DD_OK, s->ReleaseDC(dc));
    factory.fail = true;
    EXPECT_EQ(DDERR_CANTCREATEDC, s->GetDC(&dc));
    EXPECT_EQ(nullptr, dc);
    EXPECT_EQ(1, factory.made);
    SetDeviceContextFactory(nullptr);
    s->Release();
}

} // namespace
} // namespace ddrawtest

namespace ddrawtest {
namespace {

TEST_F(DeviceContextTest, FarAwayCoordinatesCostNothingAndDrawOnlyWhatShows) {
    IDirectDrawSurface* s = MakeSurface(16, 16, 16);
    FillAll(s, 0);
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, s->GetDC(&dc));
    dc->SelectPen(PenSpec{RGB(255, 255, 255), 1, PenStyle::Solid});
    // A horizontal line through row 5 from far left to far right.
    dc->MoveTo(-2000000000, 5);
    dc->LineTo(2000000000, 5);
    // A stretched copy two billion pixels wide, mostly off the surface.
    IDirectDrawSurface* src = MakeSurface(2, 2, 16);
    FillAll(src, 0x1234);
    HDC from = nullptr;
    ASSERT_EQ(DD_OK, src->GetDC(&from));
    EXPECT_TRUE(dc->StretchBlt(-1000000000, 10, 2000000000, 2, *from, 0, 0, 2, 2));
    ASSERT_EQ(DD_OK, src->ReleaseDC(from));
    ASSERT_EQ(DD_OK, s->ReleaseDC(dc));
    for (LONG x = 0; x < 16; ++x) {
        EXPECT_EQ(0xFFFFu, ReadPixel(s, x, 5)) << x;
        EXPECT_EQ(0x1234u, ReadPixel(s, x, 11)) << x;
        EXPECT_EQ(0u, ReadPixel(s, x, 12)) << x;
    }
    src->Release();
    s->Release();
}

} // namespace
} // namespace ddrawtest
