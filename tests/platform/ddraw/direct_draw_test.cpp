// The DirectDraw object: interfaces and counts, video memory and placement,
// lost surfaces, cooperative levels and display modes, the flip chain and
// what reaches the presenter, clipper, palettes, Z buffers, enumerations.

#include "platform/ddraw/ddraw_fixture.h"

#include <utility>

namespace ddrawtest {
namespace {

class DirectDrawObjectTest : public DirectDrawTest {
protected:
    static DDSURFACEDESC FlipChainDesc() {
        DDSURFACEDESC desc = MakeSurfaceDesc();
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = 1;
        desc.ddsCaps.dwCaps = 0x218;
        return desc;
    }
    // The game's full-screen set-up: exclusive mode, 640x480x16, a primary
    // with one back buffer.
    void OpenFlipChain(IDirectDrawSurface** primary, IDirectDrawSurface** back) {
        IDirectDraw* object = nullptr;
        ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &object, nullptr));
        dd = object;
        ASSERT_EQ(DD_OK, dd->SetCooperativeLevel(windows.window, 0x53));
        ASSERT_EQ(DD_OK, dd->SetDisplayMode(640, 480, 16, 0, 0));
        DDSURFACEDESC desc = FlipChainDesc();
        ASSERT_EQ(DD_OK, dd->CreateSurface(&desc, primary, nullptr));
        DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
        ASSERT_EQ(DD_OK, (*primary)->GetAttachedSurface(&backCaps, back));
    }
    // The windowed set-up: the desktop as primary, clipped to the window.
    void OpenWindowedPrimary(IDirectDrawSurface** primary, IDirectDrawClipper** clipper) {
        Open();
        DDSURFACEDESC desc = MakeSurfaceDesc();
        desc.dwFlags = DDSD_CAPS;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        ASSERT_EQ(DD_OK, dd->CreateSurface(&desc, primary, nullptr));
        ASSERT_EQ(DD_OK, dd->CreateClipper(0, clipper, nullptr));
        ASSERT_EQ(DD_OK, (*clipper)->SetHWnd(0, windows.window));
        ASSERT_EQ(DD_OK, (*primary)->SetClipper(*clipper));
    }
};

TEST_F(DirectDrawObjectTest, EachInterfaceCountsItsOwnReferences) {
    IDirectDraw* first = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &first, nullptr));
    IDirectDraw2* second = nullptr;
    ASSERT_EQ(DD_OK, first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&second)));
    ASSERT_NE(nullptr, second);
    void* none = &none;
    EXPECT_EQ(E_NOINTERFACE, first->QueryInterface(IID_IDirectDrawSurface, &none));
    EXPECT_EQ(nullptr, none);
    // Releasing in the order the display component does: each answers 0,
    // and the object is gone only after both (checked by the leak sanitizer).
    EXPECT_EQ(0u, second->Release());
    EXPECT_EQ(2u, first->AddRef());
    EXPECT_EQ(1u, first->Release());
    EXPECT_EQ(0u, first->Release());
}

TEST_F(DirectDrawObjectTest, CapsReportSoftwareBlitsWithoutThreeDHardware) {
    Open();
    DDCAPS driver;
    driver.dwSize = DDCAPS::kSize;
    DDCAPS emulation;
    emulation.dwSize = DDCAPS::kSize;
    ASSERT_EQ(DD_OK, dd->GetCaps(&driver, &emulation));
    EXPECT_EQ(0u, driver.dwCaps & DDCAPS_3D);
    EXPECT_EQ(0u, driver.ddsCaps.dwCaps & DDSCAPS_TEXTURE);
    EXPECT_NE(0u, driver.dwCaps & DDCAPS_BLTSTRETCH);
    EXPECT_EQ(64u * 1024 * 1024, driver.dwVidMemTotal);
    DDCAPS wrongSize;
    wrongSize.dwSize = 100;
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->GetCaps(&wrongSize, nullptr));
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->GetCaps(nullptr, nullptr));
}

