#pragma once
// The retained-mode object of the stand-in with its two interfaces, and the
// retained-mode device and viewport it makes. They record what a set-up
// asks for (buffer count, camera, rectangle, back plane) and keep the
// references the Windows objects keep; they render nothing.

#include "platform/d3d/d3d_interfaces.h"
#include "platform/d3d/ref_counted.h"
#include "platform/ddraw/interface_count.h"

namespace d3d {

class RetainedMode;

// One interface of the retained-mode object, with its own count.
class RetainedModeInterface final : public IDirect3DRM2 {
public:
    explicit RetainedModeInterface(RetainedMode& object) : object_(object) {}

    HRESULT QueryInterface(const GUID& iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateFrame(IDirect3DRMFrame* parent, IDirect3DRMFrame** frame) override;
    HRESULT CreateViewport(IDirect3DRMDevice2* device, IDirect3DRMFrame* camera, DWORD x, DWORD y,
                           DWORD width, DWORD height, IDirect3DRMViewport** viewport) override;
    HRESULT CreateDeviceFromD3D(IDirect3D2* direct3D, IDirect3DDevice2* device,
                                IDirect3DRMDevice2** rmDevice) override;

private:
    friend class RetainedMode;
    RetainedMode& object_;
    ddraw::InterfaceCount refs_;
};

class RetainedMode {
public:
    // A new object with one reference on its first interface.
    static IDirect3DRM* Create();

    HRESULT QueryInterface(const GUID& iid, void** object);
    void InterfaceReleased();

private:
    RetainedMode() = default;
    ~RetainedMode() = default;

    RetainedModeInterface first_{*this};
    RetainedModeInterface second_{*this};
};

class SoftwareRMDevice final : public RefCounted<IDirect3DRMDevice2> {
public:
    SoftwareRMDevice(IDirect3D2* direct3D, IDirect3DDevice2* device, DWORD width, DWORD height);

    HRESULT QueryInterface(const GUID& iid, void** object) override;
    HRESULT SetBufferCount(DWORD count) override;
    DWORD GetBufferCount() override { return bufferCount_; }
    DWORD GetWidth() override { return width_; }
    DWORD GetHeight() override { return height_; }
    HRESULT GetDirect3DDevice2(IDirect3DDevice2** device) override;

private:
    ~SoftwareRMDevice() override;

    IDirect3D2* direct3D_;
    IDirect3DDevice2* device_;
    DWORD width_;
    DWORD height_;
    DWORD bufferCount_ = 1;
};

class SoftwareViewport final : public RefCounted<IDirect3DRMViewport> {
public:
    SoftwareViewport(IDirect3DRMDevice2* device, IDirect3DRMFrame* camera, LONG x, LONG y,
                     DWORD width, DWORD height);

    HRESULT QueryInterface(const GUID& iid, void** object) override;
    HRESULT SetBack(D3DVALUE distance) override;
    D3DVALUE GetBack() override { return back_; }
    D3DVALUE GetFront() override { return front_; }
    HRESULT GetCamera(IDirect3DRMFrame** camera) override;
    HRESULT GetDevice(IDirect3DRMDevice2** device) override;
    LONG GetX() override { return x_; }
    LONG GetY() override { return y_; }
    DWORD GetWidth() override { return width_; }
    DWORD GetHeight() override { return height_; }

private:
    ~SoftwareViewport() override;

    IDirect3DRMDevice2* device_;
    IDirect3DRMFrame* camera_;
    LONG x_;
    LONG y_;
    DWORD width_;
    DWORD height_;
    D3DVALUE front_ = 1.0f;
    D3DVALUE back_ = 100.0f;
};

} // namespace d3d
