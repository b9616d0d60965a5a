#pragma once
// The DirectDraw object of the software stand-in: one per screen it was
// created for, with a cooperative level, an optional emulated full-screen
// display mode, a video-memory budget and the surfaces it made. Its two
// interfaces (IDirectDraw, IDirectDraw2) keep their own reference counts;
// the object goes when both reach 0, and its surfaces become lost.

#include "platform/ddraw/ddraw_interfaces.h"
#include "platform/ddraw/interface_count.h"
#include "platform/ddraw/software_settings.h"
#include "platform/ddraw/window_system.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace ddraw {

class SoftwareSurface;
class SoftwareDirectDraw;

// One interface of the object; forwards to it.
class DirectDrawInterface final : public IDirectDraw2 {
public:
    explicit DirectDrawInterface(SoftwareDirectDraw& object) : object_(object) {}

    HRESULT QueryInterface(const GUID& iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) override;
    HRESULT CreatePalette(DWORD flags, const PALETTEENTRY* entries, IDirectDrawPalette** palette,
                          IUnknown* outer) override;
    HRESULT CreateSurface(const DDSURFACEDESC* desc, IDirectDrawSurface** surface,
                          IUnknown* outer) override;
    HRESULT EnumDisplayModes(DWORD flags, const DDSURFACEDESC* match, void* context,
                             LPDDENUMMODESCALLBACK callback) override;
    HRESULT GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) override;
    HRESULT GetDisplayMode(DDSURFACEDESC* desc) override;
    HRESULT RestoreDisplayMode() override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags) override;
    HRESULT WaitForVerticalBlank(DWORD flags, void* event) override;
    HRESULT GetAvailableVidMem(const DDSCAPS* caps, DWORD* total, DWORD* free) override;

    ULONG References() const { return refs_.Count(); }

private:
    friend class SoftwareDirectDraw;
    SoftwareDirectDraw& object_;
    InterfaceCount refs_;
};

class SoftwareDirectDraw {
public:
    // A new object with one reference on its first interface.
    static IDirectDraw* Create(int screenIndex, const ScreenInfo& screen);

    // Operations of the interfaces.
    HRESULT QueryInterface(const GUID& iid, void** object);
    HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer);
    HRESULT CreatePalette(DWORD flags, const PALETTEENTRY* entries, IDirectDrawPalette** palette,
                          IUnknown* outer);
    HRESULT CreateSurface(const DDSURFACEDESC* desc, IDirectDrawSurface** surface, IUnknown* outer);
    HRESULT EnumDisplayModes(DWORD flags, const DDSURFACEDESC* match, void* context,
                             LPDDENUMMODESCALLBACK callback);
    HRESULT GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps);
    HRESULT GetDisplayMode(DDSURFACEDESC* desc);
    HRESULT RestoreDisplayMode();
    HRESULT SetCooperativeLevel(HWND window, DWORD flags);
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags);
    HRESULT WaitForVerticalBlank(DWORD flags, void* event);
    HRESULT GetAvailableVidMem(const DDSCAPS* caps, DWORD* total, DWORD* free);

    // Used by the surfaces.
    bool ChargeVideoMemory(std::size_t bytes);
    void UnchargeVideoMemory(std::size_t bytes);
    void Forget(SoftwareSurface* surface);
    // Shows the changed parts of the primary, all of one drawing, and has
    // them sent to the screen before returning. False when one could not be
    // shown (no window, hidden, or off it).
    bool PresentPrimary(SoftwareSurface& primary, std::span<const RECT> changed);
    // Whether the primary is shown as a whole frame whatever part changed
    // (the exclusive full screen), rather than part by part in a window.
    bool ShowsWholeFrames() const { return mode_ && Exclusive(); }
    bool DisplayMatches(LONG width, LONG height, DWORD bitsPerPixel) const;

    // Called by an interface whose count reached 0.
    void InterfaceReleased();

private:
    struct Mode {
        LONG Width;
        LONG Height;
        DWORD BitsPerPixel;
    };

    SoftwareDirectDraw(int screenIndex, const ScreenInfo& screen);
    ~SoftwareDirectDraw();
    Mode CurrentDisplay() const;
    bool Exclusive() const;
    HRESULT CreatePrimary(const DDSURFACEDESC& desc, DWORD caps, IDirectDrawSurface** surface);
    void LoseDisplayMemory();
    void LeaveDisplayMode();

    DirectDrawInterface first_{*this};
    DirectDrawInterface second_{*this};
    int screenIndex_;
    ScreenInfo screen_;
    SoftwareSettings settings_;
    std::size_t videoMemoryUsed_ = 0;
    HWND window_ = nullptr;
    DWORD cooperativeFlags_ = 0;
    std::optional<Mode> mode_;
    std::vector<SoftwareSurface*> surfaces_;
    SoftwareSurface* primary_ = nullptr;
};

} // namespace ddraw
