#include "platform/d3d/software_direct3d.h"

#include "platform/d3d/d3d.h"
#include "platform/ddraw/ddraw_constants.h"
#include "platform/ddraw/interface_extension.h"

namespace d3d {

using namespace ddraw;

namespace {

// Why a surface cannot be rendered into, or D3D_OK.
HRESULT CheckRenderTarget(IDirectDrawSurface* target) {
    DDSCAPS caps;
    if (const HRESULT result = target->GetCaps(&caps); result != DD_OK) {
        return result;
    }
    if (!(caps.dwCaps & DDSCAPS_3DDEVICE) || (caps.dwCaps & DDSCAPS_ZBUFFER)) {
        return DDERR_INVALIDCAPS;
    }
    if (target->IsLost() != DD_OK) {
        return DDERR_SURFACELOST;
    }
    DDPIXELFORMAT format;
    format.dwSize = DDPIXELFORMAT::kSize;
    if (const HRESULT result = target->GetPixelFormat(&format); result != DD_OK) {
        return result;
    }
    switch (format.dwRGBBitCount) {
    case 8:
    case 16:
    case 24:
    case 32:
        return D3D_OK;
    default:
        return DDERR_INVALIDPIXELFORMAT;
    }
}

} // namespace

void InstallSoftwareDirect3D() {
    SetInterfaceMaker(IID_IDirect3D2, SoftwareDirect3D::Make);
}

HRESULT SoftwareDirect3D::Make(IDirectDraw2* directDraw, void** result) {
    if (const HRESULT injected = EnterOperation(Operation::Direct3DFromDirectDraw);
        injected != D3D_OK) {
        return injected;
    }
    *result = static_cast<IDirect3D2*>(new SoftwareDirect3D(directDraw));
    return D3D_OK;
}

SoftwareDirect3D::SoftwareDirect3D(IDirectDraw2* directDraw) : directDraw_(directDraw) {
    directDraw_->AddRef();
}

SoftwareDirect3D::~SoftwareDirect3D() {
    directDraw_->Release();
}

HRESULT SoftwareDirect3D::QueryInterface(const GUID& iid, void** object) {
    return AnswerQuery(iid, IID_IDirect3D2, object);
}

HRESULT SoftwareDirect3D::CreateDevice(const GUID& kind, IDirectDrawSurface* target,
                                       IDirect3DDevice2** device) {
    if (const HRESULT injected = EnterOperation(Operation::CreateDevice); injected != D3D_OK) {
        if (device) {
            *device = nullptr;
        }
        return injected;
    }
    if (!target || !device) {
        return DDERR_INVALIDPARAMS;
    }
    *device = nullptr;
    // Everything here is done in software; there is no hardware to drive.
    if (kind == IID_IDirect3DHALDevice) {
        return DDERR_NO3D;
    }
    if (kind != IID_IDirect3DMMXDevice && kind != IID_IDirect3DRGBDevice &&
        kind != IID_IDirect3DRampDevice) {
        return DDERR_INVALIDPARAMS;
    }
    if (const HRESULT result = CheckRenderTarget(target); result != D3D_OK) {
        return result;
    }
    *device = new SoftwareDevice(this, target);
    return D3D_OK;
}

SoftwareDevice::SoftwareDevice(IDirect3D2* direct3D, IDirectDrawSurface* target)
    : direct3D_(direct3D), target_(target) {
    direct3D_->AddRef();
    target_->AddRef();
}

SoftwareDevice::~SoftwareDevice() {
    target_->Release();
    direct3D_->Release();
}

HRESULT SoftwareDevice::QueryInterface(const GUID& iid, void** object) {
    return AnswerQuery(iid, IID_IDirect3DDevice2, object);
}

HRESULT SoftwareDevice::GetDirect3D(IDirect3D2** direct3D) {
    if (!direct3D) {
        return DDERR_INVALIDPARAMS;
    }
    direct3D_->AddRef();
    *direct3D = direct3D_;
    return D3D_OK;
}

HRESULT SoftwareDevice::GetRenderTarget(IDirectDrawSurface** target) {
    if (!target) {
        return DDERR_INVALIDPARAMS;
    }
    target_->AddRef();
    *target = target_;
    return D3D_OK;
}

} // namespace d3d
