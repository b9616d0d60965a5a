// Initialize, Finalize, Flip, Clear: the display component's work with
// DirectDraw. Every checked step writes its line through CheckResult and the
// set-up goes on with its next step, with whatever the failed one left.
#include "display/dddd.h"
#include "diagnostics/dddd_log.h"
#include "display/setup_tables.h"
#include "surfaces/clipping.h"

#include <cstdio>
#include <stdexcept>
#include <utility>

namespace dddd {

using namespace ddraw;

namespace {

constexpr char kCooperativeLevel[] = "協調レベルの設定に失敗しました";
constexpr char kPrimary[] = "プライマリ・サーフェスの作成に失敗しました";
constexpr char kBackBuffer[] = "バックバッファの作成に失敗しました";
constexpr char kReleaseDirectDraw[] = "DirectDrawオブジェクトの解放に失敗しました";

template <typename T> void ReleaseUnchecked(T*& object) {
    if (object)
        object->Release();
    object = nullptr;
}

// Paints black the parts of `area` that `inner` leaves, within `clip`.
void FillBars(IDirectDrawSurface& primary, const base::Rect& area, const base::Rect& inner,
              const base::Rect& clip) {
    const base::Rect bars[] = {{area.Left, area.Top, area.Right, inner.Top},
                               {area.Left, inner.Bottom, area.Right, area.Bottom},
                               {area.Left, inner.Top, inner.Left, inner.Bottom},
                               {inner.Right, inner.Top, area.Right, inner.Bottom}};
    DDBLTFX fx = MakeBltFx();
    fx.dwFillColor = 0;
    for (const base::Rect& bar : bars) {
        base::Rect part = base::Intersect(bar, clip);
        if (!base::IsEmpty(part))
            primary.Blt(&part, nullptr, &part, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }
}

} // namespace

IDirectDraw* TDDDD::Find3DDriver() {
    IDirectDraw* chosen = nullptr;
    DirectDrawEnumerate(
        [](GUID* guid, const char*, const char*, void* context) -> BOOL {
            if (!guid)
                return 1;
            IDirectDraw* object = nullptr;
            if (CheckResult(DirectDrawCreate(guid, &object, nullptr),
                            "DirectDrawドライバの作成に失敗しました") != DD_OK ||
                !object)
                return 1;
            DDCAPS caps;
            caps.dwSize = DDCAPS::kSize;
            if (object->GetCaps(&caps, nullptr) == DD_OK && (caps.dwCaps & DDCAPS_3D) &&
                (caps.ddsCaps.dwCaps & DDSCAPS_TEXTURE)) {
                *static_cast<IDirectDraw**>(context) = object;
                return 0;
            }
            object->Release();
            return 1;
        },
        &chosen);
    return chosen;
}

std::int32_t TDDDD::Initialize(bool fullScreen, std::int32_t width, std::int32_t height,
                               std::int32_t bitCount, std::int32_t refreshRate,
                               const std::string& driverName) {
    if (width < 0 || height < 0 || refreshRate < 0)
        throw std::out_of_range("Range check error");
    if (fullScreen && ownerForm_)
        ownerForm_->Show();
    Finalize();

    if (fullScreen && !driverName.empty())
        directDraw_ = FindDriver(driverName);
    else if (fullScreen && Use3D)
        directDraw_ = Find3DDriver();
    if (!directDraw_) {
        if (CheckResult(DirectDrawCreate(nullptr, &directDraw_, nullptr),
                        "DirectDrawオブジェクトが作成できません") != DD_OK)
            directDraw_ = nullptr;
    }
    if (directDraw_ &&
        CheckResult(directDraw_->QueryInterface(IID_IDirectDraw2,
                                                reinterpret_cast<void**>(&directDraw2_)),
                    "DirectDrawオブジェクトとDirectDraw2オブジェクトの連結に失敗しました") !=
            DD_OK)
        directDraw2_ = nullptr;

    DDCAPS driverCaps;
    driverCaps.dwSize = DDCAPS::kSize;
    DDCAPS emulationCaps;
    emulationCaps.dwSize = DDCAPS::kSize;
    if (directDraw2_)
        directDraw2_->GetCaps(&driverCaps, &emulationCaps);
    hardware3D_ = (driverCaps.dwCaps & DDCAPS_3D) && bitCount > 8;

    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* back = nullptr;
    if (fullScreen)
        SetUpFullScreen(width, height, bitCount, refreshRate, primary, back);
    else
        SetUpWindowed(width, height, primary, back);

    bitCount_ = bitCount;
    fullScreen_ = fullScreen;
    refreshRate_ = static_cast<std::uint32_t>(refreshRate);
    screenWidth_ = width;
    screenHeight_ = height;

    frontBuffer_.reset();
    backBuffer_.reset();
    frontBuffer_ = std::make_unique<TDDDDGenSurface>(this, primary, width, height);
    backBuffer_ = std::make_unique<TDDDDGenSurface>(this, back, width, height);

    ReleaseUnchecked(palette_);
    PreparePaletteEntries(paletteEntries_, Use3D, fullScreen);
    if (bitCount == 8)
        SetUpPalette(primary, back);

    if (Use3D) {
        const HRESULT result = retainedMode_.SetUp(
            {directDraw2_, backBuffer_.get(), this, width, height, D3DOptions, hardware3D_});
        if (result != DD_OK)
            return result;
    }

    if (ready_) {
        RestoreSurfaces();
        if (OnChangeDisplayMode)
            OnChangeDisplayMode(this);
    }
    return DD_OK;
}

void TDDDD::SetUpFullScreen(std::int32_t width, std::int32_t height, std::int32_t bitCount,
                            std::int32_t refreshRate, IDirectDrawSurface*& primary,
                            IDirectDrawSurface*& back) {
    if (ownerForm_)
        ownerForm_->SetBounds(0, 0, width, height);
    if (!directDraw2_)
        return;
    CheckResult(directDraw2_->SetCooperativeLevel(windowHandle_, DDSCL_FULLSCREEN |
                                                                     DDSCL_ALLOWREBOOT |
                                                                     DDSCL_EXCLUSIVE |
                                                                     DDSCL_ALLOWMODEX),
                kCooperativeLevel);
    char modeMessage[160];
    std::snprintf(modeMessage, sizeof modeMessage, "画面モード%dx%dx%dの初期化に失敗しました",
                  static_cast<int>(width), static_cast<int>(height), static_cast<int>(bitCount));
    CheckResult(directDraw2_->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                             static_cast<DWORD>(bitCount),
                                             static_cast<DWORD>(refreshRate), 0),
                modeMessage);

