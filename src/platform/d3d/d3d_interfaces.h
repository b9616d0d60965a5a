#pragma once
// The Direct3D and retained-mode objects as the display component sees
// them: abstract, reference counted (Release returns the references left),
// every operation answering 0 or a failure code. They set a 3D device up on
// a DirectDraw surface; they draw nothing (see d3d.h).

#include "platform/d3d/d3d_types.h"
#include "platform/ddraw/ddraw_interfaces.h"

namespace d3d {

using ddraw::IUnknown;

class IDirect3D2;

// A device drawing into a DirectDraw surface made with DDSCAPS_3DDEVICE.
// It holds a reference on that surface and on its Direct3D object.
class IDirect3DDevice2 : public IUnknown {
public:
    virtual HRESULT GetDirect3D(IDirect3D2** direct3D) = 0;
    virtual HRESULT GetRenderTarget(ddraw::IDirectDrawSurface** target) = 0;
};

// Obtained from a DirectDraw object (QueryInterface with IID_IDirect3D2);
// holds a reference on that object.
class IDirect3D2 : public IUnknown {
public:
    // kind: IID_IDirect3DHALDevice, IID_IDirect3DMMXDevice,
    // IID_IDirect3DRGBDevice or IID_IDirect3DRampDevice.
    virtual HRESULT CreateDevice(const GUID& kind, ddraw::IDirectDrawSurface* target,
                                 IDirect3DDevice2** device) = 0;
};

// A frame of a scene: a parent holds references on its children, a child
// knows its parent while the parent exists.
class IDirect3DRMFrame : public IUnknown {
public:
    // A counted reference to the parent, or null for a root frame.
    virtual HRESULT GetParent(IDirect3DRMFrame** parent) = 0;
};

// A retained-mode device over a Direct3D device; holds references on the
// Direct3D object and device it was made from.
class IDirect3DRMDevice2 : public IUnknown {
public:
    // How many buffers the device renders through (1 or more).
    virtual HRESULT SetBufferCount(DWORD count) = 0;
    virtual DWORD GetBufferCount() = 0;
    // The size of the Direct3D device's render target.
    virtual DWORD GetWidth() = 0;
    virtual DWORD GetHeight() = 0;
    virtual HRESULT GetDirect3DDevice2(IDirect3DDevice2** device) = 0;
};

// A rectangle of a retained-mode device seen from a camera frame, between a
// front and a back clipping plane; holds references on both.
class IDirect3DRMViewport : public IUnknown {
public:
    // The back plane must lie beyond the front plane (1.0).
    virtual HRESULT SetBack(D3DVALUE distance) = 0;
    virtual D3DVALUE GetBack() = 0;
    virtual D3DVALUE GetFront() = 0;
    virtual HRESULT GetCamera(IDirect3DRMFrame** camera) = 0;
    virtual HRESULT GetDevice(IDirect3DRMDevice2** device) = 0;
    virtual LONG GetX() = 0;
    virtual LONG GetY() = 0;
    virtual DWORD GetWidth() = 0;
    virtual DWORD GetHeight() = 0;
};

// The retained-mode object from Direct3DRMCreate. Its two interfaces
// (IID_IDirect3DRM, IID_IDirect3DRM2) keep their own reference counts; the
// object lives while either has references.
class IDirect3DRM : public IUnknown {
public:
    // parent: null for a root frame.
    virtual HRESULT CreateFrame(IDirect3DRMFrame* parent, IDirect3DRMFrame** frame) = 0;
    // The rectangle must lie inside the device.
    virtual HRESULT CreateViewport(IDirect3DRMDevice2* device, IDirect3DRMFrame* camera, DWORD x,
                                   DWORD y, DWORD width, DWORD height,
                                   IDirect3DRMViewport** viewport) = 0;
};

class IDirect3DRM2 : public IDirect3DRM {
public:
    virtual HRESULT CreateDeviceFromD3D(IDirect3D2* direct3D, IDirect3DDevice2* device,
                                        IDirect3DRMDevice2** rmDevice) = 0;
};

// Releases a reference if there is one, unchecked, and forgets it.
template <typename T> void ReleaseReference(T*& object) {
    if (object) {
        object->Release();
    }
    object = nullptr;
}

using LPDIRECT3D2 = IDirect3D2*;
using LPDIRECT3DDEVICE2 = IDirect3DDevice2*;
using LPDIRECT3DRM = IDirect3DRM*;
using LPDIRECT3DRM2 = IDirect3DRM2*;
using LPDIRECT3DRMDEVICE2 = IDirect3DRMDevice2*;
using LPDIRECT3DRMVIEWPORT = IDirect3DRMViewport*;
using LPDIRECT3DRMFRAME = IDirect3DRMFrame*;

} // namespace d3d
