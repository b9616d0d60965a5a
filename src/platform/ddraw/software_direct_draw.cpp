#include "platform/ddraw/software_direct_draw.h"

#include "platform/ddraw/ddraw_constants.h"
#include "platform/ddraw/ddraw_errors.h"
#include "platform/ddraw/display_modes.h"
#include "platform/ddraw/failure_injection.h"
#include "platform/ddraw/interface_extension.h"
#include "platform/ddraw/pixel_format.h"
#include "platform/ddraw/presenter.h"
#include "platform/ddraw/software_clipper.h"
#include "platform/ddraw/software_palette.h"
#include "platform/ddraw/software_surface.h"

#include <algorithm>

namespace ddraw {

namespace {

// Only one object at a time may own the screen exclusively.
SoftwareDirectDraw* gExclusiveOwner = nullptr;

constexpr DWORD kMaxBackBuffers = 3;

LONG PitchFor(LONG width, DWORD bitsPerPixel) {
    return (width * static_cast<LONG>(bitsPerPixel / 8) + 3) & ~3;
}

void FillCaps(DDCAPS& caps, std::size_t total, std::size_t free) {
    const DWORD size = caps.dwSize;
    caps = DDCAPS{};
    caps.dwSize = size;
    // Everything is done in software: no 3D hardware, no overlays.
    caps.dwCaps = DDCAPS_BLT | DDCAPS_BLTCOLORFILL | DDCAPS_BLTDEPTHFILL | DDCAPS_BLTSTRETCH |
                  DDCAPS_COLORKEY | DDCAPS_PALETTE | DDCAPS_CANBLTSYSMEM;
    caps.dwCKeyCaps = DDCKEYCAPS_SRCBLT;
    caps.dwFXCaps = DDFXCAPS_BLTMIRRORLEFTRIGHT | DDFXCAPS_BLTMIRRORUPDOWN;
    caps.dwPalCaps = DDPCAPS_8BIT;
    caps.dwZBufferBitDepths = DDBD_16 | DDBD_24 | DDBD_32;
    caps.dwVidMemTotal = static_cast<DWORD>(total);
    caps.dwVidMemFree = static_cast<DWORD>(free);
    caps.ddsCaps.dwCaps = DDSCAPS_BACKBUFFER | DDSCAPS_COMPLEX | DDSCAPS_FLIP |
                          DDSCAPS_FRONTBUFFER | DDSCAPS_OFFSCREENPLAIN | DDSCAPS_PALETTE |
                          DDSCAPS_PRIMARYSURFACE | DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY |
                          DDSCAPS_LOCALVIDMEM | DDSCAPS_NONLOCALVIDMEM | DDSCAPS_VISIBLE |
                          DDSCAPS_ZBUFFER;
    caps.dwSVBCaps = caps.dwCaps;
    caps.dwVSBCaps = caps.dwCaps;
    caps.dwSSBCaps = caps.dwCaps;
    caps.dwNLVBCaps = caps.dwCaps;
}

} // namespace

// ---- the interfaces ----

HRESULT DirectDrawInterface::QueryInterface(const GUID& iid, void** object) {
    return object_.QueryInterface(iid, object);
}
ULONG DirectDrawInterface::AddRef() {
    return refs_.AddRef();
}
ULONG DirectDrawInterface::Release() {
    return refs_.Release([this] { object_.InterfaceReleased(); });
}
HRESULT DirectDrawInterface::CreateClipper(DWORD flags, IDirectDrawClipper** clipper,
                                           IUnknown* outer) {
    return object_.CreateClipper(flags, clipper, outer);
}
HRESULT DirectDrawInterface::CreatePalette(DWORD flags, const PALETTEENTRY* entries,
                                           IDirectDrawPalette** palette, IUnknown* outer) {
    return object_.CreatePalette(flags, entries, palette, outer);
}
HRESULT DirectDrawInterface::CreateSurface(const DDSURFACEDESC* desc, IDirectDrawSurface** surface,
                                           IUnknown* outer) {
    return object_.CreateSurface(desc, surface, outer);
}
HRESULT DirectDrawInterface::EnumDisplayModes(DWORD flags, const DDSURFACEDESC* match,
                                              void* context, LPDDENUMMODESCALLBACK callback) {
    return object_.EnumDisplayModes(flags, match, context, callback);
}
HRESULT DirectDrawInterface::GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) {
    return object_.GetCaps(driverCaps, emulationCaps);
}
HRESULT DirectDrawInterface::GetDisplayMode(DDSURFACEDESC* desc) {
    return object_.GetDisplayMode(desc);
}
HRESULT DirectDrawInterface::RestoreDisplayMode() {
    return object_.RestoreDisplayMode();
}
HRESULT DirectDrawInterface::SetCooperativeLevel(HWND window, DWORD flags) {
    return object_.SetCooperativeLevel(window, flags);
}
HRESULT DirectDrawInterface::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel,
                                            DWORD refreshRate, DWORD flags) {
    return object_.SetDisplayMode(width, height, bitsPerPixel, refreshRate, flags);
}
HRESULT DirectDrawInterface::WaitForVerticalBlank(DWORD flags, void* event) {
    return object_.WaitForVerticalBlank(flags, event);
}
HRESULT DirectDrawInterface::GetAvailableVidMem(const DDSCAPS* caps, DWORD* total, DWORD* free) {
    return object_.GetAvailableVidMem(caps, total, free);
}

