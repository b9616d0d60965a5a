#pragma once
// The Direct3D retained-mode objects a set-up with Use3D adds on top of the
// 2D one (Z buffer, retained-mode object and device, Direct3D object and
// device, a viewport on the camera), made and released at the display
// component's word from Initialize and Finalize.

#include "display/display_modes.h"
#include "platform/d3d/d3d.h"
#include "platform/ddraw/ddraw.h"
#include "surfaces/gen_surface.h"

#include <cstdint>
#include <memory>

namespace dddd {

class TDDDDSurfaceHost;

// DeviceKind values: which Direct3D device the set-up got.
inline constexpr std::uint8_t dkHAL = 1;
inline constexpr std::uint8_t dkMMX = 2;
inline constexpr std::uint8_t dkRGB = 3;
inline constexpr std::uint8_t dkRamp = 4;

class RetainedModeSetUp {
public:
    // What the 2D set-up made that the 3D one builds on.
    struct Screen {
        ddraw::IDirectDraw2* DirectDraw;
        TDDDDGenSurface* BackBuffer;
        TDDDDSurfaceHost* Owner;
        std::int32_t Width;
        std::int32_t Height;
        TD3DOptions Options;
        bool Hardware3D;
    };

    RetainedModeSetUp() = default;
    RetainedModeSetUp(const RetainedModeSetUp&) = delete;
    RetainedModeSetUp& operator=(const RetainedModeSetUp&) = delete;
    ~RetainedModeSetUp();

    // Makes the objects; 0, or the failure of the retained-mode device, after
    // which the set-up must stop. Other failures are logged and it goes on.
    ddraw::HRESULT SetUp(const Screen& screen);
    // Viewport, retained-mode device and Direct3D device: the first 3D
    // releases of a Finalize, before the palette goes.
    void ReleaseDevices();
    // The Direct3D object and the Z buffer's surface object, and with
    // destroying the retained-mode object, which otherwise lives on from
    // one set-up to the next.
    void ReleaseObjects(bool destroying);

    d3d::IDirect3DRM2* Direct3DRM() const { return retainedMode_; }
    d3d::IDirect3DRMDevice2* Direct3DRMDevice() const { return rmDevice_; }
    d3d::IDirect3D2* Direct3D() const { return direct3D_; }
    d3d::IDirect3DDevice2* Direct3DDevice() const { return device_; }
    d3d::IDirect3DRMViewport* Viewport() const { return viewport_; }
    TDDDDGenSurface* ZBuffer() const { return zBuffer_.get(); }
    std::uint8_t DeviceKind() const { return deviceKind_; }

    // The frame the next set-up's viewport looks through (null: no
    // viewport). Holds a reference on it.
    d3d::IDirect3DRMFrame* Camera() const { return camera_; }
    void SetCamera(d3d::IDirect3DRMFrame* camera);

private:
    ddraw::IDirectDrawSurface* CreateZBuffer(const Screen& screen);
    void CreateDevice(ddraw::IDirectDrawSurface* back, TD3DOptions options, bool hardware3D);

    d3d::IDirect3DRM2* retainedMode_ = nullptr;
    d3d::IDirect3DRMDevice2* rmDevice_ = nullptr;
    d3d::IDirect3D2* direct3D_ = nullptr;
    d3d::IDirect3DDevice2* device_ = nullptr;
    std::unique_ptr<TDDDDGenSurface> zBuffer_;
    std::uint8_t deviceKind_ = 0;
    d3d::IDirect3DRMViewport* viewport_ = nullptr;
    d3d::IDirect3DRMFrame* camera_ = nullptr;
};

} // namespace dddd
