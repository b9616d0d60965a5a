// ColorMatch, ReadPixel and WritePixel: single pixels as raw values.
#include "diagnostics/dddd_log.h"
#include "surfaces/gen_surface.h"

#include <cstring>

namespace dddd {

using namespace ddraw;

namespace {

constexpr char kNoDeviceContext[] =
    "ColorMatchに失敗しました、サーフェスのデバイスコンテキストのハンドルが得られません";

// The address of pixel (x, y) in a locked surface, or null when the locked
// memory does not hold that pixel (a wrapper may claim more than its surface
// has) or the depth is not one of 8, 16, 24, 32 bits.
BYTE* PixelAddress(const DDSURFACEDESC& desc, std::int32_t x, std::int32_t y, int& bytes) {
    bytes = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    if (bytes < 1 || bytes > 4 || !desc.lpSurface)
        return nullptr;
    if (static_cast<DWORD>(x) >= desc.dwWidth || static_cast<DWORD>(y) >= desc.dwHeight)
        return nullptr;
    return static_cast<BYTE*>(desc.lpSurface) + static_cast<std::ptrdiff_t>(y) * desc.lPitch +
           static_cast<std::ptrdiff_t>(x) * bytes;
}

std::uint32_t LoadPixel(const BYTE* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return value;
}

void StorePixel(BYTE* at, int bytes, std::uint32_t value) {
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<BYTE>(value >> (8 * i));
}

bool Outside(const TDDDDGenSurface& s, std::int32_t x, std::int32_t y) {
    return x < 0 || x > s.Width - 1 || y < 0 || y > s.Height - 1;
}

} // namespace

std::uint32_t TDDDDGenSurface::ColorMatch(COLORREF color) {
    if (IsLost())
        return 0;
    HDC dc = nullptr;
    if (CheckResult(Surface->GetDC(&dc), kNoDeviceContext) != DD_OK || !dc)
        return 0;
    const COLORREF previous = dc->GetPixel(0, 0);
    dc->SetPixel(0, 0, color);
    Surface->ReleaseDC(dc);

    std::uint32_t value = 0;
    DDSURFACEDESC desc = MakeSurfaceDesc();
    if (CheckResult(Surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr),
                    "ColorMatchに失敗しました、サーフェスがロックできません") == DD_OK) {
        // Only the pixel's own bytes are read: masking a whole 32-bit word
        // to the depth gives the same value without reading past a narrow
        // surface's last byte.
        int bytes = 0;
        if (const BYTE* at = PixelAddress(desc, 0, 0, bytes))
            value = LoadPixel(at, bytes);
        Surface->Unlock(nullptr);
    }

    dc = nullptr;
    if (CheckResult(Surface->GetDC(&dc), kNoDeviceContext) == DD_OK && dc) {
        dc->SetPixel(0, 0, previous);
        Surface->ReleaseDC(dc);
    }
    return value;
}

bool TDDDDGenSurface::BeginPixelAccess(DDSURFACEDESC& desc, bool& lockedHere, DWORD flags) {
    lockedHere = false;
    if (Locked) {
        desc = LockedDesc;
        return true;
    }
    if (!Surface)
        return false;
    desc = MakeSurfaceDesc();
    if (Surface->Lock(nullptr, &desc, flags, nullptr) != DD_OK)
        return false;
    lockedHere = true;
    return true;
}

std::uint32_t TDDDDGenSurface::ReadPixel(std::int32_t x, std::int32_t y) {
    if (Outside(*this, x, y)) {
        ReportMessage("サーフェス外のピクセルを参照しようとしました");
        return 0;
    }
    DDSURFACEDESC desc;
    bool lockedHere = false;
    if (!BeginPixelAccess(desc, lockedHere, DDLOCK_WAIT | DDLOCK_READONLY))
        return 0;
    std::uint32_t value = 0;
    int bytes = 0;
    if (const BYTE* at = PixelAddress(desc, x, y, bytes))
        value = LoadPixel(at, bytes);
    if (lockedHere)
        Surface->Unlock(nullptr);
    return value;
}

void TDDDDGenSurface::WritePixel(std::int32_t x, std::int32_t y, std::uint32_t value) {
    if (Outside(*this, x, y)) {
        ReportMessage("サーフェス外のピクセルを変更しようとしました");
        return;
    }
    DDSURFACEDESC desc;
    bool lockedHere = false;
    if (!BeginPixelAccess(desc, lockedHere, DDLOCK_WAIT))
        return;
    int bytes = 0;
    if (BYTE* at = PixelAddress(desc, x, y, bytes))
        StorePixel(at, bytes, value);
    if (lockedHere)
        Surface->Unlock(nullptr);
}

} // namespace dddd