    DDSURFACEDESC desc = MakeSurfaceDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    if (Use3D)
        desc.ddsCaps.dwCaps |= DDSCAPS_3DDEVICE;
    if (CheckResult(directDraw2_->CreateSurface(&desc, &primary, nullptr), kPrimary) != DD_OK)
        primary = nullptr;

    DDSCAPS backCaps;
    backCaps.dwCaps = DDSCAPS_BACKBUFFER;
    if (!primary ||
        CheckResult(primary->GetAttachedSurface(&backCaps, &back), kBackBuffer) != DD_OK)
        back = nullptr;

    if (ownerForm_) {
        const std::vector<ScreenInfo> screens = CurrentWindowSystem().Screens();
        if (!screens.empty())
            ownerForm_->SetBounds(ownerForm_->Left(), ownerForm_->Top(), screens.front().Width,
                                  screens.front().Height);
        ownerForm_->BringToFront();
    }
}

void TDDDD::SetUpWindowed(std::int32_t width, std::int32_t height, IDirectDrawSurface*& primary,
                          IDirectDrawSurface*& back) {
    if (!directDraw2_)
        return;
    CheckResult(directDraw2_->SetCooperativeLevel(windowHandle_, DDSCL_NORMAL), kCooperativeLevel);

    DDSURFACEDESC desc = MakeSurfaceDesc();
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (CheckResult(directDraw2_->CreateSurface(&desc, &primary, nullptr), kPrimary) != DD_OK)
        primary = nullptr;

    desc = MakeSurfaceDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps =
        WindowedBackBufferCaps(Use3D, BackBufferLocationAtWindowed, hardware3D_, D3DOptions);
    if (directDraw2_->CreateSurface(&desc, &back, nullptr) != DD_OK) {
        back = nullptr;
        desc.ddsCaps.dwCaps &= ~DDSCAPS_VIDEOMEMORY;
        if (CheckResult(directDraw2_->CreateSurface(&desc, &back, nullptr), kBackBuffer) != DD_OK)
            back = nullptr;
    }

    if (AllowRakugaki)
        return;
    if (CheckResult(directDraw2_->CreateClipper(0, &clipper_, nullptr),
                    "Clipperオブジェクトの作成に失敗しました") != DD_OK)
        clipper_ = nullptr;
    if (clipper_)
        CheckResult(clipper_->SetHWnd(0, windowHandle_),
                    "Clipperのフォームへの割り当てに失敗しました");
    if (primary)
        CheckResult(primary->SetClipper(clipper_),
                    "Clipperのプライマリサーフェスへの割り当てに失敗しました");
}

void TDDDD::SetUpPalette(IDirectDrawSurface* primary, IDirectDrawSurface* back) {
    if (!directDraw2_)
        return;
    if (CheckResult(directDraw2_->CreatePalette(DDPCAPS_8BIT, paletteEntries_.data(), &palette_,
                                                nullptr),
                    "DirectDrawPaletteの作成に失敗しました") != DD_OK)
        palette_ = nullptr;
    if (primary)
        CheckResult(primary->SetPalette(palette_),
                    "DirectDrawPaletteのFrontBufferへの割り当てに失敗しました");
    if (back)
        CheckResult(back->SetPalette(palette_),
                    "DirectDrawPaletteのBackBufferへの割り当てに失敗しました");
}

void TDDDD::Finalize() {
    if (waiting_)
        return;
    if (!destroying_ && ready_) {
        InvalidateTextures();
        if (OnCleanUp)
            OnCleanUp(this);
    }
    retainedMode_.ReleaseDevices();
    ReleaseUnchecked(palette_);
    retainedMode_.ReleaseObjects(destroying_);
    ReleaseUnchecked(clipper_);
    // The buffers are detached from their surfaces, which go with the
    // DirectDraw object below. In full-screen the back buffer's object stays
    // until the next Initialize, without its surface.
    IDirectDrawSurface* detached[2] = {};
    if (backBuffer_) {
        detached[0] = std::exchange(backBuffer_->Surface, nullptr);
        if (!fullScreen_)
            backBuffer_.reset();
    }
    if (frontBuffer_) {
        detached[1] = std::exchange(frontBuffer_->Surface, nullptr);
        frontBuffer_.reset();
    }
    if (fullScreen_ && directDraw2_)
        directDraw2_->RestoreDisplayMode();
    if (directDraw2_)
        CheckResult(static_cast<std::int32_t>(directDraw2_->Release()), kReleaseDirectDraw);
    directDraw2_ = nullptr;
    if (directDraw_)
        CheckResult(static_cast<std::int32_t>(directDraw_->Release()), kReleaseDirectDraw);
    directDraw_ = nullptr;
    // A surface's memory went with its DirectDraw object, but the object
    // itself stays until the references counting it are given back: those
    // of the buffers are given back here, or every set-up would leave its
    // primary and back buffer behind.
    for (IDirectDrawSurface*& surface : detached)
        ReleaseUnchecked(surface);
}

void TDDDD::Flip() {
    IDirectDrawSurface* primary = frontBuffer_ ? frontBuffer_->Surface : nullptr;
    IDirectDrawSurface* back = backBuffer_ ? backBuffer_->Surface : nullptr;
    if (!primary || !back)
        return;
    if (primary->Flip(nullptr, DDFLIP_WAIT) == DD_OK)
        return;

    DDSURFACEDESC backDesc = MakeSurfaceDesc();
    back->GetSurfaceDesc(&backDesc);
    base::Rect src = base::MakeRect(0, 0, static_cast<std::int32_t>(backDesc.dwWidth),
                                    static_cast<std::int32_t>(backDesc.dwHeight));
    base::Rect dst;
    if (!CurrentWindowSystem().ClientRectOnScreen(windowHandle_, &dst))
        return;
    LONG screenWidth = 0;
    LONG screenHeight = 0;
    CurrentWindowSystem().PrimaryScreenSize(screenWidth, screenHeight);
    const base::Rect clip = base::MakeRect(0, 0, screenWidth, screenHeight);

    // A window of another shape than the frame (a tiling manager or a
    // compositor chose its size) shows the whole frame, aspect kept and
    // centred, with black bars beside it.
    const base::Rect fitted = base::FitInside(src.Width(), src.Height(), dst);
    if (!base::IsEmpty(fitted) && fitted != dst) {
        FillBars(*primary, dst, fitted, clip);
        dst = fitted;
    }

    if (VsyncAtWindowed && directDraw2_)
        directDraw2_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);

