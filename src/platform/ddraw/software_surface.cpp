#include "platform/ddraw/software_surface.h"

#include "platform/ddraw/presenter.h"

#include "platform/ddraw/blitter.h"
#include "platform/ddraw/ddraw_errors.h"
#include "platform/ddraw/failure_injection.h"
#include "platform/ddraw/pixel_format.h"
#include "platform/ddraw/pixel_memory.h"
#include "platform/ddraw/software_clipper.h"
#include "platform/ddraw/software_direct_draw.h"
#include "platform/ddraw/software_object.h"
#include "platform/ddraw/software_palette.h"

#include <algorithm>
#include <atomic>

namespace ddraw {

namespace {

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

bool IsOrdered(const RECT& r) {
    return r.Left <= r.Right && r.Top <= r.Bottom;
}

RECT Union(const RECT& a, const RECT& b) {
    if (IsEmpty(a)) {
        return b;
    }
    if (IsEmpty(b)) {
        return a;
    }
    return RECT{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                std::max(a.Bottom, b.Bottom)};
}

constexpr LONG kMaxDimension = 16384;

std::uint64_t NextSurfaceId() {
    static std::atomic<std::uint64_t> next{1};
    return next++;
}
// No single surface may take more than this, whatever memory is free.
constexpr std::size_t kMaxSurfaceBytes = std::size_t{256} * 1024 * 1024;

// Copies a rectangle out of a surface, for blits whose source and
// destination overlap on one surface.
struct SourceCopy {
    std::vector<BYTE> bytes;
    LONG pitch = 0;

