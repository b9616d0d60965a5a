#include "platform/ddraw/ddraw_fixture.h"

#include "platform/ddraw/software_device_context.h"

namespace ddrawtest {

void RecordingPresenter::PresentWindow(HWND window, const PixelView& desktop, const RECT& client,
                                       const RECT& changed) {
    DWORD first = 0;
    if (client.Left >= 0 && client.Top >= 0 && client.Left < desktop.Width &&
        client.Top < desktop.Height) {
        first = ReadPixelValue(desktop, client.Left, client.Top);
    }
    windowFrames.push_back(WindowFrame{window, client, changed, first});
}

void RecordingPresenter::PresentFullScreen(HWND, const PixelView& frame) {
    fullScreenFrames.push_back(ReadPixelValue(frame, 0, 0));
}

void DirectDrawTest::SetUp() {
    SetWindowSystem(&windows);
    SetPresenter(&presenter);
    SetSoftwareSettings(SoftwareSettings{});
    ResetFailureInjection();
}

void DirectDrawTest::TearDown() {
    if (dd) {
        dd->Release();
        dd = nullptr;
    }
    SetWindowSystem(nullptr);
    SetPresenter(nullptr);
    SetSoftwareSettings(SoftwareSettings{});
    ResetFailureInjection();
}

IDirectDraw* DirectDrawTest::Open() {
    EXPECT_EQ(DD_OK, DirectDrawCreate(nullptr, &dd, nullptr));
    EXPECT_EQ(DD_OK, dd->SetCooperativeLevel(windows.window, DDSCL_NORMAL));
    return dd;
}

IDirectDrawSurface* DirectDrawTest::MakeSurface(LONG width, LONG height, DWORD pixelBits,
                                                DWORD caps, HRESULT* result) {
    DDSURFACEDESC desc = MakeSurfaceDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = caps;
    if (pixelBits != 0) {
        desc.dwFlags |= DDSD_PIXELFORMAT;
        desc.ddpfPixelFormat.dwSize = DDPIXELFORMAT::kSize;
        desc.ddpfPixelFormat.dwFlags = DDPF_RGB | (pixelBits == 8 ? DDPF_PALETTEINDEXED8 : 0);
        desc.ddpfPixelFormat.dwRGBBitCount = pixelBits;
        if (pixelBits == 16) {
            desc.ddpfPixelFormat.dwRBitMask = 0xF800;
            desc.ddpfPixelFormat.dwGBitMask = 0x07E0;
            desc.ddpfPixelFormat.dwBBitMask = 0x001F;
        } else if (pixelBits > 16) {
            desc.ddpfPixelFormat.dwRBitMask = 0xFF0000;
            desc.ddpfPixelFormat.dwGBitMask = 0x00FF00;
            desc.ddpfPixelFormat.dwBBitMask = 0x0000FF;
        }
    }
    IDirectDrawSurface* surface = nullptr;
    const HRESULT hr = dd->CreateSurface(&desc, &surface, nullptr);
    if (result) {
        *result = hr;
    } else {
        EXPECT_EQ(DD_OK, hr);
    }
    return surface;
}

namespace {

template <typename F> void WithLock(IDirectDrawSurface* surface, DWORD flags, F f) {
    DDSURFACEDESC desc = MakeSurfaceDesc();
    ASSERT_EQ(DD_OK, surface->Lock(nullptr, &desc, flags, nullptr));
    PixelView view;
    view.Pixels = static_cast<BYTE*>(desc.lpSurface);
    view.Width = static_cast<LONG>(desc.dwWidth);
    view.Height = static_cast<LONG>(desc.dwHeight);
    view.Pitch = desc.lPitch;
    view.BitsPerPixel = desc.ddpfPixelFormat.dwRGBBitCount;
    f(view);
    ASSERT_EQ(DD_OK, surface->Unlock(nullptr));
}

} // namespace

DWORD ReadPixel(IDirectDrawSurface* surface, LONG x, LONG y) {
    DWORD value = 0xDEADBEEF;
    WithLock(surface, DDLOCK_WAIT | DDLOCK_READONLY,
             [&](const PixelView& view) { value = ReadPixelValue(view, x, y); });
    return value;
}

void WritePixel(IDirectDrawSurface* surface, LONG x, LONG y, DWORD value) {
    WithLock(surface, DDLOCK_WAIT,
             [&](const PixelView& view) { WritePixelValue(view, x, y, value); });
}

DWORD PatternValue(LONG x, LONG y, DWORD seed, DWORD bits) {
    const DWORD value =
        (static_cast<DWORD>(x) * 7919u + static_cast<DWORD>(y) * 104729u + seed) * 2654435761u;
    const DWORD mixed = value ^ (value >> 13);
    return bits >= 32 ? mixed : mixed & ((1u << bits) - 1u);
}

void FillPattern(IDirectDrawSurface* surface, DWORD seed) {
    WithLock(surface, DDLOCK_WAIT, [&](const PixelView& view) {
        for (LONG y = 0; y < view.Height; ++y) {
            for (LONG x = 0; x < view.Width; ++x) {
                WritePixelValue(view, x, y, PatternValue(x, y, seed, view.BitsPerPixel));
            }
        }
    });
}

void FillAll(IDirectDrawSurface* surface, DWORD value) {
    WithLock(surface, DDLOCK_WAIT, [&](const PixelView& view) {
        for (LONG y = 0; y < view.Height; ++y) {
            for (LONG x = 0; x < view.Width; ++x) {
                WritePixelValue(view, x, y, value);
            }
        }
    });
}

DWORD BitsOf(IDirectDrawSurface* surface) {
    DDPIXELFORMAT format;
    surface->GetPixelFormat(&format);
    return format.dwRGBBitCount;
}

} // namespace ddrawtest