TEST_F(DirectDrawObjectTest, VideoMemoryRunsOutAndUnplacedSurfacesFallBack) {
    // Room for two 64x64 16-bit surfaces (8 KiB each).
    SetSoftwareSettings(SoftwareSettings{20 * 1024, HighColorLayout::Rgb565});
    Open();
    const DWORD video = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
    IDirectDrawSurface* a = MakeSurface(64, 64, 0, video);
    IDirectDrawSurface* b = MakeSurface(64, 64, 0, video);
    HRESULT result = DD_OK;
    IDirectDrawSurface* c = MakeSurface(64, 64, 0, video, &result);
    EXPECT_EQ(DDERR_OUTOFVIDEOMEMORY, result);
    EXPECT_EQ(nullptr, c);

    DDSCAPS caps;
    ASSERT_EQ(DD_OK, a->GetCaps(&caps));
    EXPECT_EQ(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM, caps.dwCaps);
    // With no placement asked, the surface goes to system memory now.
    IDirectDrawSurface* d = MakeSurface(64, 64, 0, DDSCAPS_OFFSCREENPLAIN);
    ASSERT_EQ(DD_OK, d->GetCaps(&caps));
    EXPECT_EQ(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, caps.dwCaps);
    // Non-local video memory draws on the same budget.
    IDirectDrawSurface* e = MakeSurface(64, 64, 0, video | DDSCAPS_NONLOCALVIDMEM, &result);
    EXPECT_EQ(DDERR_OUTOFVIDEOMEMORY, result);
    // Releasing gives the memory back.
    EXPECT_EQ(0u, b->Release());
    e = MakeSurface(64, 64, 0, video | DDSCAPS_NONLOCALVIDMEM);
    ASSERT_EQ(DD_OK, e->GetCaps(&caps));
    EXPECT_EQ(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY | DDSCAPS_NONLOCALVIDMEM, caps.dwCaps);
    DWORD total = 0, free = 0;
    DDSCAPS asked{DDSCAPS_VIDEOMEMORY};
    ASSERT_EQ(DD_OK, static_cast<IDirectDraw2*>(dd)->GetAvailableVidMem(&asked, &total, &free));
    a->Release();
    d->Release();
    e->Release();
}

TEST_F(DirectDrawObjectTest, SurfaceDescriptionGivesSizePitchFormatAndPlacement) {
    Open();
    IDirectDrawSurface* s = MakeSurface(33, 7, 24);
    DDSURFACEDESC desc = MakeSurfaceDesc();
    ASSERT_EQ(DD_OK, s->GetSurfaceDesc(&desc));
    EXPECT_EQ(108u, desc.dwSize);
    EXPECT_EQ(33u, desc.dwWidth);
    EXPECT_EQ(7u, desc.dwHeight);
    EXPECT_EQ(100, desc.lPitch); // 99 bytes rounded to whole 32-bit words
    EXPECT_EQ(24u, desc.ddpfPixelFormat.dwRGBBitCount);
    EXPECT_EQ(nullptr, desc.lpSurface);
    DDSURFACEDESC locked = MakeSurfaceDesc();
    const RECT part{2, 3, 10, 7};
    ASSERT_EQ(DD_OK, s->Lock(&part, &locked, DDLOCK_WAIT, nullptr));
    DDSURFACEDESC whole = MakeSurfaceDesc();
    ASSERT_EQ(DD_OK, s->Unlock(nullptr));
    ASSERT_EQ(DD_OK, s->Lock(nullptr, &whole, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(static_cast<BYTE*>(whole.lpSurface) + 3 * 100 + 2 * 3, locked.lpSurface);
    ASSERT_EQ(DD_OK, s->Unlock(nullptr));
    desc.dwSize = 12;
    EXPECT_EQ(DDERR_INVALIDPARAMS, s->GetSurfaceDesc(&desc));
    s->Release();
}

TEST_F(DirectDrawObjectTest, HighColourLayoutFollowsTheSettings) {
    SetSoftwareSettings(SoftwareSettings{1u << 24, HighColorLayout::Rgb555});
    Open();
    IDirectDrawSurface* s = MakeSurface(4, 4);
    DDPIXELFORMAT format;
    ASSERT_EQ(DD_OK, s->GetPixelFormat(&format));
    EXPECT_EQ(16u, format.dwRGBBitCount);
    EXPECT_EQ(0x7C00u, format.dwRBitMask);
    EXPECT_EQ(0x03E0u, format.dwGBitMask);
    s->Release();
}

TEST_F(DirectDrawObjectTest, SurfacesOfAReleasedObjectAreLostButStayUsable) {
    Open();
    IDirectDrawSurface* s = MakeSurface(16, 16);
    IDirectDrawPalette* palette = nullptr;
    PALETTEENTRY entries[256] = {};
    ASSERT_EQ(DD_OK, dd->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr));
    IDirectDrawSurface* indexed = MakeSurface(8, 8, 8);
    ASSERT_EQ(DD_OK, indexed->SetPalette(palette));
    IDirectDrawSurface* primary = nullptr;
    DDSURFACEDESC desc = MakeSurfaceDesc();
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    ASSERT_EQ(DD_OK, dd->CreateSurface(&desc, &primary, nullptr));

    EXPECT_EQ(DD_OK, s->IsLost());
    EXPECT_EQ(0u, dd->Release());
    dd = nullptr;
    EXPECT_EQ(DDERR_SURFACELOST, s->IsLost());
    EXPECT_EQ(DDERR_SURFACELOST, s->Restore());
    DDSURFACEDESC lock = MakeSurfaceDesc();
    EXPECT_EQ(DDERR_SURFACELOST, s->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(DDERR_SURFACELOST, s->BltFast(0, 0, indexed, nullptr, 0));
    HDC dc = nullptr;
    EXPECT_EQ(DDERR_SURFACELOST, s->GetDC(&dc));
    // The palette was let go by its surface; ours is the last reference.
    EXPECT_EQ(0u, palette->Release());
    EXPECT_EQ(0u, s->Release());
    EXPECT_EQ(0u, indexed->Release());
    // The primary is never released by its user; it is freed at exit.
}

TEST_F(DirectDrawObjectTest, CooperativeLevelsAndDisplayModes) {
    IDirectDraw* object = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &object, nullptr));
    dd = object;
    const HWND w = windows.window;
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->SetCooperativeLevel(w, DDSCL_EXCLUSIVE));
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->SetCooperativeLevel(w, DDSCL_NORMAL | DDSCL_EXCLUSIVE));
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->SetCooperativeLevel(nullptr, 0x53));
    EXPECT_EQ(DDERR_NOEXCLUSIVEMODE,
              (dd->SetCooperativeLevel(w, DDSCL_NORMAL), dd->SetDisplayMode(640, 480, 16, 0, 0)));
    ASSERT_EQ(DD_OK, dd->SetCooperativeLevel(w, 0x53));

    // A second object cannot take the screen as well.
    IDirectDraw* other = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &other, nullptr));
    EXPECT_EQ(DDERR_EXCLUSIVEMODEALREADYSET, other->SetCooperativeLevel(w, 0x53));
    other->Release();

    EXPECT_EQ(DDERR_INVALIDMODE, dd->SetDisplayMode(1024, 768, 16, 0, 0)); // larger than 800x600
    EXPECT_EQ(DDERR_INVALIDMODE, dd->SetDisplayMode(640, 480, 15, 0, 0));
    ASSERT_EQ(DD_OK, dd->SetDisplayMode(640, 480, 32, 0, 0));
    DDSURFACEDESC mode = MakeSurfaceDesc();
    ASSERT_EQ(DD_OK, dd->GetDisplayMode(&mode));
    EXPECT_EQ(640u, mode.dwWidth);
    EXPECT_EQ(32u, mode.ddpfPixelFormat.dwRGBBitCount);
    ASSERT_EQ(DD_OK, dd->RestoreDisplayMode());
    ASSERT_EQ(DD_OK, dd->GetDisplayMode(&mode));
    EXPECT_EQ(800u, mode.dwWidth);
    EXPECT_EQ(16u, mode.ddpfPixelFormat.dwRGBBitCount);
    EXPECT_EQ((std::vector<std::string>{"enter 0 640x480x32", "leave"}), presenter.events);
}

