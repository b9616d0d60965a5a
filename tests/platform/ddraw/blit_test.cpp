// Blt and BltFast on surfaces of every depth: copies with and without the
// source key, fills, stretching, mirroring, clipping and the refusals.

#include "platform/ddraw/ddraw_fixture.h"

namespace ddrawtest {
namespace {

class BlitDepthTest : public DirectDrawTest, public ::testing::WithParamInterface<DWORD> {
protected:
    void SetUp() override {
        DirectDrawTest::SetUp();
        Open();
    }
};

TEST_P(BlitDepthTest, BltFastCopiesTheRectangleAndKeepsTheRest) {
    const DWORD bits = GetParam();
    IDirectDrawSurface* src = MakeSurface(37, 21, bits);
    IDirectDrawSurface* dst = MakeSurface(64, 40, bits);
    FillPattern(src, 1);
    FillPattern(dst, 2);
    // An odd width exercises the vector loop and its tail.
    const RECT from{3, 2, 36, 20};
    ASSERT_EQ(DD_OK, dst->BltFast(20, 11, src, &from, DDBLTFAST_WAIT));
    for (LONG y = 0; y < 40; ++y) {
        for (LONG x = 0; x < 64; ++x) {
            const bool inside = x >= 20 && x < 53 && y >= 11 && y < 29;
            const DWORD want = inside ? PatternValue(x - 20 + 3, y - 11 + 2, 1, bits)
                                      : PatternValue(x, y, 2, bits);
            ASSERT_EQ(want, ReadPixel(dst, x, y)) << x << "," << y;
        }
    }
    src->Release();
    dst->Release();
}

TEST_P(BlitDepthTest, KeyedCopiesSkipExactlyTheKeyPixels) {
    const DWORD bits = GetParam();
    const DWORD key = bits == 8    ? 0x5A
                      : bits == 16 ? 0xF81F
                                   : 0x00FF00FF & ((bits == 32) ? 0xFFFFFFFF : 0xFFFFFF);
    IDirectDrawSurface* src = MakeSurface(45, 9, bits);
    IDirectDrawSurface* dst = MakeSurface(45, 9, bits);
    FillPattern(src, 3);
    // Key pixels in runs and alone, and a value that differs from the key
    // only in its top bit.
    for (LONG y = 0; y < 9; ++y) {
        for (LONG x = 0; x < 45; ++x) {
            if ((x + y) % 3 == 0 || (x >= 8 && x < 40 && y == 4)) {
                WritePixel(src, x, y, key);
            }
        }
    }
    const DWORD nearKey = key ^ (1u << (bits - 1));
    WritePixel(src, 1, 0, nearKey);
    FillPattern(dst, 4);
    const DDCOLORKEY ck{key, key};
    ASSERT_EQ(DD_OK, src->SetColorKey(DDCKEY_SRCBLT, &ck));

    ASSERT_EQ(DD_OK, dst->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT));
    for (LONG y = 0; y < 9; ++y) {
        for (LONG x = 0; x < 45; ++x) {
            const DWORD s = (x == 1 && y == 0) ? nearKey
                            : ((x + y) % 3 == 0 || (x >= 8 && x < 40 && y == 4))
                                ? key
                                : PatternValue(x, y, 3, bits);
            const DWORD want = s == key ? PatternValue(x, y, 4, bits) : s;
            ASSERT_EQ(want, ReadPixel(dst, x, y)) << x << "," << y;
        }
    }

