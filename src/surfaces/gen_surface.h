#pragma once
// A DirectDraw surface wrapped for drawing: colour key, lock, bitmap loading,
// clipped blits and single-pixel access. This class never releases the
// surface it wraps; the display component wraps its buffers in it, and
// TDDDDSurface derives from it for surfaces that own their memory.

#include "base/rect.h"
#include "base/stream.h"
#include "platform/ddraw/ddraw.h"

#include <cstdint>
#include <string>

namespace dddd {

class TDDDDSurfaceHost;

class TDDDDGenSurface {
public:
    TDDDDGenSurface(TDDDDSurfaceHost* owner, ddraw::IDirectDrawSurface* surface,
                    std::int32_t width, std::int32_t height);
    virtual ~TDDDDGenSurface();
    TDDDDGenSurface(const TDDDDGenSurface&) = delete;
    TDDDDGenSurface& operator=(const TDDDDGenSurface&) = delete;

    ddraw::IDirectDrawSurface* Surface = nullptr;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    // The creation request, overwritten by the platform's answer on Lock and
    // GetSurfaceInfo; a restore creates the surface again from it.
    ddraw::DDSURFACEDESC Desc;
    TDDDDSurfaceHost* Owner = nullptr;
    std::uint32_t ColorKey = 0;
    base::Rect ClipRect;
    bool UseClipRect = false;
    ddraw::DDSURFACEDESC LockedDesc;
    bool Locked = false;

    void SetColorKey(std::uint32_t key);
    // True when the pixel memory is gone, or there is no surface at all.
    bool IsLost();
    ddraw::DDSURFACEDESC Lock();
    void Unlock();
    ddraw::DDSURFACEDESC GetSurfaceInfo();

    // Fills the surface with a BMP picture read from the stream.
    void LoadBMP(base::Stream& stream);
    virtual void LoadFromFile(const std::string& fileName);
    virtual void LoadFromArchive(const std::string& archiveName, const std::string& entryName);

    // Unscaled copy of srcRect of source with its top-left at (x, y), clipped
    // to this surface; 0 when nothing is left to copy.
    std::int32_t Draw(TDDDDGenSurface* source, std::int32_t x, std::int32_t y,
                      base::Rect srcRect, std::uint32_t flags);
    // Scaled copy, fill or mirrored copy onto dstRect, clipped to this
    // surface; source may be null for a fill.
    std::int32_t DrawFx(TDDDDGenSurface* source, base::Rect dstRect, base::Rect srcRect,
                        std::uint32_t flags, const ddraw::DDBLTFX& bltFx);

    // The raw pixel value this surface stores for a colour (0x00BBGGRR).
    std::uint32_t ColorMatch(ddraw::COLORREF color);
    std::uint32_t ReadPixel(std::int32_t x, std::int32_t y);
    void WritePixel(std::int32_t x, std::int32_t y, std::uint32_t value);

    // The rectangle blits onto this surface are clipped against.
    base::Rect EffectiveClipRect() const;

private:
    void LoadBitmapDirect(base::Stream& stream, std::int32_t width, std::int32_t height,
                          std::uint32_t pixelOffset);
    void LoadBitmapDecoded(base::Stream& stream);
    // Locks the surface for one pixel access unless Lock already holds it;
    // false when that lock fails.
    bool BeginPixelAccess(ddraw::DDSURFACEDESC& desc, bool& lockedHere, ddraw::DWORD flags);
};

} // namespace dddd
