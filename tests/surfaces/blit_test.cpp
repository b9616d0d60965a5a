#include "surfaces/fake_host.h"

#include <gtest/gtest.h>

using namespace ddraw;
using base::MakeRect;
using dddd::TDDDDSurface;
using surfacetest::FakeHost;

namespace {

constexpr std::uint32_t kBackground = 0x00ABCDEF;

// Every source pixel holds its own coordinates: 0x00YYXX00 + 1 (never 0).
std::uint32_t Marker(int x, int y) { return (static_cast<std::uint32_t>(y) << 16) | (x << 8) | 1; }

class BlitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFailureInjection();
        Fill(dest, kBackground);
        source.Lock();
        for (int y = 0; y < source.Height; ++y)
            for (int x = 0; x < source.Width; ++x)
                source.WritePixel(x, y, Marker(x, y));
        source.Unlock();
    }
    static void Fill(TDDDDSurface& s, std::uint32_t value) {
        DDBLTFX fx = MakeBltFx();
        fx.dwFillColor = value;
        s.Surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }
    FakeHost host;
    TDDDDSurface dest{&host, 640, 480, 0};
    TDDDDSurface source{&host, 256, 64, 0};
};

TEST_F(BlitTest, DrawCopiesOnlyThePartInsideTheSurface) {
    EXPECT_EQ(dest.Draw(&source, -8, 10, MakeRect(0, 0, 32, 32), DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(dest.ReadPixel(0, 10), Marker(8, 0));
    EXPECT_EQ(dest.ReadPixel(23, 41), Marker(31, 31));
    EXPECT_EQ(dest.ReadPixel(24, 10), kBackground);

    EXPECT_EQ(dest.Draw(&source, 630, 10, MakeRect(0, 0, 32, 32), DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(dest.ReadPixel(630, 10), Marker(0, 0));
    EXPECT_EQ(dest.ReadPixel(639, 10), Marker(9, 0));
}

TEST_F(BlitTest, DrawRejectsWhatLiesOutsideAndPassesTouchingSpansOn) {
    EXPECT_EQ(dest.Draw(&source, -40, 10, MakeRect(0, 0, 32, 32), DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(CallCount(Operation::BltFast), 0);
    // Touching the right edge: the platform is asked with an empty source.
    dest.Draw(&source, 640, 10, MakeRect(0, 0, 32, 32), DDBLTFAST_WAIT);
    EXPECT_EQ(CallCount(Operation::BltFast), 1);
    EXPECT_EQ(dest.ReadPixel(639, 10), kBackground);
}

TEST_F(BlitTest, DrawWithAMirroredRectangleCopiesLikeTheNormalOne) {
    dest.Draw(&source, 5, 5, MakeRect(32, 32, 0, 0), DDBLTFAST_WAIT);
    EXPECT_EQ(dest.ReadPixel(5, 5), Marker(0, 0));
    EXPECT_EQ(dest.ReadPixel(36, 36), Marker(31, 31));
}

TEST_F(BlitTest, DrawWithTheSourceKeySkipsKeyedPixels) {
    source.SetColorKey(Marker(1, 0));
    dest.Draw(&source, 0, 0, MakeRect(0, 0, 4, 1), DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
    EXPECT_EQ(dest.ReadPixel(0, 0), Marker(0, 0));
    EXPECT_EQ(dest.ReadPixel(1, 0), kBackground);
    EXPECT_EQ(dest.ReadPixel(2, 0), Marker(2, 0));
}

TEST_F(BlitTest, FillIsClippedToTheSurface) {
    DDBLTFX fx = MakeBltFx();
    fx.dwFillColor = 0x00112233;
    const auto r = MakeRect(600, 470, 700, 500);
    EXPECT_EQ(dest.DrawFx(nullptr, r, r, DDBLT_COLORFILL | DDBLT_WAIT, fx), DD_OK);
    EXPECT_EQ(dest.ReadPixel(600, 470), 0x00112233u);
    EXPECT_EQ(dest.ReadPixel(639, 479), 0x00112233u);
    EXPECT_EQ(dest.ReadPixel(599, 470), kBackground);
    EXPECT_EQ(dest.ReadPixel(600, 469), kBackground);
}

TEST_F(BlitTest, ShrinkingCopyClipsTheSourceByTheIntegerRatio) {
    DDBLTFX fx = MakeBltFx();
    dest.DrawFx(&source, MakeRect(-16, 0, 16, 32), MakeRect(0, 0, 64, 64), DDBLT_WAIT, fx);
    // Destination column 0 shows source column 32 or 33 and column 15 one
    // of 62, 63 (the filter picks within each 2x2 block), never the
    // clipped-away left half.
    auto column = [](std::uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); };
    auto row = [](std::uint32_t p) { return static_cast<int>(p >> 16); };
    EXPECT_EQ(column(dest.ReadPixel(0, 0)) / 2, 16);
    EXPECT_EQ(row(dest.ReadPixel(0, 0)) / 2, 0);
    EXPECT_EQ(column(dest.ReadPixel(15, 31)) / 2, 31);
    EXPECT_EQ(row(dest.ReadPixel(15, 31)) / 2, 31);
    EXPECT_EQ(dest.ReadPixel(16, 0), kBackground);
}

TEST_F(BlitTest, MirroredCopyHandsThePlatformTheReflectedRectangle) {
    DDBLTFX fx = MakeBltFx();
    fx.dwDDFX = DDBLTFX_MIRRORLEFTRIGHT;
    dest.DrawFx(&source, MakeRect(0, 0, 32, 32), MakeRect(0, 0, 32, 32), DDBLT_DDFX | DDBLT_WAIT, fx);
    // Source columns 224..255 mirrored: column 0 shows 255, column 31 shows 224.
    EXPECT_EQ(dest.ReadPixel(0, 0), Marker(255, 0));
    EXPECT_EQ(dest.ReadPixel(31, 0), Marker(224, 0));

    fx.dwDDFX = DDBLTFX_MIRRORUPDOWN;
    dest.DrawFx(&source, MakeRect(100, 0, 132, 16), MakeRect(0, 0, 32, 16), DDBLT_DDFX | DDBLT_WAIT, fx);
    // Rows 48..63 of the 64-row source, upside down.
    EXPECT_EQ(dest.ReadPixel(100, 0), Marker(0, 63));
    EXPECT_EQ(dest.ReadPixel(100, 15), Marker(0, 48));
}

TEST_F(BlitTest, MirrorWithoutASourceIsAPlainFill) {
    DDBLTFX fx = MakeBltFx();
    fx.dwDDFX = DDBLTFX_MIRRORLEFTRIGHT;
    fx.dwFillColor = 7;
    const auto r = MakeRect(0, 0, 4, 4);
    dest.DrawFx(nullptr, r, r, DDBLT_COLORFILL | DDBLT_WAIT, fx);
    EXPECT_EQ(dest.ReadPixel(3, 3), 7u);
}

} // namespace
