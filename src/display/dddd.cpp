// The display component's lifecycle, settings, driver and mode lists and its
// surface registry. The set-up itself is in screen_setup.cpp.
#include "display/dddd.h"

#include "diagnostics/dddd_log.h"
#include "diagnostics/diagnostic_log.h"
#include "platform/component/desktop.h"

#include <algorithm>
#include <cstdio>

namespace dddd {

using namespace ddraw;

namespace {

std::string DriverEntry(const char* description, const char* name) {
    return std::string(description ? description : "") + " (" + (name ? name : "") + ")";
}

BOOL CollectDriver(GUID*, const char* description, const char* name, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(DriverEntry(description, name));
    return 1;
}

} // namespace

TDDDD::TDDDD(ui::TForm* owner) : ui::TComponent(owner), ownerForm_(owner) {
    if (owner && owner->Designing())
        SetDesigning(true);
    if (Designing())
        return;
    destroying_ = false;
    waiting_ = true;
    ready_ = false;
    if (ownerForm_) {
        ownerOnCreate_ = ownerForm_->OnCreate;
        ownerForm_->OnCreate = [this] { OwnerCreate(); };
    }
    savedScreenSaverActive_ = ui::CurrentDesktop().ScreenSaverActive();
    refreshRate_ = 0;
    DirectDrawEnumerate(CollectDriver, &drivers_);
}

TDDDD::~TDDDD() {
    destroying_ = true;
    if (!Designing()) {
        drivers_.clear();
        SetDisableScreenSaver(!savedScreenSaverActive_);
        if (OnDestroy)
            OnDestroy(this);
        Finalize();
    }
    // Surfaces that outlive the component must not call back into it.
    for (auto& keeper : keepers_)
        keeper->Surface->Owner = nullptr;
    keepers_.clear();
    backBuffer_.reset();
    frontBuffer_.reset();
}

void TDDDD::Loaded() {
    if (!Designing())
        SetDisableScreenSaver(disableScreenSaver_);
}

void TDDDD::SetDisableScreenSaver(bool disable) {
    disableScreenSaver_ = disable;
    if (!Designing())
        ui::CurrentDesktop().SetScreenSaverActive(!disable);
}

TDDDDDispMode TDDDD::DisplayMode() {
    if (!Designing())
        ReportMessage("ScreenModeプロパティは読み込み禁止です");
    return displayMode_;
}

void TDDDD::ApplyDisplayMode(TDDDDDispMode mode) {
    displayMode_ = mode;
    if (mode == dmWinVariable) {
        screenWidth_ = ownerForm_ ? ownerForm_->ClientWidth() : 0;
        screenHeight_ = ownerForm_ ? ownerForm_->ClientHeight() : 0;
        bitCount_ = GetScreenBitsPerPixel();
        fullScreen_ = false;
    } else {
        const DisplayModeSetup setup = DisplayModeTable(mode);
        screenWidth_ = setup.Width;
        screenHeight_ = setup.Height;
        bitCount_ = setup.BitCount;
        fullScreen_ = setup.FullScreen;
    }
}

void TDDDD::SetDisplayMode(TDDDDDispMode mode) {
    ApplyDisplayMode(mode);
    if (!Designing() && !waiting_)
        Initialize(fullScreen_, screenWidth_, screenHeight_, bitCount_, 0, "");
}

void TDDDD::OwnerCreate() {
    windowHandle_ = ownerForm_->Handle();
    if (AutoDisplayModeInitialize && !fullScreen_ && displayMode_ != dmWinVariable) {
        ApplyDisplayMode(displayMode_);
        if (GetScreenBitsPerPixel() != bitCount_) {
            ownerForm_->Hide();
            char text[160];
            std::snprintf(text, sizeof text,
                          "画面モードが不適切です 色数を%dビットにして起動し直してください",
                          static_cast<int>(bitCount_));
            ui::CurrentDesktop().ShowMessage("警告", text, ui::MessageKind::Warning);
            diagnostics::Halt();
        }
    }
    Initialize(false, 128, 128, GetScreenBitsPerPixel(), 0, "");
    if (AutoDisplayModeInitialize)
        ApplyDisplayMode(displayMode_);
    if (!waiting_)
        return;
    bool needChange = false;
    waiting_ = false;
    if (AutoDisplayModeInitialize) {
        if (fullScreen_)
            needChange = !IsDisplayModeAvailable(screenWidth_, screenHeight_, bitCount_, 0);
        if (!needChange)
            Initialize(fullScreen_, screenWidth_, screenHeight_, bitCount_, 0, "");
    } else {
        needChange = true;
    }
    if (ownerOnCreate_)
        ownerOnCreate_();
    if (OnInit)
        OnInit(ownerForm_, needChange);
    ready_ = true;
}

bool TDDDD::IsDisplayModeAvailable(std::int32_t width, std::int32_t height,
                                   std::int32_t bitCount, std::int32_t refreshRate) {
    struct Table {
        std::array<DDSURFACEDESC, 256> modes;
        std::size_t count = 0;
    };
    auto table = std::make_unique<Table>();
    if (!directDraw2_)
        return false;
    DDSURFACEDESC match;
    match.dwSize = DDSURFACEDESC::kSize;
    directDraw2_->EnumDisplayModes(
        0, &match, table.get(), [](DDSURFACEDESC* mode, void* context) -> HRESULT {
            auto* t = static_cast<Table*>(context);
            if (t->count >= t->modes.size())
                return DDENUMRET_CANCEL;
            t->modes[t->count++] = *mode;
            return t->count < t->modes.size() ? DDENUMRET_OK : DDENUMRET_CANCEL;
        });
    auto matches = [](std::int32_t wanted, DWORD actual) {
        return wanted == 0 || (wanted > 0 && static_cast<DWORD>(wanted) == actual);
    };
    for (std::size_t i = 0; i < table->count; ++i) {
        const DDSURFACEDESC& mode = table->modes[i];
        if (matches(width, mode.dwWidth) && matches(height, mode.dwHeight) &&
            matches(bitCount, mode.ddpfPixelFormat.dwRGBBitCount) &&
            matches(refreshRate, mode.dwRefreshRate))
            return true;
    }
    return false;
}

IDirectDraw* TDDDD::FindDriver(const std::string& name) {
    struct Search {
        std::string wanted;
        IDirectDraw* found = nullptr;
    } search{name.substr(0, 255)};
    DirectDrawEnumerate(
        [](GUID* guid, const char* description, const char* driverName, void* context) -> BOOL {
            auto* s = static_cast<Search*>(context);
            if (DriverEntry(description, driverName) != s->wanted)
                return 1;
            IDirectDraw* object = nullptr;
            if (DirectDrawCreate(guid, &object, nullptr) != DD_OK || !object)
                return 1;
            s->found = object;
            return 0;
        },
        &search);
    return search.found;
}

void TDDDD::RegisterSurface(TDDDDSurface* surface) {
    auto same = [surface](const auto& keeper) { return keeper->Surface == surface; };
    auto it = std::find_if(keepers_.begin(), keepers_.end(), same);
    if (it != keepers_.end())
        keepers_.erase(it);
    keepers_.push_back(std::make_unique<TDDDDSurfaceKeeper>(this, surface));
}

void TDDDD::UnregisterSurface(TDDDDSurface* surface) {
    auto same = [surface](const auto& keeper) { return keeper->Surface == surface; };
    auto it = std::find_if(keepers_.begin(), keepers_.end(), same);
    if (it != keepers_.end())
        keepers_.erase(it);
}

void TDDDD::RestoreSurfaces() {
    for (auto& keeper : keepers_)
        keeper->Restore();
    for (TDDDDTexture* texture : textures_)
        texture->Reload();
}

void TDDDD::InvalidateTextures() {
    for (TDDDDTexture* texture : textures_)
        texture->Invalidate();
}

std::int32_t TDDDD::GetScreenBitsPerPixel() { return ui::CurrentDesktop().ScreenBitsPerPixel(); }

} // namespace dddd