// ---- the object ----

IDirectDraw* SoftwareDirectDraw::Create(int screenIndex, const ScreenInfo& screen) {
    auto* object = new SoftwareDirectDraw(screenIndex, screen);
    object->first_.refs_.SetCount(1);
    return &object->first_;
}

SoftwareDirectDraw::SoftwareDirectDraw(int screenIndex, const ScreenInfo& screen)
    : screenIndex_(screenIndex), screen_(screen), settings_(CurrentSoftwareSettings()) {}

SoftwareDirectDraw::~SoftwareDirectDraw() {
    LeaveDisplayMode();
    if (gExclusiveOwner == this) {
        gExclusiveOwner = nullptr;
    }
    // The surfaces lose their memory first, then their links to palettes,
    // clippers and each other are dropped; only then may releasing those
    // links free surfaces.
    std::vector<SoftwareSurface*> surfaces;
    surfaces.swap(surfaces_);
    primary_ = nullptr;
    for (SoftwareSurface* surface : surfaces) {
        surface->Orphan();
    }
    std::vector<SoftwareSurface*> attachments;
    for (SoftwareSurface* surface : surfaces) {
        surface->DropLinks(attachments);
    }
    for (SoftwareSurface* surface : attachments) {
        surface->Release();
    }
}

void SoftwareDirectDraw::InterfaceReleased() {
    if (first_.refs_.Count() == 0 && second_.refs_.Count() == 0) {
        delete this;
    }
}

