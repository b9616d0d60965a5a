#include "surfaces/surface.h"

#include "diagnostics/dddd_log.h"
#include "surfaces/surface_host.h"

#include <stdexcept>

namespace dddd {

using namespace ddraw;

namespace {

// The capabilities asked for at a placement.
DWORD PlacementCaps(TDDDDSurfaceHost& owner, TDDDDSurfaceMemoryType location) {
    constexpr DWORD kSystem = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    constexpr DWORD kVideo = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
    switch (location) {
    case smtDefault: {
        DDSCAPS caps;
        TDDDDGenSurface* back = owner.BackBuffer();
        if (back && back->Surface)
            back->Surface->GetCaps(&caps);
        return (caps.dwCaps & DDSCAPS_VIDEOMEMORY) ? kVideo : kSystem;
    }
    case smtCompatible:
        return owner.FullScreen() ? DDSCAPS_OFFSCREENPLAIN : kSystem;
    case smtSystemMemory:
        return kSystem;
    case smtVideoMemory:
        return kVideo;
    case smtNonLocalVideoMemory:
        return kVideo | DDSCAPS_NONLOCALVIDMEM;
    }
    return kSystem;
}

} // namespace

TDDDDSurface::TDDDDSurface(TDDDDSurfaceHost* owner, std::int32_t width, std::int32_t height,
                           std::uint32_t colorKey)
    : TDDDDGenSurface(owner, nullptr, 0, 0) {
    AllocateSurface(owner, width, height, owner->SurfaceLocation(), colorKey);
}

TDDDDSurface::~TDDDDSurface() {
    UseClipRect = false;
    if (Owner)
        Owner->UnregisterSurface(this);
    if (Surface) {
        // A release that leaves references behind is reported with the count.
        CheckResult(static_cast<std::int32_t>(Surface->Release()), "サーフェスの解放に失敗しました");
        Surface = nullptr;
    }
}

void TDDDDSurface::AllocateSurface(TDDDDSurfaceHost* owner, std::int32_t width,
                                   std::int32_t height, TDDDDSurfaceMemoryType location,
                                   std::uint32_t colorKey) {
    Surface = nullptr;
    FileName.clear();
    Desc = MakeSurfaceDesc();
    Desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    if (width < 0 || height < 0)
        throw std::out_of_range("Range check error");
    Desc.dwWidth = static_cast<DWORD>(width);
    Desc.dwHeight = static_cast<DWORD>(height);
    Desc.ddsCaps.dwCaps = PlacementCaps(*owner, location);
    ColorKey = colorKey;
    CreatePlatformSurface();
    Width = width;
    Height = height;
    UseClipRect = false;
    ClipRect = base::MakeRect(0, 0, Width, Height);
    owner->RegisterSurface(this);
}

void TDDDDSurface::CreatePlatformSurface() {
    Desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    IDirectDraw2* directDraw = Owner ? Owner->DirectDraw2() : nullptr;
    IDirectDrawSurface* created = nullptr;
    HRESULT result = DDERR_NOTINITIALIZED;
    if (directDraw && directDraw->CreateSurface(&Desc, &created, nullptr) != DD_OK) {
        created = nullptr;
        Desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        result = directDraw->CreateSurface(&Desc, &created, nullptr);
    } else if (directDraw) {
        result = DD_OK;
    }
    if (result != DD_OK)
        created = nullptr;
    Surface = created;
    CheckResult(result, "サーフェスを作れませんでした");
    if (Surface)
        SetColorKey(ColorKey);
}

void TDDDDSurface::LoadFromFile(const std::string& fileName) {
    FileName = fileName;
    FromArchive = false;
    TDDDDGenSurface::LoadFromFile(fileName);
}

void TDDDDSurface::LoadFromArchive(const std::string& archiveName, const std::string& entryName) {
    ArchiveName = archiveName;
    ArchiveEntry = entryName;
    FromArchive = true;
    TDDDDGenSurface::LoadFromArchive(archiveName, entryName);
}

} // namespace dddd
