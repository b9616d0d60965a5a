#include "platform/d3d/software_retained_mode.h"

#include "platform/d3d/d3d.h"
#include "platform/d3d/software_frame.h"
#include "platform/ddraw/ddraw_records.h"

#include <cstdint>

namespace d3d {

using ddraw::DDERR_INVALIDOBJECT;
using ddraw::DDERR_INVALIDPARAMS;

HRESULT Direct3DRMCreate(IDirect3DRM** object) {
    if (const HRESULT injected = EnterOperation(Operation::Direct3DRMCreate);
        injected != D3DRM_OK) {
        if (object) {
            *object = nullptr;
        }
        return injected;
    }
    if (!object) {
        return DDERR_INVALIDPARAMS;
    }
    *object = RetainedMode::Create();
    return D3DRM_OK;
}

// ---- the interfaces ----

HRESULT RetainedModeInterface::QueryInterface(const GUID& iid, void** object) {
    return object_.QueryInterface(iid, object);
}

ULONG RetainedModeInterface::AddRef() {
    return refs_.AddRef();
}

ULONG RetainedModeInterface::Release() {
    return refs_.Release([this] { object_.InterfaceReleased(); });
}

HRESULT RetainedModeInterface::CreateFrame(IDirect3DRMFrame* parent, IDirect3DRMFrame** frame) {
    if (const HRESULT injected = EnterOperation(Operation::CreateFrame); injected != D3DRM_OK) {
        if (frame) {
            *frame = nullptr;
        }
        return injected;
    }
    if (!frame) {
        return DDERR_INVALIDPARAMS;
    }
    *frame = nullptr;
    SoftwareFrame* parentFrame = SoftwareFrame::From(parent);
    if (parent && !parentFrame) {
        return DDERR_INVALIDOBJECT;
    }
    *frame = new SoftwareFrame(parentFrame);
    return D3DRM_OK;
}

HRESULT RetainedModeInterface::CreateViewport(IDirect3DRMDevice2* device, IDirect3DRMFrame* camera,
                                              DWORD x, DWORD y, DWORD width, DWORD height,
                                              IDirect3DRMViewport** viewport) {
    if (const HRESULT injected = EnterOperation(Operation::CreateViewport); injected != D3DRM_OK) {
        if (viewport) {
            *viewport = nullptr;
        }
        return injected;
    }
    if (!device || !camera || !viewport) {
        return DDERR_INVALIDPARAMS;
    }
    *viewport = nullptr;
    const auto right = std::uint64_t{x} + width;
    const auto bottom = std::uint64_t{y} + height;
    if (width == 0 || height == 0 || right > device->GetWidth() || bottom > device->GetHeight()) {
        return DDERR_INVALIDPARAMS;
    }
    *viewport = new SoftwareViewport(device, camera, static_cast<LONG>(x), static_cast<LONG>(y),
                                     width, height);
    return D3DRM_OK;
}

HRESULT RetainedModeInterface::CreateDeviceFromD3D(IDirect3D2* direct3D, IDirect3DDevice2* device,
                                                   IDirect3DRMDevice2** rmDevice) {
    if (const HRESULT injected = EnterOperation(Operation::CreateDeviceFromD3D);
        injected != D3DRM_OK) {
        if (rmDevice) {
            *rmDevice = nullptr;
        }
        return injected;
    }
    if (!direct3D || !device || !rmDevice) {
        return DDERR_INVALIDPARAMS;
    }
    *rmDevice = nullptr;
    ddraw::IDirectDrawSurface* target = nullptr;
    if (const HRESULT result = device->GetRenderTarget(&target); result != D3D_OK) {
        return result;
    }
    ddraw::DDSURFACEDESC desc = ddraw::MakeSurfaceDesc();
    const HRESULT result = target->GetSurfaceDesc(&desc);
    target->Release();
    if (result != ddraw::DD_OK) {
        return result;
    }
    *rmDevice = new SoftwareRMDevice(direct3D, device, desc.dwWidth, desc.dwHeight);
    return D3DRM_OK;
}

// ---- the object ----

IDirect3DRM* RetainedMode::Create() {
    auto* object = new RetainedMode();
    object->first_.refs_.SetCount(1);
    return &object->first_;
}

HRESULT RetainedMode::QueryInterface(const GUID& iid, void** object) {
    if (const HRESULT injected = EnterOperation(Operation::RetainedModeQueryInterface);
        injected != D3DRM_OK) {
        if (object) {
            *object = nullptr;
        }
        return injected;
    }
    if (!object) {
        return DDERR_INVALIDPARAMS;
    }
    RetainedModeInterface* answer = iid == IID_IDirect3DRM    ? &first_
                                    : iid == IID_IDirect3DRM2 ? &second_
                                                              : nullptr;
    if (!answer) {
        *object = nullptr;
        return ddraw::E_NOINTERFACE;
    }
    answer->AddRef();
    *object = static_cast<IDirect3DRM2*>(answer);
    return D3DRM_OK;
}

void RetainedMode::InterfaceReleased() {
    if (first_.refs_.Count() == 0 && second_.refs_.Count() == 0) {
        delete this;
    }
}

// ---- device and viewport ----

SoftwareRMDevice::SoftwareRMDevice(IDirect3D2* direct3D, IDirect3DDevice2* device, DWORD width,
                                   DWORD height)
    : direct3D_(direct3D), device_(device), width_(width), height_(height) {
    direct3D_->AddRef();
    device_->AddRef();
}

SoftwareRMDevice::~SoftwareRMDevice() {
    device_->Release();
    direct3D_->Release();
}

HRESULT SoftwareRMDevice::QueryInterface(const GUID& iid, void** object) {
    return AnswerQuery(iid, IID_IDirect3DRMDevice2, object);
}

HRESULT SoftwareRMDevice::SetBufferCount(DWORD count) {
    if (const HRESULT injected = EnterOperation(Operation::SetBufferCount); injected != D3DRM_OK) {
        return injected;
    }
    if (count == 0) {
        return DDERR_INVALIDPARAMS;
    }
    bufferCount_ = count;
    return D3DRM_OK;
}

HRESULT SoftwareRMDevice::GetDirect3DDevice2(IDirect3DDevice2** device) {
    if (!device) {
        return DDERR_INVALIDPARAMS;
    }
    device_->AddRef();
    *device = device_;
    return D3DRM_OK;
}

SoftwareViewport::SoftwareViewport(IDirect3DRMDevice2* device, IDirect3DRMFrame* camera, LONG x,
                                   LONG y, DWORD width, DWORD height)
    : device_(device), camera_(camera), x_(x), y_(y), width_(width), height_(height) {
    device_->AddRef();
    camera_->AddRef();
}

SoftwareViewport::~SoftwareViewport() {
    camera_->Release();
    device_->Release();
}

HRESULT SoftwareViewport::QueryInterface(const GUID& iid, void** object) {
    return AnswerQuery(iid, IID_IDirect3DRMViewport, object);
}

HRESULT SoftwareViewport::SetBack(D3DVALUE distance) {
    if (const HRESULT injected = EnterOperation(Operation::SetBack); injected != D3DRM_OK) {
        return injected;
    }
    if (!(distance > front_)) {
        return DDERR_INVALIDPARAMS;
    }
    back_ = distance;
    return D3DRM_OK;
}

HRESULT SoftwareViewport::GetCamera(IDirect3DRMFrame** camera) {
    if (!camera) {
        return DDERR_INVALIDPARAMS;
    }
    camera_->AddRef();
    *camera = camera_;
    return D3DRM_OK;
}

HRESULT SoftwareViewport::GetDevice(IDirect3DRMDevice2** device) {
    if (!device) {
        return DDERR_INVALIDPARAMS;
    }
    device_->AddRef();
    *device = device_;
    return D3DRM_OK;
}

} // namespace d3d