TEST_F(DirectDrawObjectTest, FullScreenFlipChainShowsTheBackBuffer) {
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* back = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenFlipChain(&primary, &back));
    DDSURFACEDESC backDesc = MakeSurfaceDesc();
    ASSERT_EQ(DD_OK, back->GetSurfaceDesc(&backDesc));
    EXPECT_EQ(640u, backDesc.dwWidth);
    EXPECT_EQ(16u, backDesc.ddpfPixelFormat.dwRGBBitCount);

    FillAll(back, 0x1111);
    FillAll(primary, 0x2222);
    presenter.fullScreenFrames.clear();
    ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    EXPECT_EQ((std::vector<DWORD>{0x1111}), presenter.fullScreenFrames);
    EXPECT_EQ(0x1111u, ReadPixel(primary, 5, 5));
    EXPECT_EQ(0x2222u, ReadPixel(back, 5, 5));
    EXPECT_EQ(DDERR_NOTFLIPPABLE, back->Flip(nullptr, DDFLIP_WAIT));

    DDSURFACEDESC locked = MakeSurfaceDesc();
    ASSERT_EQ(DD_OK, back->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(DDERR_SURFACEBUSY, primary->Flip(nullptr, DDFLIP_WAIT));
    ASSERT_EQ(DD_OK, back->Unlock(nullptr));

    // A second primary is refused; the back buffer cannot be detached.
    IDirectDrawSurface* again = nullptr;
    DDSURFACEDESC desc = FlipChainDesc();
    EXPECT_EQ(DDERR_PRIMARYSURFACEALREADYEXISTS, dd->CreateSurface(&desc, &again, nullptr));
    EXPECT_EQ(DDERR_CANNOTDETACHSURFACE, primary->DeleteAttachedSurface(0, back));

    // The back buffer reference from GetAttachedSurface, then the chain.
    EXPECT_EQ(1u, back->Release());
    EXPECT_EQ(0u, primary->Release());
    ASSERT_EQ(DD_OK, dd->RestoreDisplayMode());
}

