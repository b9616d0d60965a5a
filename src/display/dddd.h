#pragma once
// The display component: owns the DirectDraw set-up of its form's window
// (window or full screen, primary surface, one back buffer, clipper,
// palette), presents frames, keeps the registry of off-screen surfaces that
// a new set-up re-creates and reloads, and holds the screen saver off.

#include "display/display_modes.h"
#include "display/retained_mode_setup.h"
#include "platform/ddraw/ddraw.h"
#include "platform/component/form.h"
#include "surfaces/gen_surface.h"
#include "surfaces/surface.h"
#include "surfaces/surface_host.h"
#include "surfaces/surface_keeper.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dddd {

using TDDDDNotifyEvent = std::function<void(ui::TComponent* sender)>;
using TDDDDInitEvent = std::function<void(ui::TComponent* sender, bool fNeedChange)>;

// Retained-mode textures registered for reloading after a new set-up.
class TDDDDTexture {
public:
    virtual ~TDDDDTexture() = default;
    virtual void Invalidate() = 0;
    virtual void Reload() = 0;
};

class TDDDD : public ui::TComponent, public TDDDDSurfaceHost {
public:
    explicit TDDDD(ui::TForm* owner);
    ~TDDDD() override;

    // Published settings (stored in the form's description).
    TDDDDDispMode DisplayMode();
    void SetDisplayMode(TDDDDDispMode mode);
    std::uint32_t BackColor = 0;
    bool AutoDisplayModeInitialize = true;
    bool DisableScreenSaver() const { return disableScreenSaver_; }
    void SetDisableScreenSaver(bool disable);
    bool Use3D = false;
    TD3DOptions D3DOptions = 0;
    bool VsyncAtWindowed = true;
    bool AllowRakugaki = false;
    TDDDDSurfaceMemoryType SurfaceLocation() const override { return surfaceLocation_; }
    void SetSurfaceLocation(TDDDDSurfaceMemoryType location) { surfaceLocation_ = location; }
    TDDDDBackBufferMemoryType BackBufferLocationAtWindowed = bmtDefault;

    TDDDDInitEvent OnInit;
    TDDDDNotifyEvent OnRestore;
    TDDDDNotifyEvent OnChangeDisplayMode;
    TDDDDNotifyEvent OnCleanUp;
    TDDDDNotifyEvent OnEnterMenuLoop;
    TDDDDNotifyEvent OnExitMenuLoop;
    TDDDDNotifyEvent OnDestroy;

    void Loaded() override;

    // Makes a set-up; 0 when it ran to its end. Throws std::out_of_range for
    // a negative size or refresh rate.
    std::int32_t Initialize(bool fullScreen, std::int32_t width, std::int32_t height,
                            std::int32_t bitCount, std::int32_t refreshRate,
                            const std::string& driverName);
    void Finalize();
    void Flip();
    std::int32_t Clear();
    std::int32_t GetScreenBitsPerPixel() override;

    bool IsDisplayModeAvailable(std::int32_t width, std::int32_t height, std::int32_t bitCount,
                                std::int32_t refreshRate);
    // The DirectDraw object of the driver listed as name, or null.
    ddraw::IDirectDraw* FindDriver(const std::string& name);

    void RegisterSurface(TDDDDSurface* surface) override;
    void UnregisterSurface(TDDDDSurface* surface) override;
    void RestoreSurfaces();
    void InvalidateTextures();

    // State other parts read.
    std::int32_t BitCount() const { return bitCount_; }
    bool FullScreen() const override { return fullScreen_; }
    std::int32_t ScreenWidth() const { return screenWidth_; }
    std::int32_t ScreenHeight() const { return screenHeight_; }
    std::uint32_t RefreshRate() const { return refreshRate_; }
    ddraw::HWND WindowHandle() const { return windowHandle_; }
    TDDDDGenSurface* FrontBuffer() const { return frontBuffer_.get(); }
    TDDDDGenSurface* BackBuffer() const override { return backBuffer_.get(); }
    ddraw::IDirectDraw2* DirectDraw2() const override { return directDraw2_; }
    ddraw::IDirectDraw* DirectDraw() const { return directDraw_; }
    ddraw::IDirectDrawClipper* Clipper() const { return clipper_; }
    ddraw::IDirectDrawPalette* Palette() const { return palette_; }
    const std::vector<std::string>& Drivers() const { return drivers_; }
    const std::vector<std::unique_ptr<TDDDDSurfaceKeeper>>& Keepers() const { return keepers_; }
    std::vector<TDDDDTexture*>& Textures() { return textures_; }
    const std::array<ddraw::PALETTEENTRY, 256>& PaletteEntries() const { return paletteEntries_; }
    bool Hardware3D() const { return hardware3D_; }
    // The Direct3D retained-mode state of a set-up with Use3D. A camera set
    // before Initialize gets a viewport; the component keeps a reference.
    std::uint8_t DeviceKind() const { return retainedMode_.DeviceKind(); }
    d3d::IDirect3DRMFrame* Camera() const { return retainedMode_.Camera(); }
    void SetCamera(d3d::IDirect3DRMFrame* camera) { retainedMode_.SetCamera(camera); }
    const RetainedModeSetUp& RetainedMode() const { return retainedMode_; }
    bool Waiting() const { return waiting_; }
    bool Ready() const { return ready_; }
    bool Destroying() const { return destroying_; }

private:
    ui::TForm* OwnerForm() const { return ownerForm_; }
    void OwnerCreate();
    void ApplyDisplayMode(TDDDDDispMode mode);
    ddraw::IDirectDraw* Find3DDriver();
    void SetUpFullScreen(std::int32_t width, std::int32_t height, std::int32_t bitCount,
                         std::int32_t refreshRate, ddraw::IDirectDrawSurface*& primary,
                         ddraw::IDirectDrawSurface*& back);
    void SetUpWindowed(std::int32_t width, std::int32_t height,
                       ddraw::IDirectDrawSurface*& primary, ddraw::IDirectDrawSurface*& back);
    void SetUpPalette(ddraw::IDirectDrawSurface* primary, ddraw::IDirectDrawSurface* back);

    ui::TForm* ownerForm_;
    std::int32_t bitCount_ = 0;
    bool fullScreen_ = false;
    std::int32_t screenWidth_ = 0;
    std::int32_t screenHeight_ = 0;
    std::uint32_t refreshRate_ = 0;
    TDDDDDispMode displayMode_ = dmWin640x480x8;
    bool disableScreenSaver_ = true;
    TDDDDSurfaceMemoryType surfaceLocation_ = smtDefault;
    ddraw::HWND windowHandle_ = nullptr;
    ui::TNotifyEvent ownerOnCreate_;
    bool waiting_ = false;
    bool destroying_ = false;
    bool ready_ = false;
    bool savedScreenSaverActive_ = true;
    std::unique_ptr<TDDDDGenSurface> frontBuffer_;
    std::unique_ptr<TDDDDGenSurface> backBuffer_;
    ddraw::IDirectDraw2* directDraw2_ = nullptr;
    ddraw::IDirectDraw* directDraw_ = nullptr;
    ddraw::IDirectDrawClipper* clipper_ = nullptr;
    std::vector<std::string> drivers_;
    bool hardware3D_ = false;
    RetainedModeSetUp retainedMode_;
    std::vector<std::unique_ptr<TDDDDSurfaceKeeper>> keepers_;
    std::vector<TDDDDTexture*> textures_;
    std::array<ddraw::PALETTEENTRY, 256> paletteEntries_{};
    ddraw::IDirectDrawPalette* palette_ = nullptr;
};

} // namespace dddd
