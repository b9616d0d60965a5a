#pragma once
// A stand-in for the display component that surfaces live on: a software
// DirectDraw object (wrapped in the recording double), a back buffer, the
// desktop depth and the placement setting, and the registrations it gets.

#include "display/recording_direct_draw.h"
#include "surfaces/gen_surface.h"
#include "surfaces/surface.h"
#include "surfaces/surface_host.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

namespace surfacetest {

class FakeHost : public dddd::TDDDDSurfaceHost {
public:
    // displayBits 0: a window on the 32-bit desktop; otherwise an emulated
    // full screen of 640x480 at that depth. backCaps: the back buffer's memory.
    explicit FakeHost(int displayBits = 0, ddraw::DWORD backCaps = ddraw::DDSCAPS_SYSTEMMEMORY)
        : fullScreen_(displayBits != 0) {
        using namespace ddraw;
        IDirectDraw* first = nullptr;
        if (DirectDrawCreate(nullptr, &first, nullptr) != DD_OK)
            throw std::runtime_error("no DirectDraw");
        IDirectDraw2* second = nullptr;
        first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&second));
        first->Release();
        real_ = second;
        recorder_ = new displaytest::RecordingDirectDraw(real_, real_, &Calls);
        real_->AddRef(); // the recorder releases its own reference
        if (fullScreen_) {
            real_->SetCooperativeLevel(this, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
            real_->SetDisplayMode(640, 480, static_cast<DWORD>(displayBits), 0, 0);
        } else {
            real_->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
        }
        DDSURFACEDESC desc = MakeSurfaceDesc();
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = 640;
        desc.dwHeight = 480;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | backCaps;
        IDirectDrawSurface* back = nullptr;
        real_->CreateSurface(&desc, &back, nullptr);
        back_ = std::make_unique<dddd::TDDDDGenSurface>(this, back, 640, 480);
        backSurface_ = back;
        Calls.clear();
    }
    ~FakeHost() {
        back_.reset();
        if (backSurface_)
            backSurface_->Release();
        if (fullScreen_)
            real_->RestoreDisplayMode();
        recorder_->Release();
        real_->Release();
    }

    ddraw::IDirectDraw2* DirectDraw2() const override { return recorder_; }
    dddd::TDDDDGenSurface* BackBuffer() const override { return back_.get(); }
    bool FullScreen() const override { return fullScreen_; }
    dddd::TDDDDSurfaceMemoryType SurfaceLocation() const override { return Location; }
    std::int32_t GetScreenBitsPerPixel() override { return ScreenBits; }
    void RegisterSurface(dddd::TDDDDSurface* surface) override { Registered.push_back(surface); }
    void UnregisterSurface(dddd::TDDDDSurface* surface) override {
        std::erase(Registered, surface);
    }

    dddd::TDDDDSurfaceMemoryType Location = dddd::smtDefault;
    std::int32_t ScreenBits = 32;
    std::vector<dddd::TDDDDSurface*> Registered;
    std::vector<std::string> Calls;

private:
    bool fullScreen_;
    ddraw::IDirectDraw2* real_ = nullptr;
    displaytest::RecordingDirectDraw* recorder_ = nullptr;
    ddraw::IDirectDrawSurface* backSurface_ = nullptr;
    std::unique_ptr<dddd::TDDDDGenSurface> back_;
};

} // namespace surfacetest