    // Takes the rectangle `from` whose first pixel is at `first`.
    void Take(const BYTE* first, LONG firstPitch, const RECT& from, DWORD bytesPerPixel) {
        pitch = from.Width() * static_cast<LONG>(bytesPerPixel);
        bytes.resize(static_cast<std::size_t>(pitch) * static_cast<std::size_t>(from.Height()));
        blit::CopyArgs args;
        args.src = first;
        args.srcPitch = firstPitch;
        args.dst = bytes.data();
        args.dstPitch = pitch;
        args.width = from.Width();
        args.height = from.Height();
        blit::ChooseCopy(bytesPerPixel, false)(args);
    }
};

} // namespace

// Surfaces whose DirectDraw object is gone but which still have references.
// They hold no memory; whatever nobody releases is freed when the program
// ends.
class SoftwareSurface::OrphanList {
public:
    ~OrphanList() {
        for (SoftwareSurface* surface : surfaces_) {
            delete surface;
        }
    }
    void Add(SoftwareSurface* surface) { surfaces_.push_back(surface); }
    void Remove(SoftwareSurface* surface) { std::erase(surfaces_, surface); }

private:
    std::vector<SoftwareSurface*> surfaces_;
};

SoftwareSurface::OrphanList& SoftwareSurface::Orphans() {
    static OrphanList list;
    return list;
}

SoftwareSurface::SoftwareSurface(SoftwareDirectDraw* owner, const SurfaceShape& shape)
    : owner_(owner), shape_(shape), id_(NextSurfaceId()), written_(shape.Width, shape.Height) {
    const auto rowBytes = static_cast<LONG>(shape.Width * static_cast<LONG>(Bytes()));
    pitch_ = (rowBytes + 3) & ~3;
}

SoftwareSurface* SoftwareSurface::From(IDirectDrawSurface* surface) {
    return SoftwareObjectOf<SoftwareSurface>(surface, IID_SoftwareSurface);
}

HRESULT SoftwareSurface::Allocate() {
    if (pixels_) {
        return DD_OK;
    }
    if (shape_.Width <= 0 || shape_.Height <= 0 || shape_.Width > kMaxDimension ||
        shape_.Height > kMaxDimension) {
        return DDERR_INVALIDPARAMS;
    }
    const std::size_t bytes =
        static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(shape_.Height);
    if (bytes > kMaxSurfaceBytes) {
        return DDERR_OUTOFMEMORY;
    }
    const bool video =
        shape_.Where == Placement::LocalVideo || shape_.Where == Placement::NonLocalVideo;
    if (video && (!owner_ || !owner_->ChargeVideoMemory(bytes))) {
        return DDERR_OUTOFVIDEOMEMORY;
    }
    // The desktop's pixels may live where the presenter shows them from.
    BYTE* memory = nullptr;
    if (shape_.Where == Placement::Desktop && IsPrimary()) {
        memory = CurrentPresenter().AllocatePrimaryPixels(bytes);
        pixelsFrom_ = memory ? &CurrentPresenter() : nullptr;
    }
    if (!memory) {
        memory = AllocatePixelMemory(bytes);
    }
    if (!memory) {
        if (video) {
            owner_->UnchargeVideoMemory(bytes);
        }
        return DDERR_OUTOFMEMORY;
    }
    pixels_.reset(memory);
    Wrote(Bounds());
    return DD_OK;
}

void SoftwareSurface::FreePixels() {
    if (!pixels_) {
        return;
    }
    if (shape_.Caps & DDSCAPS_PRIMARYSURFACE) {
        CurrentPresenter().PrimaryPixelsGoing(pixels_.get());
    }
    if (pixelsFrom_) {
        pixelsFrom_->FreePrimaryPixels(pixels_.release());
        pixelsFrom_ = nullptr;
    }
    pixels_.reset();
    shownWhole_ = RECT{};
    shownCopy_.reset();
    const bool video =
        shape_.Where == Placement::LocalVideo || shape_.Where == Placement::NonLocalVideo;
    if (video && owner_) {
        owner_->UnchargeVideoMemory(static_cast<std::size_t>(pitch_) *
                                    static_cast<std::size_t>(shape_.Height));
    }
}

void SoftwareSurface::Lose() {
    // A context paints into the pixels until it is destroyed.
    dc_.reset();
    locked_ = false;
    FreePixels();
}

void SoftwareSurface::Orphan() {
    Lose();
    owner_ = nullptr;
    Orphans().Add(this);
}

void SoftwareSurface::DropLinks(std::vector<SoftwareSurface*>& attachmentsToRelease) {
    if (palette_) {
        palette_->Release();
        palette_ = nullptr;
    }
    if (clipper_) {
        clipper_->Release();
        clipper_ = nullptr;
    }
    for (SoftwareSurface* member : chain_) {
        member->chainFront_ = nullptr;
    }
    chain_.clear();
    for (const Attachment& a : attached_) {
        attachmentsToRelease.push_back(a.surface);
    }
    attached_.clear();
}

void SoftwareSurface::MakeFlipChain(const std::vector<SoftwareSurface*>& backBuffers) {
    chain_.clear();
    chain_.push_back(this);
    SoftwareSurface* previous = this;
    for (SoftwareSurface* back : backBuffers) {
        chain_.push_back(back);
        back->chainFront_ = this;
        // The reference the back buffer was made with belongs to the chain.
        previous->attached_.push_back(Attachment{back, true});
        previous = back;
    }
}

void SoftwareSurface::Destroy() {
    dc_.reset();
    FreePixels();
    if (owner_) {
        owner_->Forget(this);
    } else {
        Orphans().Remove(this);
    }
    std::vector<SoftwareSurface*> toRelease;
    DropLinks(toRelease);
    delete this;
    for (SoftwareSurface* surface : toRelease) {
        surface->Release();
    }
}

HRESULT SoftwareSurface::QueryInterface(const GUID& iid, void** object) {
    if (!object) {
        return DDERR_INVALIDPARAMS;
    }
    if (iid == IID_IDirectDrawSurface || iid == IID_SoftwareSurface) {
        AddRef();
        *object = static_cast<IDirectDrawSurface*>(this);
        return DD_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG SoftwareSurface::AddRef() {
    return ++refs_;
}

ULONG SoftwareSurface::Release() {
    const ULONG left = --refs_;
    if (left == 0) {
        Destroy();
    }
    return left;
}

PixelView SoftwareSurface::View() const {
    PixelView view;
    view.Pixels = pixels_.get();
    view.Width = shape_.Width;
    view.Height = shape_.Height;
    view.Pitch = pitch_;
    view.BitsPerPixel = shape_.Format.dwRGBBitCount;
    view.Format = shape_.Format;
    view.Palette = palette_ ? palette_->Entries() : nullptr;
    return view;
}

HWND SoftwareSurface::ClipperWindow() const {
    return clipper_ ? clipper_->Window() : nullptr;
}

void SoftwareSurface::SetSourceKey(DWORD key) {
    hasSourceKey_ = true;
    const DWORD value = MaskToDepth(key, shape_.Format.dwRGBBitCount);
    sourceKey_ = DDCOLORKEY{value, value};
}

BYTE* SoftwareSurface::PixelAt(LONG x, LONG y) const {
    return pixels_.get() + static_cast<std::ptrdiff_t>(y) * pitch_ +
           static_cast<std::ptrdiff_t>(x) * static_cast<std::ptrdiff_t>(Bytes());
}

void SoftwareSurface::FillDesc(DDSURFACEDESC& desc) const {
    const DWORD size = desc.dwSize;
    desc = DDSURFACEDESC{};
    desc.dwSize = size;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc.dwWidth = static_cast<DWORD>(shape_.Width);
    desc.dwHeight = static_cast<DWORD>(shape_.Height);
    desc.lPitch = pitch_;
    desc.ddpfPixelFormat = shape_.Format;
    desc.ddsCaps.dwCaps = shape_.Caps;
    if (hasSourceKey_) {
        desc.dwFlags |= DDSD_CKSRCBLT;
        desc.ddckCKSrcBlt = sourceKey_;
    }
    if (hasDestKey_) {
        desc.dwFlags |= DDSD_CKDESTBLT;
        desc.ddckCKDestBlt = destKey_;
    }
    if (chain_.size() > 1) {
        desc.dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = static_cast<DWORD>(chain_.size() - 1);
    }
    if (shape_.Format.dwFlags & DDPF_ZBUFFER) {
        desc.dwFlags |= DDSD_ZBUFFERBITDEPTH;
        desc.dwZBufferBitDepth = shape_.Format.dwZBufferBitDepth;
    }
}

void SoftwareSurface::ComputeClip() {
    clipRects_.clear();
    const RECT bounds = Bounds();
    if (!clipper_ || !clipper_->CurrentRects(clipperRects_)) {
        clipRects_.push_back(bounds);
        return;
    }
    const bool windowed = clipper_->Window() != nullptr;
    for (RECT r : clipperRects_) {
        // Window rectangles are on the desktop, which only the primary is;
        // elsewhere the client area counts from the surface's corner.
        if (windowed && !IsPrimary()) {
            r = RECT{0, 0, r.Width(), r.Height()};
        }
        const RECT part = Intersect(r, bounds);
        if (!IsEmpty(part)) {
            clipRects_.push_back(part);
        }
    }
}

void SoftwareSurface::Wrote(const RECT& area) {
    if (IsEmpty(area)) {
        return;
    }
    written_.Mark(area);
    shownCopy_.reset();
}

bool SoftwareSurface::Show(std::span<const RECT> areas) {
    if (std::all_of(areas.begin(), areas.end(), [](const RECT& area) { return IsEmpty(area); }) || !owner_ ||
        !IsPrimary()) {
        return false;
    }
    if (!owner_->PresentPrimary(*this, areas)) {
        shownWhole_ = RECT{}; // the screen may now differ from the pixels
        return false;
    }
    return true;
}

HRESULT SoftwareSurface::Blt(const RECT* dstRect, IDirectDrawSurface* source, const RECT* srcRect,
                             DWORD flags, const DDBLTFX* fx) {
    if (const HRESULT injected = EnterOperation(Operation::Blt); injected != DD_OK) {
        return injected;
    }
    constexpr DWORD kSupported = DDBLT_COLORFILL | DDBLT_DEPTHFILL | DDBLT_DDFX | DDBLT_KEYSRC |
                                 DDBLT_KEYSRCOVERRIDE | DDBLT_ROP | DDBLT_WAIT | DDBLT_ASYNC;
    if (flags & (DDBLT_KEYDEST | DDBLT_KEYDESTOVERRIDE)) {
        return DDERR_NOCOLORKEYHW;
    }
    if (flags & ~kSupported) {
        return DDERR_UNSUPPORTED;
    }
    const bool needsFx = (flags & (DDBLT_COLORFILL | DDBLT_DEPTHFILL | DDBLT_DDFX |
                                   DDBLT_KEYSRCOVERRIDE | DDBLT_ROP)) != 0;
    if (needsFx && (!fx || fx->dwSize != DDBLTFX::kSize)) {
        return DDERR_INVALIDPARAMS;
    }
    if (IsLostNow()) {
        return DDERR_SURFACELOST;
    }
    if (Busy()) {
        return DDERR_SURFACEBUSY;
    }
    const RECT dst = dstRect ? *dstRect : Bounds();
    if (!IsOrdered(dst) || (!clipper_ && !Contains(Bounds(), dst))) {
        return DDERR_INVALIDRECT;
    }
    const DWORD bytes = Bytes();

    if (flags & (DDBLT_COLORFILL | DDBLT_DEPTHFILL)) {
        if ((flags & DDBLT_COLORFILL) && (flags & DDBLT_DEPTHFILL)) {
            return DDERR_INVALIDPARAMS;
        }
        if ((flags & DDBLT_DEPTHFILL) && !(shape_.Caps & DDSCAPS_ZBUFFER)) {
            return DDERR_INVALIDPARAMS;
        }
        const DWORD value = (flags & DDBLT_COLORFILL) ? fx->dwFillColor : fx->dwFillDepth;
        const blit::FillRoutine fill = blit::ChooseFill(bytes);
        ComputeClip();
        RECT changed{};
        for (const RECT& region : clipRects_) {
            const RECT part = Intersect(dst, region);
            if (IsEmpty(part)) {
                continue;
            }
            fill(blit::FillArgs{PixelAt(part.Left, part.Top), pitch_, part.Width(), part.Height(),
                                MaskToDepth(value, shape_.Format.dwRGBBitCount)});
            changed = Union(changed, part);
        }
        Changed(changed);
        return DD_OK;
    }

    SoftwareSurface* src = From(source);
    if (!src) {
        return DDERR_INVALIDPARAMS;
    }
    if (src->IsLostNow()) {
        return DDERR_SURFACELOST;
    }
    if (src->Busy()) {
        return DDERR_SURFACEBUSY;
    }
    if (src->Bytes() != bytes) {
        return DDERR_INVALIDPIXELFORMAT;
    }
    const RECT from = srcRect ? *srcRect : src->Bounds();
    if (!IsOrdered(from) || !Contains(src->Bounds(), from)) {
        return DDERR_INVALIDRECT;
    }
    const DWORD effects = (flags & DDBLT_DDFX) ? fx->dwDDFX : 0;
    if (effects & (DDBLTFX_ROTATE90 | DDBLTFX_ROTATE180 | DDBLTFX_ROTATE270)) {
        return DDERR_NOROTATIONHW;
    }
    if (effects & ~(DDBLTFX_MIRRORLEFTRIGHT | DDBLTFX_MIRRORUPDOWN | DDBLTFX_ARITHSTRETCHY |
                    DDBLTFX_NOTEARING)) {
        return DDERR_UNSUPPORTED;
    }
    if ((flags & DDBLT_ROP) && fx->dwROP != SRCCOPY) {
        return DDERR_NORASTEROPHW;
    }
    const bool keyed = (flags & (DDBLT_KEYSRC | DDBLT_KEYSRCOVERRIDE)) != 0;
    DWORD key = 0;
    if (flags & DDBLT_KEYSRCOVERRIDE) {
        key = fx->ddckSrcColorkey.dwColorSpaceLowValue;
    } else if (flags & DDBLT_KEYSRC) {
        if (!src->hasSourceKey_) {
            return DDERR_NOCOLORKEY;
        }
        key = src->sourceKey_.dwColorSpaceLowValue;
    }
    key = MaskToDepth(key, shape_.Format.dwRGBBitCount);
    if (IsEmpty(from) || IsEmpty(dst)) {
        return DD_OK;
    }

    // Reading and writing the same pixels: read from a copy.
    const BYTE* srcBase = src->PixelAt(from.Left, from.Top);
    LONG srcPitch = src->pitch_;
    SourceCopy copy;
    if (src == this && !IsEmpty(Intersect(from, dst))) {
        copy.Take(srcBase, srcPitch, from, bytes);
        srcBase = copy.bytes.data();
        srcPitch = copy.pitch;
    }

    const bool mirrorX = (effects & DDBLTFX_MIRRORLEFTRIGHT) != 0;
    const bool mirrorY = (effects & DDBLTFX_MIRRORUPDOWN) != 0;
    const bool direct =
        !mirrorX && !mirrorY && from.Width() == dst.Width() && from.Height() == dst.Height();
    const blit::CopyRoutine copyRoutine = direct ? blit::ChooseCopy(bytes, keyed) : nullptr;
    const blit::StretchRoutine stretch = direct ? nullptr : blit::ChooseStretch(bytes, keyed);
    ComputeClip();
    RECT changed{};
    for (const RECT& region : clipRects_) {
        const RECT part = Intersect(dst, region);
        if (IsEmpty(part)) {
            continue;
        }
        if (direct) {
            blit::CopyArgs args;
            args.src = srcBase + static_cast<std::ptrdiff_t>(part.Top - dst.Top) * srcPitch +
                       static_cast<std::ptrdiff_t>(part.Left - dst.Left) *
                           static_cast<std::ptrdiff_t>(bytes);
            args.srcPitch = srcPitch;
            args.dst = PixelAt(part.Left, part.Top);
            args.dstPitch = pitch_;
            args.width = part.Width();
            args.height = part.Height();
            args.key = key;
            if (!keyed && IsPrimary() && owner_ && !owner_->ShowsWholeFrames() &&
                clipRects_.size() == 1 && clipRects_[0] == shownWhole_ && src != this) {
                const RECT partFrom{
                    from.Left + (part.Left - dst.Left), from.Top + (part.Top - dst.Top),
                    from.Left + (part.Right - dst.Left), from.Top + (part.Bottom - dst.Top)};
                CopyOntoWindow(args, *src, partFrom, part);
                continue;
            }
            copyRoutine(args);
        } else {
            blit::StretchArgs args;
            args.src = srcBase;
            args.srcPitch = srcPitch;
            args.srcWidth = from.Width();
            args.srcHeight = from.Height();
            args.dst = PixelAt(dst.Left, dst.Top);
            args.dstPitch = pitch_;
            args.dstWidth = dst.Width();
            args.dstHeight = dst.Height();
            args.partLeft = part.Left - dst.Left;
            args.partTop = part.Top - dst.Top;
            args.partRight = part.Right - dst.Left;
            args.partBottom = part.Bottom - dst.Top;
            args.mirrorLeftRight = mirrorX;
            args.mirrorUpDown = mirrorY;
            args.key = key;
            stretch(args);
        }
        changed = Union(changed, part);
    }
    if (Changed(changed) && clipRects_.size() == 1 && changed == clipRects_[0]) {
        shownWhole_ = changed; // the window shows all the pixels it covers
    }
    return DD_OK;
}

void SoftwareSurface::CopyOntoWindow(const blit::CopyArgs& args, SoftwareSurface& src,
                                     const RECT& from, const RECT& part) {
    // The window shows what the pixels hold: only the rows that differ are
    // written and shown again. Where the client area still holds the last
    // copy of the same source, only what the source has had written since
    // can differ.
    const ShownCopy now{src.id_, src.written_.Clears(), from, part};
    std::span<const blit::ColumnSpan> lookAt;
    if (shownCopy_ == now) {
        shownLookAt_.resize(static_cast<std::size_t>(part.Height()));
        for (LONG y = 0; y < part.Height(); ++y) {
            const blit::ColumnSpan written = src.written_.Row(from.Top + y);
            shownLookAt_[static_cast<std::size_t>(y)] = {written.left - from.Left,
                                                         written.right - from.Left};
        }
        lookAt = shownLookAt_;
    }
    blit::CopyChangedRows(args, Bytes(), kShownRowsMergeGap, shownBands_, lookAt);
    // The bands go to the screen together.
    shownParts_.clear();
    for (const blit::RowBand& band : shownBands_) {
        shownParts_.push_back(RECT{part.Left + band.left, part.Top + band.first, part.Left + band.right,
                                   part.Top + band.first + band.count});
    }
    Show(shownParts_);
    // The source's marks now count from this copy; were it shown on another
    // window in between, its clearings no longer match.
    src.written_.Clear();
    shownCopy_ = ShownCopy{src.id_, src.written_.Clears(), from, part};
}

HRESULT SoftwareSurface::BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, const RECT* srcRect,
                                 DWORD flags) {
    if (const HRESULT injected = EnterOperation(Operation::BltFast); injected != DD_OK) {
        return injected;
    }
    if (flags & ~(DDBLTFAST_SRCCOLORKEY | DDBLTFAST_DESTCOLORKEY | DDBLTFAST_WAIT)) {
        return DDERR_INVALIDPARAMS;
    }
    if ((flags & DDBLTFAST_SRCCOLORKEY) && (flags & DDBLTFAST_DESTCOLORKEY)) {
        return DDERR_INVALIDPARAMS;
    }
    if (flags & DDBLTFAST_DESTCOLORKEY) {
        return DDERR_NOCOLORKEYHW;
    }
    SoftwareSurface* src = From(source);
    if (!src) {
        return DDERR_INVALIDPARAMS;
    }
    if (IsLostNow() || src->IsLostNow()) {
        return DDERR_SURFACELOST;
    }
    if (Busy() || src->Busy()) {
        return DDERR_SURFACEBUSY;
    }
    if (clipper_) {
        return DDERR_BLTFASTCANTCLIP;
    }
    if (src->Bytes() != Bytes()) {
        return DDERR_INVALIDPIXELFORMAT;
    }
    const RECT from = srcRect ? *srcRect : src->Bounds();
    if (!IsOrdered(from) || !Contains(src->Bounds(), from)) {
        return DDERR_INVALIDRECT;
    }
    if (std::uint64_t{x} + static_cast<std::uint64_t>(from.Width()) >
            static_cast<std::uint64_t>(shape_.Width) ||
        std::uint64_t{y} + static_cast<std::uint64_t>(from.Height()) >
            static_cast<std::uint64_t>(shape_.Height)) {
        return DDERR_INVALIDRECT;
    }
    const bool keyed = (flags & DDBLTFAST_SRCCOLORKEY) != 0;
    if (keyed && !src->hasSourceKey_) {
        return DDERR_NOCOLORKEY;
    }
    if (IsEmpty(from)) {
        return DD_OK;
    }
    const RECT dst{static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x) + from.Width(),
                   static_cast<LONG>(y) + from.Height()};
    blit::CopyArgs args;
    args.src = src->PixelAt(from.Left, from.Top);
    args.srcPitch = src->pitch_;
    SourceCopy copy;
    if (src == this && !IsEmpty(Intersect(from, dst))) {
        copy.Take(args.src, args.srcPitch, from, Bytes());
        args.src = copy.bytes.data();
        args.srcPitch = copy.pitch;
    }
    args.dst = PixelAt(dst.Left, dst.Top);
    args.dstPitch = pitch_;
    args.width = from.Width();
    args.height = from.Height();
    args.key = keyed ? src->sourceKey_.dwColorSpaceLowValue : 0;
    blit::ChooseCopy(Bytes(), keyed)(args);
    Changed(dst);
    return DD_OK;
}

HRESULT SoftwareSurface::Flip(IDirectDrawSurface* target, DWORD flags) {
    if (const HRESULT injected = EnterOperation(Operation::Flip); injected != DD_OK) {
        return injected;
    }
    if (flags & ~DDFLIP_WAIT) {
        return DDERR_INVALIDPARAMS;
    }
    if (chain_.size() < 2) {
        return DDERR_NOTFLIPPABLE;
    }
    for (SoftwareSurface* member : chain_) {
        if (member->IsLostNow()) {
            return DDERR_SURFACELOST;
        }
        if (member->Busy()) {
            return DDERR_SURFACEBUSY;
        }
    }
    if (target) {
        SoftwareSurface* wanted = From(target);
        const auto it = std::find(chain_.begin() + 1, chain_.end(), wanted);
        if (it == chain_.end()) {
            return DDERR_INVALIDPARAMS;
        }
        std::swap(pixels_, (*it)->pixels_);
    } else {
        // The front takes the first back buffer's memory, each back buffer
        // the next one's, and the last the old front's.
        for (std::size_t i = 0; i + 1 < chain_.size(); ++i) {
            std::swap(chain_[i]->pixels_, chain_[i + 1]->pixels_);
        }
    }
    for (SoftwareSurface* member : chain_) {
        member->Wrote(member->Bounds());
    }
    Show(Bounds());
    return DD_OK;
}

HRESULT SoftwareSurface::AddAttachedSurface(IDirectDrawSurface* attached) {
    if (const HRESULT injected = EnterOperation(Operation::AddAttachedSurface); injected != DD_OK) {
        return injected;
    }
    SoftwareSurface* other = From(attached);
    if (!other || other == this) {
        return DDERR_INVALIDPARAMS;
    }
    if (IsLostNow() || other->IsLostNow()) {
        return DDERR_SURFACELOST;
    }
    if (!(other->shape_.Caps & DDSCAPS_ZBUFFER) || (shape_.Caps & DDSCAPS_ZBUFFER) ||
        other->owner_ != owner_ || other->shape_.Width != shape_.Width ||
        other->shape_.Height != shape_.Height) {
        return DDERR_CANNOTATTACHSURFACE;
    }
    for (const Attachment& a : attached_) {
        if (a.surface->shape_.Caps & DDSCAPS_ZBUFFER) {
            return DDERR_SURFACEALREADYATTACHED;
        }
    }
    other->AddRef();
    attached_.push_back(Attachment{other, false});
    return DD_OK;
}

HRESULT SoftwareSurface::DeleteAttachedSurface(DWORD flags, IDirectDrawSurface* attached) {
    if (flags != 0) {
        return DDERR_INVALIDPARAMS;
    }
    std::vector<SoftwareSurface*> toRelease;
    if (!attached) {
        for (auto it = attached_.begin(); it != attached_.end();) {
            if (it->implicit) {
                ++it;
            } else {
                toRelease.push_back(it->surface);
                it = attached_.erase(it);
            }
        }
    } else {
        SoftwareSurface* other = From(attached);
        const auto it = std::find_if(attached_.begin(), attached_.end(),
                                     [other](const Attachment& a) { return a.surface == other; });
        if (it == attached_.end()) {
            return DDERR_SURFACENOTATTACHED;
        }
        if (it->implicit) {
            return DDERR_CANNOTDETACHSURFACE;
        }
        toRelease.push_back(it->surface);
        attached_.erase(it);
    }
    for (SoftwareSurface* surface : toRelease) {
        surface->Release();
    }
    return DD_OK;
}

HRESULT SoftwareSurface::GetAttachedSurface(const DDSCAPS* caps, IDirectDrawSurface** attached) {
    if (const HRESULT injected = EnterOperation(Operation::GetAttachedSurface); injected != DD_OK) {
        return injected;
    }
    if (!caps || !attached) {
        return DDERR_INVALIDPARAMS;
    }
    *attached = nullptr;
    for (const Attachment& a : attached_) {
        if ((a.surface->shape_.Caps & caps->dwCaps) == caps->dwCaps) {
            a.surface->AddRef();
            *attached = a.surface;
            return DD_OK;
        }
    }
    return DDERR_NOTFOUND;
}

HRESULT SoftwareSurface::GetCaps(DDSCAPS* caps) {
    if (const HRESULT injected = EnterOperation(Operation::SurfaceGetCaps); injected != DD_OK) {
        return injected;
    }
    if (!caps) {
        return DDERR_INVALIDPARAMS;
    }
    caps->dwCaps = shape_.Caps;
    return DD_OK;
}

HRESULT SoftwareSurface::GetClipper(IDirectDrawClipper** clipper) {
    if (!clipper) {
        return DDERR_INVALIDPARAMS;
    }
    *clipper = clipper_;
    if (!clipper_) {
        return DDERR_NOCLIPPERATTACHED;
    }
    clipper_->AddRef();
    return DD_OK;
}

HRESULT SoftwareSurface::GetColorKey(DWORD flags, DDCOLORKEY* key) {
    if (!key) {
        return DDERR_INVALIDPARAMS;
    }
    if (flags == DDCKEY_SRCBLT) {
        if (!hasSourceKey_) {
            return DDERR_NOCOLORKEY;
        }
        *key = sourceKey_;
        return DD_OK;
    }
    if (flags == DDCKEY_DESTBLT) {
        if (!hasDestKey_) {
            return DDERR_NOCOLORKEY;
        }
        *key = destKey_;
        return DD_OK;
    }
    return DDERR_INVALIDPARAMS;
}

HRESULT SoftwareSurface::GetDC(HDC* dc) {
    if (const HRESULT injected = EnterOperation(Operation::GetDC); injected != DD_OK) {
        return injected;
    }
    if (!dc) {
        return DDERR_INVALIDPARAMS;
    }
    *dc = nullptr;
    if (IsLostNow()) {
        return DDERR_SURFACELOST;
    }
    if (dc_) {
        return DDERR_DCALREADYCREATED;
    }
    if (locked_) {
        return DDERR_SURFACEBUSY;
    }
    if (shape_.Caps & DDSCAPS_ZBUFFER) {
        return DDERR_CANTCREATEDC;
    }
    dc_ = CurrentDeviceContextFactory().Create(View());
    if (!dc_) {
        return DDERR_CANTCREATEDC;
    }
    *dc = dc_.get();
    return DD_OK;
}

HRESULT SoftwareSurface::ReleaseDC(HDC dc) {
    if (const HRESULT injected = EnterOperation(Operation::ReleaseDC); injected != DD_OK) {
        return injected;
    }
    if (!dc_) {
        return DDERR_NODC;
    }
    if (dc != dc_.get()) {
        return DDERR_INVALIDPARAMS;
    }
    drawnAreas_.clear();
    dc_->AddDrawnAreas(drawnAreas_);
    dc_.reset();
    for (const RECT& area : drawnAreas_) {
        Wrote(area);
    }
    Show(Bounds());
    return DD_OK;
}

HRESULT SoftwareSurface::GetPalette(IDirectDrawPalette** palette) {
    if (!palette) {
        return DDERR_INVALIDPARAMS;
    }
    *palette = palette_;
    if (!palette_) {
        return DDERR_NOPALETTEATTACHED;
    }
    palette_->AddRef();
    return DD_OK;
}

HRESULT SoftwareSurface::GetPixelFormat(DDPIXELFORMAT* format) {
    if (!format) {
        return DDERR_INVALIDPARAMS;
    }
    *format = shape_.Format;
    return DD_OK;
}

HRESULT SoftwareSurface::GetSurfaceDesc(DDSURFACEDESC* desc) {
    if (const HRESULT injected = EnterOperation(Operation::GetSurfaceDesc); injected != DD_OK) {
        return injected;
    }
    if (!desc || !IsValidSurfaceDescSize(desc->dwSize)) {
        return DDERR_INVALIDPARAMS;
    }
    FillDesc(*desc);
    return DD_OK;
}

HRESULT SoftwareSurface::IsLost() {
    if (const HRESULT injected = EnterOperation(Operation::IsLost); injected != DD_OK) {
        return injected;
    }
    return IsLostNow() ? DDERR_SURFACELOST : DD_OK;
}

HRESULT SoftwareSurface::Lock(const RECT* rect, DDSURFACEDESC* desc, DWORD flags, void*) {
    if (const HRESULT injected = EnterOperation(Operation::Lock); injected != DD_OK) {
        return injected;
    }
    if (!desc || !IsValidSurfaceDescSize(desc->dwSize)) {
        return DDERR_INVALIDPARAMS;
    }
    if (IsLostNow()) {
        return DDERR_SURFACELOST;
    }
    if (Busy()) {
        return DDERR_SURFACEBUSY;
    }
    const RECT area = rect ? *rect : Bounds();
    if (!IsOrdered(area) || !Contains(Bounds(), area)) {
        return DDERR_INVALIDRECT;
    }
    FillDesc(*desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = PixelAt(area.Left, area.Top);
    locked_ = true;
    lockReadOnly_ = (flags & DDLOCK_READONLY) != 0;
    lockedRect_ = area;
    return DD_OK;
}

HRESULT SoftwareSurface::Unlock(void*) {
    if (const HRESULT injected = EnterOperation(Operation::Unlock); injected != DD_OK) {
        return injected;
    }
    if (!locked_) {
        return IsLostNow() ? DDERR_SURFACELOST : DDERR_NOTLOCKED;
    }
    locked_ = false;
    if (!lockReadOnly_) {
        Changed(lockedRect_);
    }
    return DD_OK;
}

HRESULT SoftwareSurface::Restore() {
    if (const HRESULT injected = EnterOperation(Operation::Restore); injected != DD_OK) {
        return injected;
    }
    if (chainFront_) {
        return chainFront_->Restore();
    }
    if (!IsLostNow()) {
        return DD_OK;
    }
    if (!owner_) {
        // Its DirectDraw object is gone; only a new one can make surfaces.
        return DDERR_SURFACELOST;
    }
    if (IsPrimary() &&
        !owner_->DisplayMatches(shape_.Width, shape_.Height, shape_.Format.dwRGBBitCount)) {
        return DDERR_WRONGMODE;
    }
    if (chain_.empty()) {
        return Allocate();
    }
    for (SoftwareSurface* member : chain_) {
        if (const HRESULT result = member->Allocate(); result != DD_OK) {
            for (SoftwareSurface* done : chain_) {
                done->FreePixels();
            }
            return result;
        }
    }
    return DD_OK;
}

HRESULT SoftwareSurface::SetClipper(IDirectDrawClipper* clipper) {
    if (const HRESULT injected = EnterOperation(Operation::SetClipper); injected != DD_OK) {
        return injected;
    }
    SoftwareClipper* wanted = nullptr;
    if (clipper) {
        wanted = SoftwareObjectOf<SoftwareClipper>(clipper, IID_SoftwareClipper);
        if (!wanted) {
            return DDERR_INVALIDPARAMS;
        }
        wanted->AddRef();
    }
    if (clipper_) {
        clipper_->Release();
    }
    clipper_ = wanted;
    return DD_OK;
}

HRESULT SoftwareSurface::SetColorKey(DWORD flags, const DDCOLORKEY* key) {
    if (const HRESULT injected = EnterOperation(Operation::SetColorKey); injected != DD_OK) {
        return injected;
    }
    const DWORD kind = flags & ~DDCKEY_COLORSPACE;
    if (kind == DDCKEY_SRCOVERLAY || kind == DDCKEY_DESTOVERLAY) {
        return DDERR_NOOVERLAYHW;
    }
    if (kind != DDCKEY_SRCBLT && kind != DDCKEY_DESTBLT) {
        return DDERR_INVALIDPARAMS;
    }
    // Only single-value keys; a range is not offered.
    if (key && (flags & DDCKEY_COLORSPACE) &&
        key->dwColorSpaceLowValue != key->dwColorSpaceHighValue) {
        return DDERR_NOCOLORKEYHW;
    }
    const DWORD bits = shape_.Format.dwRGBBitCount;
    bool& has = kind == DDCKEY_SRCBLT ? hasSourceKey_ : hasDestKey_;
    DDCOLORKEY& stored = kind == DDCKEY_SRCBLT ? sourceKey_ : destKey_;
    has = key != nullptr;
    if (key) {
        const DWORD value = MaskToDepth(key->dwColorSpaceLowValue, bits);
        stored = DDCOLORKEY{value, value};
    }
    return DD_OK;
}

HRESULT SoftwareSurface::SetPalette(IDirectDrawPalette* palette) {
    if (const HRESULT injected = EnterOperation(Operation::SetPalette); injected != DD_OK) {
        return injected;
    }
    SoftwarePalette* wanted = nullptr;
    if (palette) {
        wanted = SoftwareObjectOf<SoftwarePalette>(palette, IID_SoftwarePalette);
        if (!wanted) {
            return DDERR_INVALIDPARAMS;
        }
        if (shape_.Format.dwRGBBitCount != 8 || (shape_.Caps & DDSCAPS_ZBUFFER)) {
            return DDERR_NOTPALETTIZED;
        }
    }
    // A held device context paints with the palette it was given.
    if (dc_) {
        return DDERR_SURFACEBUSY;
    }
    if (wanted) {
        wanted->AddRef();
    }
    if (palette_) {
        palette_->Release();
    }
    palette_ = wanted;
    if (!IsLostNow()) {
        Changed(Bounds());
    }
    return DD_OK;
}

} // namespace ddraw