TEST_F(DirectDrawObjectTest, DisplayModeChangeLosesVideoMemoryUntilRestored) {
    IDirectDraw* object = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &object, nullptr));
    dd = object;
    ASSERT_EQ(DD_OK, dd->SetCooperativeLevel(windows.window, 0x53));
    IDirectDrawSurface* video = MakeSurface(8, 8, 0, DDSCAPS_VIDEOMEMORY);
    IDirectDrawSurface* system = MakeSurface(8, 8, 0, DDSCAPS_SYSTEMMEMORY);
    DDSURFACEDESC desc = MakeSurfaceDesc();
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface* primary = nullptr;
    ASSERT_EQ(DD_OK, dd->CreateSurface(&desc, &primary, nullptr));
    FillAll(system, 0x4321);

    ASSERT_EQ(DD_OK, dd->SetDisplayMode(640, 480, 16, 0, 0));
    EXPECT_EQ(DDERR_SURFACELOST, video->IsLost());
    EXPECT_EQ(DD_OK, system->IsLost());
    EXPECT_EQ(0x4321u, ReadPixel(system, 7, 7));
    EXPECT_EQ(DD_OK, video->Restore());
    EXPECT_EQ(DD_OK, video->IsLost());
    // The desktop-sized primary does not fit the new mode.
    EXPECT_EQ(DDERR_WRONGMODE, primary->Restore());
    video->Release();
    system->Release();
    primary->Release();
}

