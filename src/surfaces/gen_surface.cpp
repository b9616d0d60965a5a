#include "surfaces/gen_surface.h"

#include "diagnostics/dddd_log.h"

namespace dddd {

using namespace ddraw;

TDDDDGenSurface::TDDDDGenSurface(TDDDDSurfaceHost* owner, IDirectDrawSurface* surface,
                                 std::int32_t width, std::int32_t height)
    : Surface(surface), Width(width), Height(height), Desc(MakeSurfaceDesc()), Owner(owner) {
    Desc.dwFlags = DDSD_ALL;
}

TDDDDGenSurface::~TDDDDGenSurface() = default;

void TDDDDGenSurface::SetColorKey(std::uint32_t key) {
    ColorKey = key;
    if (!Surface)
        return;
    DDCOLORKEY colorKey;
    colorKey.dwColorSpaceLowValue = key;
    colorKey.dwColorSpaceHighValue = key;
    Surface->SetColorKey(DDCKEY_SRCBLT, &colorKey);
}

bool TDDDDGenSurface::IsLost() { return !Surface || Surface->IsLost() != DD_OK; }

DDSURFACEDESC TDDDDGenSurface::Lock() {
    if (!Surface)
        return Desc;
    if (CheckResult(Surface->Lock(nullptr, &Desc, DDLOCK_WAIT, nullptr),
                    "サーフェスがロックできません") == DD_OK) {
        Locked = true;
        LockedDesc = Desc;
    }
    return Desc;
}

void TDDDDGenSurface::Unlock() {
    if (Surface)
        CheckResult(Surface->Unlock(nullptr), "サーフェスのアンロックに失敗しました");
    Locked = false;
}

DDSURFACEDESC TDDDDGenSurface::GetSurfaceInfo() {
    Desc = MakeSurfaceDesc();
    if (Surface)
        CheckResult(Surface->GetSurfaceDesc(&Desc), "サーフェス情報の取得に失敗しました");
    return Desc;
}

base::Rect TDDDDGenSurface::EffectiveClipRect() const {
    return UseClipRect ? ClipRect : base::MakeRect(0, 0, Width, Height);
}

} // namespace dddd