    DDBLTFX fx = MakeBltFx();
    if (dst.Width() == src.Width() && dst.Height() == src.Height() && AllowRakugaki) {
        std::int32_t x = dst.Left;
        std::int32_t y = dst.Top;
        if (!ClipSourceAt(x, y, src, clip))
            return;
        primary->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), back, &src, DDBLTFAST_WAIT);
    } else if (!AllowRakugaki) {
        // The primary's clipper keeps the blit on the screen, each part
        // scaled as the whole frame is; the frame is cut to the screen
        // beforehand only without one (which scales a window past an edge
        // by whole numbers only).
        if (base::IsEmpty(base::Intersect(dst, clip)) || (!clipper_ && !ClipStretched(dst, src, clip)))
            return;
        primary->Blt(&dst, back, &src, DDBLT_WAIT, &fx);
    } else {
        primary->Blt(&dst, back, &src, DDBLT_WAIT, &fx);
    }
}

std::int32_t TDDDD::Clear() {
    if (!backBuffer_ || !backBuffer_->Surface)
        return DDERR_SURFACELOST;
    DDBLTFX fx = MakeBltFx();
    fx.dwFillColor = BackColor;
    const base::Rect area = base::MakeRect(0, 0, screenWidth_, screenHeight_);
    return backBuffer_->Surface->Blt(&area, nullptr, &area, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

} // namespace dddd