HRESULT SoftwareDirectDraw::QueryInterface(const GUID& iid, void** object) {
    if (const HRESULT injected = EnterOperation(Operation::QueryInterface); injected != DD_OK) {
        return injected;
    }
    if (!object) {
        return DDERR_INVALIDPARAMS;
    }
    if (iid == IID_IDirectDraw) {
        first_.AddRef();
        *object = static_cast<IDirectDraw*>(&first_);
        return DD_OK;
    }
    if (iid == IID_IDirectDraw2) {
        second_.AddRef();
        *object = static_cast<IDirectDraw2*>(&second_);
        return DD_OK;
    }
    if (const InterfaceMaker make = FindInterfaceMaker(iid)) {
        *object = nullptr;
        return make(&second_, object);
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

bool SoftwareDirectDraw::ChargeVideoMemory(std::size_t bytes) {
    if (bytes > settings_.VideoMemoryBytes - videoMemoryUsed_) {
        return false;
    }
    videoMemoryUsed_ += bytes;
    return true;
}

void SoftwareDirectDraw::UnchargeVideoMemory(std::size_t bytes) {
    videoMemoryUsed_ -= std::min(bytes, videoMemoryUsed_);
}

void SoftwareDirectDraw::Forget(SoftwareSurface* surface) {
    std::erase(surfaces_, surface);
    if (primary_ == surface) {
        primary_ = nullptr;
    }
}

SoftwareDirectDraw::Mode SoftwareDirectDraw::CurrentDisplay() const {
    if (mode_) {
        return *mode_;
    }
    return Mode{screen_.Width, screen_.Height, screen_.BitsPerPixel};
}

bool SoftwareDirectDraw::DisplayMatches(LONG width, LONG height, DWORD bitsPerPixel) const {
    const Mode display = CurrentDisplay();
    return display.Width == width && display.Height == height &&
           display.BitsPerPixel == bitsPerPixel;
}

bool SoftwareDirectDraw::Exclusive() const {
    return (cooperativeFlags_ & DDSCL_EXCLUSIVE) != 0;
}

bool SoftwareDirectDraw::PresentPrimary(SoftwareSurface& primary, std::span<const RECT> changed) {
    Presenter& presenter = CurrentPresenter();
    if (mode_ && Exclusive()) {
        presenter.PresentFullScreen(window_, primary.View());
        return true;
    }
    HWND window = primary.ClipperWindow();
    if (!window) {
        window = window_;
    }
    if (!window) {
        return false;
    }
    const WindowSystem& windows = CurrentWindowSystem();
    RECT client;
    if (!windows.IsWindowVisible(window) || !windows.ClientRectOnScreen(window, &client)) {
        return false;
    }
    bool all = true;
    bool any = false;
    for (const RECT& area : changed) {
        const RECT part = Intersect(area, client);
        if (IsEmpty(part)) {
            all = false;
            continue;
        }
        presenter.PresentWindow(window, primary.View(), client, part);
        any = true;
    }
    if (any) {
        presenter.FinishPresenting(window);
    }
    return all;
}

void SoftwareDirectDraw::LoseDisplayMemory() {
    for (SoftwareSurface* surface : surfaces_) {
        if (surface->Where() != Placement::System) {
            surface->Lose();
        }
    }
}

void SoftwareDirectDraw::LeaveDisplayMode() {
    if (!mode_) {
        return;
    }
    mode_.reset();
    CurrentPresenter().LeaveFullScreen(window_);
}

HRESULT SoftwareDirectDraw::CreateClipper(DWORD flags, IDirectDrawClipper** clipper,
                                          IUnknown* outer) {
    if (const HRESULT injected = EnterOperation(Operation::CreateClipper); injected != DD_OK) {
        return injected;
    }
    if (outer) {
        return CLASS_E_NOAGGREGATION;
    }
    if (!clipper || flags != 0) {
        return DDERR_INVALIDPARAMS;
    }
    *clipper = new SoftwareClipper();
    return DD_OK;
}

HRESULT SoftwareDirectDraw::CreatePalette(DWORD flags, const PALETTEENTRY* entries,
                                          IDirectDrawPalette** palette, IUnknown* outer) {
    if (const HRESULT injected = EnterOperation(Operation::CreatePalette); injected != DD_OK) {
        return injected;
    }
    if (outer) {
        return CLASS_E_NOAGGREGATION;
    }
    if (!palette || !entries) {
        return DDERR_INVALIDPARAMS;
    }
    *palette = nullptr;
    if (!(flags & DDPCAPS_8BIT)) {
        // Only 256-entry palettes: 1, 2 and 4-bit surfaces are not offered.
        return DDERR_UNSUPPORTED;
    }
    *palette = new SoftwarePalette(flags, entries);
    return DD_OK;
}

HRESULT SoftwareDirectDraw::CreateSurface(const DDSURFACEDESC* desc, IDirectDrawSurface** surface,
                                          IUnknown* outer) {
    if (const HRESULT injected = EnterOperation(Operation::CreateSurface); injected != DD_OK) {
        return injected;
    }
    if (outer) {
        return CLASS_E_NOAGGREGATION;
    }
    if (!desc || !surface || !IsValidSurfaceDescSize(desc->dwSize)) {
        return DDERR_INVALIDPARAMS;
    }
    *surface = nullptr;
    const DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : 0;
    if ((caps & DDSCAPS_SYSTEMMEMORY) && (caps & DDSCAPS_VIDEOMEMORY)) {
        return DDERR_INVALIDCAPS;
    }
    if ((caps & DDSCAPS_LOCALVIDMEM) && (caps & DDSCAPS_NONLOCALVIDMEM)) {
        return DDERR_INVALIDCAPS;
    }
    if ((caps & (DDSCAPS_LOCALVIDMEM | DDSCAPS_NONLOCALVIDMEM)) && !(caps & DDSCAPS_VIDEOMEMORY)) {
        return DDERR_INVALIDCAPS;
    }
    if (caps & DDSCAPS_OVERLAY) {
        return DDERR_NOOVERLAYHW;
    }
    if (caps & DDSCAPS_MIPMAP) {
        return DDERR_NOMIPMAPHW;
    }
    if (caps & (DDSCAPS_LIVEVIDEO | DDSCAPS_HWCODEC | DDSCAPS_VIDEOPORT | DDSCAPS_MODEX |
                DDSCAPS_PRIMARYSURFACELEFT)) {
        return DDERR_INVALIDCAPS;
    }
    if (caps & DDSCAPS_PRIMARYSURFACE) {
        return CreatePrimary(*desc, caps, surface);
    }
    if (caps & (DDSCAPS_FLIP | DDSCAPS_BACKBUFFER | DDSCAPS_FRONTBUFFER | DDSCAPS_COMPLEX)) {
        // Flip chains are made only with a primary surface.
        return DDERR_INVALIDCAPS;
    }
    if ((desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) ||
        desc->dwWidth == 0 || desc->dwHeight == 0) {
        return DDERR_INVALIDPARAMS;
    }
    if (desc->dwWidth > 16384) {
        return DDERR_TOOBIGWIDTH;
    }
    if (desc->dwHeight > 16384) {
        return DDERR_TOOBIGHEIGHT;
    }

    SurfaceShape shape;
    shape.Width = static_cast<LONG>(desc->dwWidth);
    shape.Height = static_cast<LONG>(desc->dwHeight);
    if (caps & DDSCAPS_ZBUFFER) {
        DWORD depth = 0;
        if (desc->dwFlags & DDSD_ZBUFFERBITDEPTH) {
            depth = desc->dwZBufferBitDepth;
        } else if ((desc->dwFlags & DDSD_PIXELFORMAT) &&
                   (desc->ddpfPixelFormat.dwFlags & DDPF_ZBUFFER)) {
            depth = desc->ddpfPixelFormat.dwZBufferBitDepth;
        } else {
            return DDERR_INVALIDPARAMS;
        }
        if (depth != 16 && depth != 24 && depth != 32) {
            return DDERR_INVALIDPIXELFORMAT;
        }
        shape.Format = ZBufferPixelFormat(depth);
    } else if (desc->dwFlags & DDSD_PIXELFORMAT) {
        if (!IsSupportedPixelFormat(desc->ddpfPixelFormat) ||
            (desc->ddpfPixelFormat.dwFlags & DDPF_ZBUFFER)) {
            return DDERR_INVALIDPIXELFORMAT;
        }
        shape.Format = desc->ddpfPixelFormat;
        shape.Format.dwSize = DDPIXELFORMAT::kSize;
    } else {
        shape.Format = DisplayPixelFormat(CurrentDisplay().BitsPerPixel, settings_.HighColor);
    }

    constexpr DWORD kKept = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE |
                            DDSCAPS_ZBUFFER | DDSCAPS_WRITEONLY | DDSCAPS_OWNDC |
                            DDSCAPS_ALLOCONLOAD | DDSCAPS_PALETTE | DDSCAPS_ALPHA;
    DWORD kept = caps & kKept;
    if (!(kept & (DDSCAPS_TEXTURE | DDSCAPS_ZBUFFER | DDSCAPS_3DDEVICE))) {
        kept |= DDSCAPS_OFFSCREENPLAIN;
    }
    // Where the memory goes: as asked, or video memory while it lasts and
    // system memory after that.
    std::vector<Placement> tries;
    if (caps & DDSCAPS_SYSTEMMEMORY) {
        tries = {Placement::System};
    } else if (caps & DDSCAPS_NONLOCALVIDMEM) {
        tries = {Placement::NonLocalVideo};
    } else if (caps & DDSCAPS_VIDEOMEMORY) {
        tries = {Placement::LocalVideo};
    } else {
        tries = {Placement::LocalVideo, Placement::System};
    }
    HRESULT result = DDERR_GENERIC;
    for (Placement where : tries) {
        shape.Where = where;
        shape.Caps = kept | (where == Placement::System ? DDSCAPS_SYSTEMMEMORY
                             : where == Placement::NonLocalVideo
                                 ? DDSCAPS_VIDEOMEMORY | DDSCAPS_NONLOCALVIDMEM
                                 : DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM);
        auto* made = new SoftwareSurface(this, shape);
        result = made->Allocate();
        if (result != DD_OK) {
            made->Release();
            continue;
        }
        if (desc->dwFlags & DDSD_CKSRCBLT) {
            made->SetSourceKey(desc->ddckCKSrcBlt.dwColorSpaceLowValue);
        }
        surfaces_.push_back(made);
        *surface = made;
        return DD_OK;
    }
    return result;
}

HRESULT SoftwareDirectDraw::CreatePrimary(const DDSURFACEDESC& desc, DWORD caps,
                                          IDirectDrawSurface** surface) {
    if (cooperativeFlags_ == 0) {
        return DDERR_NOCOOPERATIVELEVELSET;
    }
    if (primary_) {
        return DDERR_PRIMARYSURFACEALREADYEXISTS;
    }
    if (desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT)) {
        return DDERR_INVALIDPARAMS;
    }
    if (caps & (DDSCAPS_SYSTEMMEMORY | DDSCAPS_NONLOCALVIDMEM | DDSCAPS_ZBUFFER |
                DDSCAPS_BACKBUFFER | DDSCAPS_FRONTBUFFER)) {
        return DDERR_INVALIDCAPS;
    }
    const bool flip = (caps & DDSCAPS_FLIP) != 0;
    DWORD backBuffers = 0;
    if (flip) {
        if (!(caps & DDSCAPS_COMPLEX) || !(desc.dwFlags & DDSD_BACKBUFFERCOUNT) ||
            desc.dwBackBufferCount == 0) {
            return DDERR_INVALIDCAPS;
        }
        if (desc.dwBackBufferCount > kMaxBackBuffers) {
            return DDERR_OUTOFCAPS;
        }
        if (!Exclusive()) {
            return DDERR_NOEXCLUSIVEMODE;
        }
        backBuffers = desc.dwBackBufferCount;
    } else if ((caps & DDSCAPS_COMPLEX) || (desc.dwFlags & DDSD_BACKBUFFERCOUNT)) {
        return DDERR_INVALIDCAPS;
    }

    const Mode display = CurrentDisplay();
    SurfaceShape shape;
    shape.Width = display.Width;
    shape.Height = display.Height;
    shape.Format = DisplayPixelFormat(display.BitsPerPixel, settings_.HighColor);
    // A windowed primary is the desktop, which exists already; a full-screen
    // one, and every flip chain, takes video memory.
    shape.Where = (mode_ || flip) ? Placement::LocalVideo : Placement::Desktop;
    const DWORD common = DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM | (caps & DDSCAPS_3DDEVICE);
    shape.Caps = common | DDSCAPS_PRIMARYSURFACE | DDSCAPS_VISIBLE |
                 (flip ? DDSCAPS_FRONTBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX : 0);

    auto* front = new SoftwareSurface(this, shape);
    std::vector<SoftwareSurface*> backs;
    HRESULT result = front->Allocate();
    for (DWORD i = 0; result == DD_OK && i < backBuffers; ++i) {
        SurfaceShape backShape = shape;
        backShape.Caps =
            common | DDSCAPS_FLIP | DDSCAPS_COMPLEX | (i == 0 ? DDSCAPS_BACKBUFFER : 0);
        auto* back = new SoftwareSurface(this, backShape);
        backs.push_back(back);
        result = back->Allocate();
    }
    if (result != DD_OK) {
        for (SoftwareSurface* back : backs) {
            back->Release();
        }
        front->Release();
        return result;
    }
    front->MakeFlipChain(backs);
    surfaces_.push_back(front);
    surfaces_.insert(surfaces_.end(), backs.begin(), backs.end());
    primary_ = front;
    *surface = front;
    return DD_OK;
}

HRESULT SoftwareDirectDraw::EnumDisplayModes(DWORD flags, const DDSURFACEDESC* match, void* context,
                                             LPDDENUMMODESCALLBACK callback) {
    if (const HRESULT injected = EnterOperation(Operation::EnumDisplayModes); injected != DD_OK) {
        return injected;
    }
    if (!callback || (match && !IsValidSurfaceDescSize(match->dwSize)) ||
        (flags & ~DDEDM_REFRESHRATES)) {
        return DDERR_INVALIDPARAMS;
    }
    const DWORD refresh = (flags & DDEDM_REFRESHRATES) ? 60 : 0;
    for (const DisplayModeEntry& mode : DisplayModesFor(screen_.Width, screen_.Height)) {
        if (match) {
            if ((match->dwFlags & DDSD_WIDTH) && match->dwWidth != static_cast<DWORD>(mode.Width)) {
                continue;
            }
            if ((match->dwFlags & DDSD_HEIGHT) &&
                match->dwHeight != static_cast<DWORD>(mode.Height)) {
                continue;
            }
            if ((match->dwFlags & DDSD_PIXELFORMAT) &&
                match->ddpfPixelFormat.dwRGBBitCount != mode.BitsPerPixel) {
                continue;
            }
            if ((match->dwFlags & DDSD_REFRESHRATE) && match->dwRefreshRate != refresh) {
                continue;
            }
        }
        DDSURFACEDESC desc = MakeSurfaceDesc();
        desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
        desc.dwWidth = static_cast<DWORD>(mode.Width);
        desc.dwHeight = static_cast<DWORD>(mode.Height);
        desc.lPitch = PitchFor(mode.Width, mode.BitsPerPixel);
        desc.dwRefreshRate = refresh;
        desc.ddpfPixelFormat = DisplayPixelFormat(mode.BitsPerPixel, settings_.HighColor);
        if (callback(&desc, context) == DDENUMRET_CANCEL) {
            break;
        }
    }
    return DD_OK;
}

HRESULT SoftwareDirectDraw::GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) {
    if (const HRESULT injected = EnterOperation(Operation::GetCaps); injected != DD_OK) {
        return injected;
    }
    if (!driverCaps && !emulationCaps) {
        return DDERR_INVALIDPARAMS;
    }
    for (DDCAPS* caps : {driverCaps, emulationCaps}) {
        if (caps && caps->dwSize != DDCAPS::kSize) {
            return DDERR_INVALIDPARAMS;
        }
    }
    const std::size_t free = settings_.VideoMemoryBytes - videoMemoryUsed_;
    for (DDCAPS* caps : {driverCaps, emulationCaps}) {
        if (caps) {
            FillCaps(*caps, settings_.VideoMemoryBytes, free);
        }
    }
    return DD_OK;
}