TEST_F(DirectDrawObjectTest, WindowedPrimaryIsTheDesktopAndBlitsShowInTheWindow) {
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawClipper* clipper = nullptr;
    OpenWindowedPrimary(&primary, &clipper);
    DDSURFACEDESC got = MakeSurfaceDesc();
    ASSERT_EQ(DD_OK, primary->GetSurfaceDesc(&got));
    EXPECT_EQ(800u, got.dwWidth);
    EXPECT_EQ(600u, got.dwHeight);
    EXPECT_EQ(DDERR_NOTFLIPPABLE, primary->Flip(nullptr, DDFLIP_WAIT));

    IDirectDrawSurface* back = MakeSurface(640, 480);
    FillAll(back, 0x0F0F);
    FillAll(primary, 0);
    presenter.windowFrames.clear();
    // A frame larger than the client area is cut to it (the client is
    // 320x240 at 100,50): only that part of the desktop changes.
    const RECT to{100, 50, 740, 530};
    ASSERT_EQ(DD_OK, primary->Blt(&to, back, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(0x0F0Fu, ReadPixel(primary, 100, 50));
    EXPECT_EQ(0x0F0Fu, ReadPixel(primary, 419, 289));
    EXPECT_EQ(0u, ReadPixel(primary, 420, 289));
    EXPECT_EQ(0u, ReadPixel(primary, 100, 290));
    ASSERT_EQ(1u, presenter.windowFrames.size());
    EXPECT_EQ(windows.client, presenter.windowFrames[0].changed);
    EXPECT_EQ(0x0F0Fu, presenter.windowFrames[0].firstPixel);
    // BltFast does not clip.
    EXPECT_EQ(DDERR_BLTFASTCANTCLIP, primary->BltFast(0, 0, back, nullptr, 0));

    // A hidden window: nothing is drawn, nothing shown.
    windows.visible = false;
    FillAll(back, 0x7777);
    presenter.windowFrames.clear();
    ASSERT_EQ(DD_OK, primary->Blt(&to, back, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(0x0F0Fu, ReadPixel(primary, 100, 50));
    EXPECT_TRUE(presenter.windowFrames.empty());
    DWORD count = 5;
    ASSERT_EQ(DD_OK, clipper->GetClipList(nullptr, nullptr, &count));
    EXPECT_EQ(0u, count);

    EXPECT_EQ(1u, clipper->Release()); // the primary still holds it
    back->Release();
    primary->Release();
}

TEST_F(DirectDrawObjectTest, WindowedBlitShowsOnlyTheRowsThatChanged) {
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawClipper* clipper = nullptr;
    OpenWindowedPrimary(&primary, &clipper);
    IDirectDrawSurface* back = MakeSurface(320, 240);
    const RECT to{100, 50, 420, 290}; // the client area
    // A new primary's first frame is shown whole, even where it holds the
    // same pixels already: the window may show anything before it.
    FillAll(back, 0);
    presenter.windowFrames.clear();
    ASSERT_EQ(DD_OK, primary->Blt(&to, back, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(1u, presenter.windowFrames.size());
    EXPECT_EQ(windows.client, presenter.windowFrames[0].changed);

    FillAll(back, 0x0F0F);
    presenter.windowFrames.clear();
    ASSERT_EQ(DD_OK, primary->Blt(&to, back, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(1u, presenter.windowFrames.size());
    EXPECT_EQ(windows.client, presenter.windowFrames[0].changed);

    // The same frame again: nothing to show.
    presenter.windowFrames.clear();
    ASSERT_EQ(DD_OK, primary->Blt(&to, back, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_TRUE(presenter.windowFrames.empty());

    // Rows 10 and 12 change (one band, being close) and row 200: two bands,
    // each as wide as its changed pixels, sent to the screen together once
    // both are given.
    WritePixel(back, 5, 10, 0x1234);
    WritePixel(back, 319, 12, 0x1234);
    WritePixel(back, 0, 200, 0x4321);
    presenter.windowFrames.clear();
    presenter.finishes.clear();
    ASSERT_EQ(DD_OK, primary->Blt(&to, back, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(2u, presenter.windowFrames.size());
    EXPECT_EQ((RECT{105, 60, 420, 63}), presenter.windowFrames[0].changed);
    EXPECT_EQ((RECT{100, 250, 101, 251}), presenter.windowFrames[1].changed);
    EXPECT_EQ(std::vector<std::size_t>{2}, presenter.finishes);
    EXPECT_EQ(0x1234u, ReadPixel(primary, 105, 60));
    EXPECT_EQ(0x1234u, ReadPixel(primary, 419, 62));
    EXPECT_EQ(0x4321u, ReadPixel(primary, 100, 250));
    EXPECT_EQ(0x0F0Fu, ReadPixel(primary, 101, 250));

    // Nothing is drawn while the window is hidden; once it shows again, the
    // pixel that differs from the primary's is shown.
    windows.visible = false;
    WritePixel(back, 0, 0, 0x5555);
    presenter.windowFrames.clear();
    ASSERT_EQ(DD_OK, primary->Blt(&to, back, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_TRUE(presenter.windowFrames.empty());
    windows.visible = true;
    ASSERT_EQ(DD_OK, primary->Blt(&to, back, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(1u, presenter.windowFrames.size());
    EXPECT_EQ((RECT{100, 50, 101, 51}), presenter.windowFrames[0].changed);

    // A window moved elsewhere is shown whole at its new place.
    windows.client = RECT{200, 100, 520, 340};
    presenter.windowFrames.clear();
    const RECT moved{200, 100, 520, 340};
    ASSERT_EQ(DD_OK, primary->Blt(&moved, back, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(1u, presenter.windowFrames.size());
    EXPECT_EQ(moved, presenter.windowFrames[0].changed);

    clipper->Release();
    back->Release();
    primary->Release();
}

TEST_F(DirectDrawObjectTest, WindowedBlitSeesEveryWayItsSourceWasWritten) {
    // Once a window holds a copy of a frame, the next copy looks only where
    // the frame was written since; each kind of write must count.
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawClipper* clipper = nullptr;
    OpenWindowedPrimary(&primary, &clipper);
    IDirectDrawSurface* back = MakeSurface(320, 240);
    IDirectDrawSurface* sprite = MakeSurface(4, 4);
    FillAll(sprite, 0x0700);
    const RECT to{100, 50, 420, 290};
    FillAll(back, 0x0F0F);
    ASSERT_EQ(DD_OK, primary->Blt(&to, back, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(DD_OK, primary->Blt(&to, back, nullptr, DDBLT_WAIT, nullptr));
    const auto showsBack = [&](LONG x, LONG y, RECT changed) {
        presenter.windowFrames.clear();
        ASSERT_EQ(DD_OK, primary->Blt(&to, back, nullptr, DDBLT_WAIT, nullptr));
        ASSERT_EQ(1u, presenter.windowFrames.size()) << x << "," << y;
        EXPECT_EQ(changed, presenter.windowFrames[0].changed);
        EXPECT_EQ(ReadPixel(back, x, y), ReadPixel(primary, to.Left + x, to.Top + y));
    };
    WritePixel(back, 300, 7, 0x1111); // through a lock
    showsBack(300, 7, RECT{400, 57, 401, 58});
    ASSERT_EQ(DD_OK, back->BltFast(10, 100, sprite, nullptr, 0));
    showsBack(13, 103, RECT{110, 150, 114, 154});
    DDBLTFX fill = MakeBltFx();
    fill.dwFillColor = 0x2222;
    const RECT filled{50, 200, 52, 201};
    ASSERT_EQ(DD_OK, back->Blt(&filled, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill));
    showsBack(51, 200, RECT{150, 250, 152, 251});
    HDC dc = nullptr;
    ASSERT_EQ(DD_OK, back->GetDC(&dc));
    dc->SetPixel(319, 239, RGB(255, 255, 255));
    ASSERT_EQ(DD_OK, back->ReleaseDC(dc));
    showsBack(319, 239, RECT{419, 289, 420, 290});
    // Something else written on the window's pixels: the whole copy is
    // looked at again and puts them right.
    WritePixel(primary, 250, 60, 0x3333);
    showsBack(150, 10, RECT{250, 60, 251, 61});
    // Another frame shown in between: its marks no longer tell.
    IDirectDrawSurface* other = MakeSurface(320, 240);
    ASSERT_EQ(DD_OK, other->BltFast(0, 0, back, nullptr, 0));
    WritePixel(other, 0, 0, 0x4444);
    ASSERT_EQ(DD_OK, primary->Blt(&to, other, nullptr, DDBLT_WAIT, nullptr));
    showsBack(0, 0, RECT{100, 50, 101, 51});
    // A window partly off the screen: its visible part is copied from the
    // source shifted to match, and what is written there still shows.
    windows.client = RECT{-100, 50, 220, 290};
    const RECT partlyOff = windows.client;
    ASSERT_EQ(DD_OK, primary->Blt(&partlyOff, back, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(DD_OK, primary->Blt(&partlyOff, back, nullptr, DDBLT_WAIT, nullptr));
    WritePixel(back, 150, 20, 0x5555);
    presenter.windowFrames.clear();
    ASSERT_EQ(DD_OK, primary->Blt(&partlyOff, back, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(1u, presenter.windowFrames.size());
    EXPECT_EQ((RECT{50, 70, 51, 71}), presenter.windowFrames[0].changed);
    EXPECT_EQ(0x5555u, ReadPixel(primary, 50, 70));

    other->Release();
    sprite->Release();
    clipper->Release();
    back->Release();
    primary->Release();
}

TEST_F(DirectDrawObjectTest, PalettesAreSharedAndOnlyForEightBitSurfaces) {
    Open();
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i) {
        entries[i] =
            PALETTEENTRY{static_cast<BYTE>(i), 0, static_cast<BYTE>(255 - i), PC_NOCOLLAPSE};
    }
    IDirectDrawPalette* palette = nullptr;
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->CreatePalette(DDPCAPS_8BIT, nullptr, &palette, nullptr));
    ASSERT_EQ(DD_OK, dd->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr));
    IDirectDrawSurface* a = MakeSurface(4, 4, 8);
    IDirectDrawSurface* b = MakeSurface(4, 4, 8);
    IDirectDrawSurface* c = MakeSurface(4, 4, 16);
    ASSERT_EQ(DD_OK, a->SetPalette(palette));
    ASSERT_EQ(DD_OK, b->SetPalette(palette));
    EXPECT_EQ(DDERR_NOTPALETTIZED, c->SetPalette(palette));
    PALETTEENTRY changed{1, 2, 3, 0};
    ASSERT_EQ(DD_OK, palette->SetEntries(0, 200, 1, &changed));
    EXPECT_EQ(DDERR_INVALIDPARAMS, palette->SetEntries(0, 255, 2, entries));
    IDirectDrawPalette* got = nullptr;
    ASSERT_EQ(DD_OK, b->GetPalette(&got));
    PALETTEENTRY read[2];
    ASSERT_EQ(DD_OK, got->GetEntries(0, 199, 2, read));
    EXPECT_EQ(entries[199], read[0]);
    EXPECT_EQ(changed, read[1]);
    EXPECT_EQ(3u, got->Release()); // ours, a's and b's
    a->Release();
    b->Release();
    c->Release();
    EXPECT_EQ(0u, palette->Release());
}

TEST_F(DirectDrawObjectTest, ZBufferAttachesToTheBackBufferInTheSameBudget) {
    SetSoftwareSettings(
        SoftwareSettings{64 * 48 * 2 + 64 * 48 * 3 + 1000, HighColorLayout::Rgb565});
    Open();
    IDirectDrawSurface* back =
        MakeSurface(64, 48, 0, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY | DDSCAPS_3DDEVICE);
    DDSURFACEDESC desc = MakeSurfaceDesc();
    desc.dwFlags = 0x47;
    desc.dwWidth = 64;
    desc.dwHeight = 48;
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY;
    desc.dwZBufferBitDepth = 17;
    IDirectDrawSurface* z = nullptr;
    EXPECT_EQ(DDERR_INVALIDPIXELFORMAT, dd->CreateSurface(&desc, &z, nullptr));
    // 32 bits do not fit in what is left, 24 do.
    desc.dwZBufferBitDepth = 32;
    EXPECT_EQ(DDERR_OUTOFVIDEOMEMORY, dd->CreateSurface(&desc, &z, nullptr));
    desc.dwZBufferBitDepth = 24;
    ASSERT_EQ(DD_OK, dd->CreateSurface(&desc, &z, nullptr));
    DDSURFACEDESC zDesc = MakeSurfaceDesc();
    ASSERT_EQ(DD_OK, z->GetSurfaceDesc(&zDesc));
    EXPECT_EQ(24u, zDesc.dwZBufferBitDepth);
    EXPECT_NE(0u, zDesc.ddsCaps.dwCaps & DDSCAPS_ZBUFFER);
    EXPECT_NE(0u, zDesc.ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY);

    ASSERT_EQ(DD_OK, back->AddAttachedSurface(z));
    EXPECT_EQ(DDERR_SURFACEALREADYATTACHED, back->AddAttachedSurface(z));
    EXPECT_EQ(DDERR_CANNOTATTACHSURFACE, z->AddAttachedSurface(back));
    DDBLTFX fx = MakeBltFx();
    fx.dwFillDepth = 0xFFFFFF;
    EXPECT_EQ(DD_OK, z->Blt(nullptr, nullptr, nullptr, DDBLT_DEPTHFILL, &fx));
    EXPECT_EQ(DDERR_INVALIDPARAMS, back->Blt(nullptr, nullptr, nullptr, DDBLT_DEPTHFILL, &fx));
    HDC dc = nullptr;
    EXPECT_EQ(DDERR_CANTCREATEDC, z->GetDC(&dc));
    DDSCAPS zCaps{DDSCAPS_ZBUFFER};
    IDirectDrawSurface* found = nullptr;
    ASSERT_EQ(DD_OK, back->GetAttachedSurface(&zCaps, &found));
    EXPECT_EQ(z, found);
    // Ours, the attachment's and the one just handed out.
    EXPECT_EQ(2u, found->Release());
    EXPECT_EQ(1u, z->Release());
    EXPECT_EQ(0u, back->Release()); // takes the Z buffer with it
}

BOOL CollectDriver(GUID* guid, const char* description, const char* name, void* context) {
    auto* seen = static_cast<std::vector<std::pair<bool, std::string>>*>(context);
    seen->emplace_back(guid != nullptr, std::string(description) + " (" + name + ")");
    if (guid) {
        IDirectDraw* object = nullptr;
        EXPECT_EQ(DD_OK, DirectDrawCreate(guid, &object, nullptr));
        DDSURFACEDESC mode = MakeSurfaceDesc();
        object->GetDisplayMode(&mode);
        EXPECT_EQ(1280u, mode.dwWidth);
        object->Release();
    }
    return 1;
}

HRESULT CollectMode(DDSURFACEDESC* mode, void* context) {
    auto* modes = static_cast<std::vector<std::string>*>(context);
    modes->push_back(std::to_string(mode->dwWidth) + "x" + std::to_string(mode->dwHeight) + "x" +
                     std::to_string(mode->ddpfPixelFormat.dwRGBBitCount));
    return modes->size() < 6 ? DDENUMRET_OK : DDENUMRET_CANCEL;
}

TEST_F(DirectDrawObjectTest, EnumeratesScreensAndTheirModes) {
    windows.screens.push_back(ScreenInfo{"Second", "HDMI-1", 1280, 1024, 32});
    std::vector<std::pair<bool, std::string>> drivers;
    ASSERT_EQ(DD_OK, DirectDrawEnumerate(CollectDriver, &drivers));
    ASSERT_EQ(2u, drivers.size());
    EXPECT_EQ(std::make_pair(false, std::string("Test screen (test)")), drivers[0]);
    EXPECT_EQ(std::make_pair(true, std::string("Second (HDMI-1)")), drivers[1]);
    GUID unknown{1, 2, 3, {4}};
    IDirectDraw* object = nullptr;
    EXPECT_EQ(DDERR_INVALIDDIRECTDRAWGUID, DirectDrawCreate(&unknown, &object, nullptr));

    Open();
    std::vector<std::string> modes;
    DDSURFACEDESC any = MakeSurfaceDesc();
    ASSERT_EQ(DD_OK, dd->EnumDisplayModes(0, &any, &modes, CollectMode));
    // Smallest first, every depth; the callback stopped after six.
    EXPECT_EQ((std::vector<std::string>{"320x200x8", "320x200x16", "320x200x24", "320x200x32",
                                        "320x240x8", "320x240x16"}),
              modes);
    modes.clear();
    DDSURFACEDESC match = MakeSurfaceDesc();
    match.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
    match.dwWidth = 800;
    match.dwHeight = 600;
    ASSERT_EQ(DD_OK, dd->EnumDisplayModes(0, &match, &modes, CollectMode));
    EXPECT_EQ((std::vector<std::string>{"800x600x8", "800x600x16", "800x600x24", "800x600x32"}),
              modes);
}

TEST_F(DirectDrawObjectTest, InjectedFailuresAnswerWithoutActing) {
    Open();
    InjectFailure(Operation::CreateSurface, DDERR_OUTOFVIDEOMEMORY, 1, 1);
    IDirectDrawSurface* first = MakeSurface(4, 4);
    HRESULT result = DD_OK;
    IDirectDrawSurface* second = MakeSurface(4, 4, 0, DDSCAPS_SYSTEMMEMORY, &result);
    EXPECT_EQ(DDERR_OUTOFVIDEOMEMORY, result);
    EXPECT_EQ(nullptr, second);
    IDirectDrawSurface* third = MakeSurface(4, 4);
    EXPECT_EQ(3, CallCount(Operation::CreateSurface));
    dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
    EXPECT_EQ(1, presenter.vblanks);
    first->Release();
    third->Release();
}

} // namespace
} // namespace ddrawtest

namespace ddrawtest {
namespace {

TEST_F(DirectDrawObjectTest, ReleasingTheObjectGivesTheScreenBack) {
    IDirectDraw* first = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &first, nullptr));
    ASSERT_EQ(DD_OK, first->SetCooperativeLevel(windows.window, 0x53));
    ASSERT_EQ(DD_OK, first->SetDisplayMode(640, 480, 16, 0, 0));
    // Released without RestoreDisplayMode: the window still leaves full
    // screen, and the next object may take the screen.
    EXPECT_EQ(0u, first->Release());
    EXPECT_EQ((std::vector<std::string>{"enter 0 640x480x16", "leave"}), presenter.events);
    ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &dd, nullptr));
    EXPECT_EQ(DD_OK, dd->SetCooperativeLevel(windows.window, 0x53));
}

TEST_F(DirectDrawObjectTest, ClipListLimitsAStretchedBlit) {
    Open();
    IDirectDrawSurface* src = MakeSurface(2, 2, 16);
    IDirectDrawSurface* dst = MakeSurface(8, 8, 16);
    FillPattern(src, 9);
    FillAll(dst, 0);
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(DD_OK, dd->CreateClipper(0, &clipper, nullptr));
    const RECT allowed[2] = {{0, 0, 3, 8}, {6, 6, 20, 20}};
    ASSERT_EQ(DD_OK, clipper->SetClipList(allowed, 2, 0));
    ASSERT_EQ(DD_OK, dst->SetClipper(clipper));
    // With a clipper the destination may reach past the surface.
    const RECT to{0, 0, 16, 16};
    ASSERT_EQ(DD_OK, dst->Blt(&to, src, nullptr, DDBLT_WAIT, nullptr));
    for (LONG y = 0; y < 8; ++y) {
        for (LONG x = 0; x < 8; ++x) {
            const bool drawn = x < 3 || (x >= 6 && y >= 6);
            ASSERT_EQ(drawn ? PatternValue(x / 8, y / 8, 9, 16) : 0u, ReadPixel(dst, x, y))
                << x << "," << y;
        }
    }
    EXPECT_EQ(DDERR_CLIPPERISUSINGHWND,
              (clipper->SetHWnd(0, windows.window), clipper->SetClipList(allowed, 1, 0)));
    clipper->Release();
    src->Release();
    dst->Release();
}

TEST_F(DirectDrawObjectTest, FlipChainIsRestoredWholeInItsOwnMode) {
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* back = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenFlipChain(&primary, &back));
    ASSERT_EQ(DD_OK, dd->SetDisplayMode(800, 600, 16, 0, 0));
    EXPECT_EQ(DDERR_SURFACELOST, back->IsLost());
    EXPECT_EQ(DDERR_WRONGMODE, back->Restore());
    ASSERT_EQ(DD_OK, dd->SetDisplayMode(640, 480, 16, 0, 0));
    EXPECT_EQ(DD_OK, back->Restore());
    EXPECT_EQ(DD_OK, primary->IsLost());
    EXPECT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    back->Release();
    primary->Release();
}

} // namespace
} // namespace ddrawtest

namespace ddrawtest {
namespace {

TEST_F(DirectDrawObjectTest, UnreasonableSurfaceRequestsAreRefused) {
    Open();
    HRESULT result = DD_OK;
    EXPECT_EQ(nullptr, MakeSurface(16385, 4, 16, DDSCAPS_SYSTEMMEMORY, &result));
    EXPECT_EQ(DDERR_TOOBIGWIDTH, result);
    EXPECT_EQ(nullptr, MakeSurface(0, 4, 16, DDSCAPS_SYSTEMMEMORY, &result));
    EXPECT_EQ(DDERR_INVALIDPARAMS, result);
    // A gigabyte for one surface is not handed out.
    EXPECT_EQ(nullptr, MakeSurface(16384, 16384, 32, DDSCAPS_SYSTEMMEMORY, &result));
    EXPECT_EQ(DDERR_OUTOFMEMORY, result);
    EXPECT_EQ(nullptr, MakeSurface(8, 8, 12, DDSCAPS_SYSTEMMEMORY, &result));
    EXPECT_EQ(DDERR_INVALIDPIXELFORMAT, result);
    EXPECT_EQ(nullptr, MakeSurface(8, 8, 0, DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY, &result));
    EXPECT_EQ(DDERR_INVALIDCAPS, result);
    EXPECT_EQ(nullptr, MakeSurface(8, 8, 0, DDSCAPS_OVERLAY, &result));
    EXPECT_EQ(DDERR_NOOVERLAYHW, result);
    IDirectDrawSurface* surface = nullptr;
    EXPECT_EQ(DDERR_INVALIDPARAMS, dd->CreateSurface(nullptr, &surface, nullptr));
}

} // namespace
} // namespace ddrawtest
