#pragma once
// Doubles for the 3D set-up: a DirectDraw object that can claim 3D
// hardware, refuse Z-buffer depths and hand out a Direct3D object that
// writes down each device kind it is asked for. Everything else goes to the
// software objects.

#include "platform/d3d/d3d.h"
#include "platform/ddraw/ddraw.h"

#include <algorithm>
#include <string>
#include <vector>

namespace displaytest {

struct Direct3DScript {
    // Every driver claims 3D hardware with texture surfaces.
    bool Claim3DHardware = false;
    std::vector<ddraw::DWORD> RefusedDepths;
    std::vector<std::string> Calls;
};

inline const char* KindName(const ddraw::GUID& kind) {
    if (kind == d3d::IID_IDirect3DHALDevice)
        return "HAL";
    if (kind == d3d::IID_IDirect3DMMXDevice)
        return "MMX";
    if (kind == d3d::IID_IDirect3DRGBDevice)
        return "RGB";
    if (kind == d3d::IID_IDirect3DRampDevice)
        return "Ramp";
    return "?";
}

// Shares the wrapped object's count and goes with it.
class RecordingDirect3D : public d3d::IDirect3D2 {
public:
    RecordingDirect3D(d3d::IDirect3D2* inner, Direct3DScript* script)
        : inner_(inner), script_(script) {}

    ddraw::HRESULT QueryInterface(const ddraw::GUID& iid, void** object) override {
        return inner_->QueryInterface(iid, object);
    }
    ddraw::ULONG AddRef() override { return inner_->AddRef(); }
    ddraw::ULONG Release() override {
        const ddraw::ULONG left = inner_->Release();
        if (left == 0)
            delete this;
        return left;
    }
    ddraw::HRESULT CreateDevice(const ddraw::GUID& kind, ddraw::IDirectDrawSurface* target,
                                d3d::IDirect3DDevice2** device) override {
        const ddraw::HRESULT result = inner_->CreateDevice(kind, target, device);
        script_->Calls.push_back(std::string("CreateDevice ") + KindName(kind) +
                                 (result == ddraw::DD_OK ? "" : " failed"));
        return result;
    }

private:
    d3d::IDirect3D2* inner_;
    Direct3DScript* script_;
};

// Wraps one interface of a software DirectDraw object; asked for the
// second interface it wraps that one too, so that each keeps its own count.
class ScriptedDirectDraw : public ddraw::ForwardingDirectDraw {
public:
    ScriptedDirectDraw(ddraw::IDirectDraw2* inner, Direct3DScript* script)
        : ForwardingDirectDraw(inner), script_(script) {}

    static void Install(Direct3DScript* script) {
        ddraw::SetDirectDrawCreateOverride([script](const ddraw::GUID* guid,
                                                    ddraw::IDirectDraw** object) {
            ddraw::IDirectDraw* real = nullptr;
            const ddraw::HRESULT result = ddraw::CreateSoftwareDirectDraw(guid, &real);
            script->Calls.push_back(guid ? "DirectDrawCreate secondary"
                                         : "DirectDrawCreate primary");
            *object = result == ddraw::DD_OK
                          ? new ScriptedDirectDraw(dynamic_cast<ddraw::IDirectDraw2*>(real), script)
                          : nullptr;
            return result;
        });
    }
    static void Uninstall() { ddraw::SetDirectDrawCreateOverride(nullptr); }

    ddraw::HRESULT QueryInterface(const ddraw::GUID& iid, void** object) override {
        void* inner = nullptr;
        const ddraw::HRESULT result = Inner()->QueryInterface(iid, &inner);
        if (result != ddraw::DD_OK) {
            *object = nullptr;
            return result;
        }
        if (iid == ddraw::IID_IDirectDraw2)
            *object = static_cast<ddraw::IDirectDraw2*>(
                new ScriptedDirectDraw(static_cast<ddraw::IDirectDraw2*>(inner), script_));
        else if (iid == d3d::IID_IDirect3D2)
            *object = static_cast<d3d::IDirect3D2*>(
                new RecordingDirect3D(static_cast<d3d::IDirect3D2*>(inner), script_));
        else
            *object = inner;
        return result;
    }
    ddraw::HRESULT GetCaps(ddraw::DDCAPS* driverCaps, ddraw::DDCAPS* emulationCaps) override {
        const ddraw::HRESULT result = ForwardingDirectDraw::GetCaps(driverCaps, emulationCaps);
        if (driverCaps && script_->Claim3DHardware) {
            driverCaps->dwCaps |= ddraw::DDCAPS_3D;
            driverCaps->ddsCaps.dwCaps |= ddraw::DDSCAPS_TEXTURE;
        }
        return result;
    }
    ddraw::HRESULT CreateSurface(const ddraw::DDSURFACEDESC* desc,
                                 ddraw::IDirectDrawSurface** surface,
                                 ddraw::IUnknown* outer) override {
        if (desc->ddsCaps.dwCaps & ddraw::DDSCAPS_ZBUFFER) {
            const auto& refused = script_->RefusedDepths;
            const bool refuse =
                std::find(refused.begin(), refused.end(), desc->dwZBufferBitDepth) != refused.end();
            char text[64];
            std::snprintf(text, sizeof text, "Z buffer %u 0x%X%s", desc->dwZBufferBitDepth,
                          desc->ddsCaps.dwCaps, refuse ? " refused" : "");
            script_->Calls.push_back(text);
            if (refuse) {
                *surface = nullptr;
                return ddraw::DDERR_INVALIDPIXELFORMAT;
            }
        }
        return ForwardingDirectDraw::CreateSurface(desc, surface, outer);
    }

private:
    Direct3DScript* script_;
};

} // namespace displaytest