HRESULT SoftwareDirectDraw::GetDisplayMode(DDSURFACEDESC* desc) {
    if (!desc || !IsValidSurfaceDescSize(desc->dwSize)) {
        return DDERR_INVALIDPARAMS;
    }
    const Mode display = CurrentDisplay();
    const DWORD size = desc->dwSize;
    *desc = DDSURFACEDESC{};
    desc->dwSize = size;
    desc->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
    desc->dwWidth = static_cast<DWORD>(display.Width);
    desc->dwHeight = static_cast<DWORD>(display.Height);
    desc->lPitch = PitchFor(display.Width, display.BitsPerPixel);
    desc->ddpfPixelFormat = DisplayPixelFormat(display.BitsPerPixel, settings_.HighColor);
    return DD_OK;
}

HRESULT SoftwareDirectDraw::SetCooperativeLevel(HWND window, DWORD flags) {
    if (const HRESULT injected = EnterOperation(Operation::SetCooperativeLevel);
        injected != DD_OK) {
        return injected;
    }
    constexpr DWORD kKnown = DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_NOWINDOWCHANGES |
                             DDSCL_NORMAL | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;
    if (flags & ~kKnown) {
        return DDERR_INVALIDPARAMS;
    }
    const bool normal = (flags & DDSCL_NORMAL) != 0;
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    const bool fullScreen = (flags & DDSCL_FULLSCREEN) != 0;
    if (normal == exclusive || exclusive != fullScreen ||
        ((flags & DDSCL_ALLOWMODEX) && !exclusive) || (exclusive && !window)) {
        return DDERR_INVALIDPARAMS;
    }
    if (exclusive && gExclusiveOwner && gExclusiveOwner != this) {
        return DDERR_EXCLUSIVEMODEALREADYSET;
    }
    if (normal) {
        if (mode_) {
            LoseDisplayMemory();
            LeaveDisplayMode();
        }
        if (gExclusiveOwner == this) {
            gExclusiveOwner = nullptr;
        }
    } else {
        gExclusiveOwner = this;
    }
    window_ = window;
    cooperativeFlags_ = flags;
    return DD_OK;
}