    // Blt with DDBLT_KEYSRC does the same; without a key flag the key
    // pixels are copied too.
    FillPattern(dst, 4);
    ASSERT_EQ(DD_OK, dst->Blt(nullptr, src, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr));
    EXPECT_EQ(PatternValue(0, 0, 4, bits), ReadPixel(dst, 0, 0));
    EXPECT_EQ(nearKey, ReadPixel(dst, 1, 0));
    ASSERT_EQ(DD_OK, dst->Blt(nullptr, src, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(key, ReadPixel(dst, 0, 0));
    src->Release();
    dst->Release();
}

TEST_P(BlitDepthTest, ColourFillCoversTheRectangleWithTheRawValue) {
    const DWORD bits = GetParam();
    IDirectDrawSurface* dst = MakeSurface(30, 20, bits);
    FillAll(dst, 0);
    DDBLTFX fx = MakeBltFx();
    fx.dwFillColor = 0xA1B2C3D4;
    const RECT area{5, 3, 17, 11};
    ASSERT_EQ(DD_OK, dst->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx));
    const DWORD stored = bits == 32 ? 0xA1B2C3D4 : 0xA1B2C3D4 & ((1u << bits) - 1);
    for (LONG y = 0; y < 20; ++y) {
        for (LONG x = 0; x < 30; ++x) {
            const bool inside = x >= 5 && x < 17 && y >= 3 && y < 11;
            ASSERT_EQ(inside ? stored : 0u, ReadPixel(dst, x, y)) << x << "," << y;
        }
    }
    dst->Release();
}

TEST_P(BlitDepthTest, StretchAndMirrorSampleTheNearestSourcePixel) {
    const DWORD bits = GetParam();
    IDirectDrawSurface* src = MakeSurface(4, 2, bits);
    IDirectDrawSurface* dst = MakeSurface(8, 6, bits);
    FillPattern(src, 5);
    FillAll(dst, 0);
    // Doubling: each source pixel becomes a 2x2 block (height 2 -> 4).
    const RECT to{0, 0, 8, 4};
    ASSERT_EQ(DD_OK, dst->Blt(&to, src, nullptr, DDBLT_WAIT, nullptr));
    for (LONG y = 0; y < 4; ++y) {
        for (LONG x = 0; x < 8; ++x) {
            ASSERT_EQ(PatternValue(x / 2, y / 2, 5, bits), ReadPixel(dst, x, y)) << x << "," << y;
        }
    }
    // Mirrored both ways at the same size.
    DDBLTFX fx = MakeBltFx();
    fx.dwDDFX = DDBLTFX_MIRRORLEFTRIGHT | DDBLTFX_MIRRORUPDOWN;
    const RECT small{0, 4, 4, 6};
    ASSERT_EQ(DD_OK, dst->Blt(&small, src, nullptr, DDBLT_DDFX | DDBLT_WAIT, &fx));
    for (LONG y = 0; y < 2; ++y) {
        for (LONG x = 0; x < 4; ++x) {
            ASSERT_EQ(PatternValue(3 - x, 1 - y, 5, bits), ReadPixel(dst, x, 4 + y));
        }
    }
    src->Release();
    dst->Release();
}

INSTANTIATE_TEST_SUITE_P(Depths, BlitDepthTest, ::testing::Values(8u, 16u, 24u, 32u),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });

class BlitTest : public DirectDrawTest {
protected:
    void SetUp() override {
        DirectDrawTest::SetUp();
        Open();
    }
};

TEST_F(BlitTest, ShrinkingAndMirroringLeftRightOnly) {
    IDirectDrawSurface* src = MakeSurface(8, 4, 16);
    IDirectDrawSurface* dst = MakeSurface(4, 2, 16);
    FillPattern(src, 6);
    DDBLTFX fx = MakeBltFx();
    fx.dwDDFX = DDBLTFX_MIRRORLEFTRIGHT;
    ASSERT_EQ(DD_OK, dst->Blt(nullptr, src, nullptr, DDBLT_DDFX, &fx));
    // Pixel centres: destination x samples source 2x+1, then mirrored.
    for (LONG y = 0; y < 2; ++y) {
        for (LONG x = 0; x < 4; ++x) {
            EXPECT_EQ(PatternValue(7 - (2 * x + 1), 2 * y + 1, 6, 16), ReadPixel(dst, x, y));
        }
    }
    src->Release();
    dst->Release();
}

TEST_F(BlitTest, RectanglesOutsideTheSurfacesAreRefused) {
    IDirectDrawSurface* src = MakeSurface(32, 32, 16);
    IDirectDrawSurface* dst = MakeSurface(64, 48, 16);
    const RECT whole{0, 0, 32, 32};
    EXPECT_EQ(DDERR_INVALIDRECT, dst->BltFast(40, 0, src, &whole, 0));
    EXPECT_EQ(DDERR_INVALIDRECT, dst->BltFast(0, 20, src, &whole, 0));
    const RECT beyond{0, 0, 33, 32};
    EXPECT_EQ(DDERR_INVALIDRECT, dst->BltFast(0, 0, src, &beyond, 0));
    const RECT inverted{32, 32, 0, 0};
    EXPECT_EQ(DDERR_INVALIDRECT, dst->BltFast(0, 0, src, &inverted, 0));
    DDBLTFX fx = MakeBltFx();
    const RECT overhang{600, 470, 700, 500};
    EXPECT_EQ(DDERR_INVALIDRECT, dst->Blt(&overhang, nullptr, nullptr, DDBLT_COLORFILL, &fx));
    // An empty source rectangle at the right edge draws nothing and succeeds.
    const RECT empty{0, 0, 0, 32};
    EXPECT_EQ(DD_OK, dst->BltFast(64, 0, src, &empty, 0));
    src->Release();
    dst->Release();
}

TEST_F(BlitTest, BlitsWaitForNobodyButRefuseLockedSurfacesAndHeldContexts) {
    IDirectDrawSurface* src = MakeSurface(16, 16, 16);
    IDirectDrawSurface* dst = MakeSurface(16, 16, 16);
    DDSURFACEDESC desc = MakeSurfaceDesc();
    DDBLTFX fx = MakeBltFx();

    ASSERT_EQ(DD_OK, src->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(DDERR_SURFACEBUSY, dst->BltFast(0, 0, src, nullptr, DDBLTFAST_WAIT));
    EXPECT_EQ(DDERR_SURFACEBUSY, dst->Blt(nullptr, src, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DDERR_SURFACEBUSY, src->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    HDC dc = nullptr;
    EXPECT_EQ(DDERR_SURFACEBUSY, src->GetDC(&dc));
    ASSERT_EQ(DD_OK, src->Unlock(nullptr));
    EXPECT_EQ(DDERR_NOTLOCKED, src->Unlock(nullptr));

    ASSERT_EQ(DD_OK, dst->GetDC(&dc));
    EXPECT_EQ(DDERR_SURFACEBUSY, dst->BltFast(0, 0, src, nullptr, DDBLTFAST_WAIT));
    EXPECT_EQ(DDERR_SURFACEBUSY, dst->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx));
    EXPECT_EQ(DDERR_SURFACEBUSY, dst->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    HDC second = nullptr;
    EXPECT_EQ(DDERR_DCALREADYCREATED, dst->GetDC(&second));
    EXPECT_EQ(DDERR_INVALIDPARAMS, dst->ReleaseDC(reinterpret_cast<HDC>(&fx)));
    ASSERT_EQ(DD_OK, dst->ReleaseDC(dc));
    EXPECT_EQ(DDERR_NODC, dst->ReleaseDC(dc));
    EXPECT_EQ(DD_OK, dst->BltFast(0, 0, src, nullptr, DDBLTFAST_WAIT));
    src->Release();
    dst->Release();
}

TEST_F(BlitTest, OverlappingCopiesOnOneSurfaceReadTheOldPixels) {
    IDirectDrawSurface* s = MakeSurface(20, 10, 16);
    FillPattern(s, 7);
    const RECT from{0, 0, 12, 6};
    ASSERT_EQ(DD_OK, s->BltFast(3, 2, s, &from, 0));
    for (LONG y = 0; y < 6; ++y) {
        for (LONG x = 0; x < 12; ++x) {
            ASSERT_EQ(PatternValue(x, y, 7, 16), ReadPixel(s, x + 3, y + 2));
        }
    }
    s->Release();
}

TEST_F(BlitTest, KeysAndFormatsMustFit) {
    IDirectDrawSurface* a16 = MakeSurface(8, 8, 16);
    IDirectDrawSurface* b32 = MakeSurface(8, 8, 32);
    EXPECT_EQ(DDERR_INVALIDPIXELFORMAT, b32->BltFast(0, 0, a16, nullptr, 0));
    IDirectDrawSurface* c16 = MakeSurface(8, 8, 16);
    // No key set on the source.
    EXPECT_EQ(DDERR_NOCOLORKEY, c16->BltFast(0, 0, a16, nullptr, DDBLTFAST_SRCCOLORKEY));
    DDCOLORKEY got;
    EXPECT_EQ(DDERR_NOCOLORKEY, a16->GetColorKey(DDCKEY_SRCBLT, &got));
    // The key is kept cut to the depth.
    const DDCOLORKEY key{0x1234F81F, 0x1234F81F};
    ASSERT_EQ(DD_OK, a16->SetColorKey(DDCKEY_SRCBLT, &key));
    ASSERT_EQ(DD_OK, a16->GetColorKey(DDCKEY_SRCBLT, &got));
    EXPECT_EQ(0xF81Fu, got.dwColorSpaceLowValue);
    // The override key of the effects record is used instead of the surface's.
    FillAll(a16, 0x0001);
    FillAll(c16, 0x0777);
    DDBLTFX fx = MakeBltFx();
    fx.ddckSrcColorkey = DDCOLORKEY{0x0001, 0x0001};
    ASSERT_EQ(DD_OK, c16->Blt(nullptr, a16, nullptr, DDBLT_KEYSRCOVERRIDE, &fx));
    EXPECT_EQ(0x0777u, ReadPixel(c16, 3, 3));
    // Effects it cannot do are said so.
    fx.dwDDFX = DDBLTFX_ROTATE90;
    EXPECT_EQ(DDERR_NOROTATIONHW, c16->Blt(nullptr, a16, nullptr, DDBLT_DDFX, &fx));
    EXPECT_EQ(DDERR_INVALIDPARAMS, c16->Blt(nullptr, a16, nullptr, DDBLT_DDFX, nullptr));
    a16->Release();
    b32->Release();
    c16->Release();
}

} // namespace
} // namespace ddrawtest

namespace ddrawtest {
namespace {

// A double that counts the blits done onto it and otherwise behaves as the
// surface it wraps.
class CountingSurface : public ForwardingSurface {
public:
    using ForwardingSurface::ForwardingSurface;
    int bltFasts = 0;
    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, const RECT* srcRect,
                    DWORD flags) override {
        ++bltFasts;
        return ForwardingSurface::BltFast(x, y, source, srcRect, flags);
    }
};

TEST_F(BlitTest, WrappedSurfacesWorkAsTheSurfacesTheyWrap) {
    auto* src = new CountingSurface(MakeSurface(4, 4, 16));
    auto* dst = new CountingSurface(MakeSurface(4, 4, 16));
    FillAll(src, 0x2468);
    ASSERT_EQ(DD_OK, dst->BltFast(0, 0, src, nullptr, 0));
    EXPECT_EQ(1, dst->bltFasts);
    EXPECT_EQ(0x2468u, ReadPixel(dst, 3, 3));
    EXPECT_EQ(DD_OK, dst->Blt(nullptr, src, nullptr, 0, nullptr));
    EXPECT_EQ(0u, src->Release());
    EXPECT_EQ(0u, dst->Release());
}

} // namespace
} // namespace ddrawtest
