// Draw and DrawFx: software clipping, then the platform's blitter.
#include "surfaces/clipping.h"
#include "surfaces/gen_surface.h"

namespace dddd {

using namespace ddraw;

std::int32_t TDDDDGenSurface::Draw(TDDDDGenSurface* source, std::int32_t x, std::int32_t y,
                                   base::Rect srcRect, std::uint32_t flags) {
    if (!ClipSourceAt(x, y, srcRect, EffectiveClipRect()))
        return DD_OK;
    if (!Surface)
        return DDERR_SURFACELOST;
    return Surface->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y),
                            source ? source->Surface : nullptr, &srcRect, flags);
}

std::int32_t TDDDDGenSurface::DrawFx(TDDDDGenSurface* source, base::Rect dstRect,
                                     base::Rect srcRect, std::uint32_t flags,
                                     const DDBLTFX& bltFx) {
    IDirectDrawSurface* sourceSurface = source ? source->Surface : nullptr;
    if (!ClipStretched(dstRect, srcRect, EffectiveClipRect()))
        return DD_OK;
    // The clipping treats the copy as unmirrored; the platform then gets the
    // clipped rectangle reflected within the source surface. Without a source
    // there is nothing to reflect within.
    base::Rect handed = srcRect;
    if (source && bltFx.dwDDFX == DDBLTFX_MIRRORLEFTRIGHT)
        handed = base::MakeRect(source->Width - srcRect.Right, srcRect.Top,
                                source->Width - srcRect.Left, srcRect.Bottom);
    else if (source && bltFx.dwDDFX == DDBLTFX_MIRRORUPDOWN)
        handed = base::MakeRect(srcRect.Left, source->Height - srcRect.Bottom, srcRect.Right,
                                source->Height - srcRect.Top);
    if (!Surface)
        return DDERR_SURFACELOST;
    return Surface->Blt(&dstRect, sourceSurface, &handed, flags, &bltFx);
}

} // namespace dddd