HRESULT SoftwareDirectDraw::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel,
                                           DWORD refreshRate, DWORD flags) {
    if (const HRESULT injected = EnterOperation(Operation::SetDisplayMode); injected != DD_OK) {
        return injected;
    }
    if (flags != 0) {
        return DDERR_INVALIDPARAMS;
    }
    if (!Exclusive()) {
        // The desktop's own mode is never changed; only the emulated full
        // screen has display modes.
        return DDERR_NOEXCLUSIVEMODE;
    }
    const DisplayModeEntry wanted{static_cast<LONG>(width), static_cast<LONG>(height),
                                  bitsPerPixel};
    const auto modes = DisplayModesFor(screen_.Width, screen_.Height);
    if (width > 65535 || height > 65535 || (refreshRate != 0 && refreshRate != 60) ||
        std::find(modes.begin(), modes.end(), wanted) == modes.end()) {
        return DDERR_INVALIDMODE;
    }
    if (mode_ && mode_->Width == wanted.Width && mode_->Height == wanted.Height &&
        mode_->BitsPerPixel == bitsPerPixel) {
        return DD_OK;
    }
    LoseDisplayMemory();
    mode_ = Mode{wanted.Width, wanted.Height, bitsPerPixel};
    CurrentPresenter().EnterFullScreen(window_, screenIndex_, wanted.Width, wanted.Height,
                                       bitsPerPixel);
    return DD_OK;
}

