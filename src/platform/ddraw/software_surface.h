#pragma once
// A surface of the software DirectDraw: pixel memory with its format,
// capabilities, placement, colour keys, lock and device-context state,
// palette, clipper and attachments, and the blits onto it. Surfaces belong
// to the DirectDraw object that made them; when that object goes, they lose
// their memory but stay valid objects until their last Release.

#include "platform/ddraw/blitter.h"
#include "platform/ddraw/ddraw_constants.h"
#include "platform/ddraw/ddraw_interfaces.h"
#include "platform/ddraw/device_context.h"
#include "platform/ddraw/pixel_memory.h"
#include "platform/ddraw/pixel_view.h"
#include "platform/ddraw/written_rows.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace ddraw {

class SoftwareDirectDraw;
class SoftwarePalette;
class SoftwareClipper;
class Presenter;

enum class Placement { System, LocalVideo, NonLocalVideo, Desktop };

struct SurfaceShape {
    LONG Width = 0;
    LONG Height = 0;
    DDPIXELFORMAT Format;
    DWORD Caps = 0; // as reported by GetCaps
    Placement Where = Placement::System;
};

class SoftwareSurface final : public IDirectDrawSurface {
public:
    SoftwareSurface(SoftwareDirectDraw* owner, const SurfaceShape& shape);

    HRESULT QueryInterface(const GUID& iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT AddAttachedSurface(IDirectDrawSurface* attached) override;
    HRESULT DeleteAttachedSurface(DWORD flags, IDirectDrawSurface* attached) override;
    HRESULT Blt(const RECT* dstRect, IDirectDrawSurface* source, const RECT* srcRect, DWORD flags,
                const DDBLTFX* fx) override;
    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, const RECT* srcRect,
                    DWORD flags) override;
    HRESULT Flip(IDirectDrawSurface* target, DWORD flags) override;
    HRESULT GetAttachedSurface(const DDSCAPS* caps, IDirectDrawSurface** attached) override;
    HRESULT GetCaps(DDSCAPS* caps) override;
    HRESULT GetClipper(IDirectDrawClipper** clipper) override;
    HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) override;
    HRESULT GetDC(HDC* dc) override;
    HRESULT GetPalette(IDirectDrawPalette** palette) override;
    HRESULT GetPixelFormat(DDPIXELFORMAT* format) override;
    HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) override;
    HRESULT IsLost() override;
    HRESULT Lock(const RECT* rect, DDSURFACEDESC* desc, DWORD flags, void* event) override;
    HRESULT ReleaseDC(HDC dc) override;
    HRESULT Restore() override;
    HRESULT SetClipper(IDirectDrawClipper* clipper) override;
    HRESULT SetColorKey(DWORD flags, const DDCOLORKEY* key) override;
    HRESULT SetPalette(IDirectDrawPalette* palette) override;
    HRESULT Unlock(void* pixels) override;

    // Used by the DirectDraw object.
    HRESULT Allocate();
    void Lose();
    void Orphan();
    void DropLinks(std::vector<SoftwareSurface*>& attachmentsToRelease);
    void MakeFlipChain(const std::vector<SoftwareSurface*>& backBuffers);
    Placement Where() const { return shape_.Where; }
    bool IsLostNow() const { return pixels_ == nullptr; }
    bool Busy() const { return locked_ || dc_ != nullptr; }
    PixelView View() const;
    HWND ClipperWindow() const;
    void SetSourceKey(DWORD key);

    static SoftwareSurface* From(IDirectDrawSurface* surface);

private:
    struct Attachment {
        SoftwareSurface* surface;
        bool implicit; // part of a flip chain, made with it
    };

    class OrphanList;
    static OrphanList& Orphans();

    ~SoftwareSurface() override = default;
    void Destroy();
    void FreePixels();
    RECT Bounds() const { return RECT{0, 0, shape_.Width, shape_.Height}; }
    DWORD Bytes() const { return shape_.Format.dwRGBBitCount / 8; }
    BYTE* PixelAt(LONG x, LONG y) const;
    void FillDesc(DDSURFACEDESC& desc) const;
    // The rectangles of this surface a blit may write, into clipRects_.
    void ComputeClip();
    // Pixels of an area were written: marks them, and shows them on the primary.
    bool Changed(const RECT& area) {
        Wrote(area);
        return Show(area);
    }
    // Marks an area's pixels as written; on the primary, forgets which copy
    // its client area holds.
    void Wrote(const RECT& area);
    // Shows parts of the primary changed by one drawing; false when one
    // could not be shown.
    bool Show(const RECT& area) { return Show(std::span<const RECT>(&area, 1)); }
    bool Show(std::span<const RECT> areas);
    // Copies a source's rows onto the primary's client area, writing and
    // showing only what differs.
    void CopyOntoWindow(const blit::CopyArgs& args, SoftwareSurface& src, const RECT& from,
                        const RECT& part);
    bool IsPrimary() const { return (shape_.Caps & DDSCAPS_PRIMARYSURFACE) != 0; }

    ULONG refs_ = 1;
    SoftwareDirectDraw* owner_;
    SurfaceShape shape_;
    LONG pitch_ = 0;
    PixelMemory pixels_;
    // The presenter that gave the pixels (a windowed primary's), or null.
    Presenter* pixelsFrom_ = nullptr;
    bool hasSourceKey_ = false;
    DDCOLORKEY sourceKey_;
    bool hasDestKey_ = false;
    DDCOLORKEY destKey_;
    bool locked_ = false;
    bool lockReadOnly_ = false;
    RECT lockedRect_;
    std::unique_ptr<DeviceContext> dc_;
    SoftwarePalette* palette_ = nullptr;
    SoftwareClipper* clipper_ = nullptr;
    std::vector<Attachment> attached_;
    // On the front buffer: the flip chain, front first. On a back buffer: its front.
    std::vector<SoftwareSurface*> chain_;
    SoftwareSurface* chainFront_ = nullptr;
    std::vector<RECT> clipRects_;
    std::vector<RECT> clipperRects_; // the clipper's, kept: a blit asks the heap for nothing
    // The primary in a window: the client rectangle whose every pixel was
    // last shown as the pixels hold it (empty when not known), and the row
    // bands a blit changed there, shown together as parts of the window.
    RECT shownWhole_{};
    static constexpr LONG kShownRowsMergeGap = 4;
    std::vector<blit::RowBand> shownBands_;
    std::vector<RECT> shownParts_;
    // Told apart from every other surface, even one made later at the same address.
    std::uint64_t id_;
    WrittenRows written_;
    // On the primary: its client area (`to`) holds the copy of `from` on the
    // source made when the source's marks were last cleared, so only the
    // pixels marked there since can differ. Forgotten on any other write.
    struct ShownCopy {
        std::uint64_t source = 0;
        std::uint64_t sourceClears = 0;
        RECT from{};
        RECT to{};
        friend bool operator==(const ShownCopy&, const ShownCopy&) = default;
    };
    std::optional<ShownCopy> shownCopy_;
    std::vector<blit::ColumnSpan> shownLookAt_;
    std::vector<RECT> drawnAreas_;
};

} // namespace ddraw
