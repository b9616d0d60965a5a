#pragma once
// Direct3D of the software DirectDraw and its devices. The devices are
// software ones (MMX, RGB, Ramp); they check their render target and keep
// it, but rasterise nothing.

#include "platform/d3d/d3d_interfaces.h"
#include "platform/d3d/ref_counted.h"

namespace d3d {

class SoftwareDirect3D final : public RefCounted<IDirect3D2> {
public:
    // The maker registered with the DirectDraw stand-in.
    static HRESULT Make(ddraw::IDirectDraw2* directDraw, void** result);

    HRESULT QueryInterface(const GUID& iid, void** object) override;
    HRESULT CreateDevice(const GUID& kind, ddraw::IDirectDrawSurface* target,
                         IDirect3DDevice2** device) override;

private:
    explicit SoftwareDirect3D(ddraw::IDirectDraw2* directDraw);
    ~SoftwareDirect3D() override;

    ddraw::IDirectDraw2* directDraw_;
};

class SoftwareDevice final : public RefCounted<IDirect3DDevice2> {
public:
    SoftwareDevice(IDirect3D2* direct3D, ddraw::IDirectDrawSurface* target);

    HRESULT QueryInterface(const GUID& iid, void** object) override;
    HRESULT GetDirect3D(IDirect3D2** direct3D) override;
    HRESULT GetRenderTarget(ddraw::IDirectDrawSurface** target) override;

private:
    ~SoftwareDevice() override;

    IDirect3D2* direct3D_;
    ddraw::IDirectDrawSurface* target_;
};

} // namespace d3d