HRESULT SoftwareDirectDraw::RestoreDisplayMode() {
    if (const HRESULT injected = EnterOperation(Operation::RestoreDisplayMode); injected != DD_OK) {
        return injected;
    }
    if (mode_) {
        LoseDisplayMemory();
        LeaveDisplayMode();
    }
    return DD_OK;
}

HRESULT SoftwareDirectDraw::WaitForVerticalBlank(DWORD flags, void*) {
    if (const HRESULT injected = EnterOperation(Operation::WaitForVerticalBlank);
        injected != DD_OK) {
        return injected;
    }
    if (flags == DDWAITVB_BLOCKBEGINEVENT) {
        return DDERR_UNSUPPORTED;
    }
    if (flags != DDWAITVB_BLOCKBEGIN && flags != DDWAITVB_BLOCKEND) {
        return DDERR_INVALIDPARAMS;
    }
    CurrentPresenter().WaitForVerticalBlank();
    return DD_OK;
}

HRESULT SoftwareDirectDraw::GetAvailableVidMem(const DDSCAPS* caps, DWORD* total, DWORD* free) {
    if (!caps || (!total && !free)) {
        return DDERR_INVALIDPARAMS;
    }
    const bool system = (caps->dwCaps & DDSCAPS_SYSTEMMEMORY) != 0;
    if (total) {
        *total = system ? 0 : settings_.VideoMemoryBytes;
    }
    if (free) {
        *free = system ? 0 : static_cast<DWORD>(settings_.VideoMemoryBytes - videoMemoryUsed_);
    }
    return DD_OK;
}

} // namespace ddraw
