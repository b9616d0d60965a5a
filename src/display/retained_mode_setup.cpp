// The 3D part of a set-up. Like the 2D part, every checked step writes its
// line through CheckResult and the set-up goes on with what it has; only a
// retained-mode device that cannot be made ends it.
#include "display/retained_mode_setup.h"

#include "diagnostics/dddd_log.h"

namespace dddd {

using namespace ddraw;
using d3d::ReleaseReference;

namespace {

// What a step answers when an object it needs was never made.
constexpr HRESULT kMissing = DDERR_INVALIDOBJECT;

void ReleaseChecked(auto*& object, const char* message) {
    if (object)
        CheckResult(static_cast<std::int32_t>(object->Release()), message);
    object = nullptr;
}

} // namespace

RetainedModeSetUp::~RetainedModeSetUp() {
    // Normally Finalize has released everything but the camera; this only
    // keeps a component that never finalised from leaking.
    ReleaseReference(viewport_);
    ReleaseReference(rmDevice_);
    ReleaseReference(device_);
    ReleaseReference(retainedMode_);
    ReleaseReference(direct3D_);
    ReleaseReference(camera_);
}

void RetainedModeSetUp::SetCamera(d3d::IDirect3DRMFrame* camera) {
    if (camera)
        camera->AddRef();
    ReleaseReference(camera_);
    camera_ = camera;
}

HRESULT RetainedModeSetUp::SetUp(const Screen& screen) {
    IDirectDrawSurface* back = screen.BackBuffer ? screen.BackBuffer->Surface : nullptr;

    IDirectDrawSurface* z = CreateZBuffer(screen);
    if (z && back)
        CheckResult(back->AddAttachedSurface(z), "Zバッファのアタッチに失敗しました");
    zBuffer_ = std::make_unique<TDDDDGenSurface>(screen.Owner, z, screen.Width, screen.Height);

    // The retained-mode object outlives a Finalize, so a later set-up keeps
    // the one it has instead of leaking it under a new one.
    if (!retainedMode_) {
        d3d::IDirect3DRM* first = nullptr;
        if (CheckResult(d3d::Direct3DRMCreate(&first),
                        "Direct3DRMオブジェクトの作成に失敗しました") != DD_OK)
            first = nullptr;
        if (first) {
            if (CheckResult(first->QueryInterface(d3d::IID_IDirect3DRM2,
                                                  reinterpret_cast<void**>(&retainedMode_)),
                            "Direct3DRM2オブジェクトの作成に失敗しました") != DD_OK)
                retainedMode_ = nullptr;
            first->Release();
        }
    }

    d3d::InstallSoftwareDirect3D();
    const HRESULT direct3D =
        screen.DirectDraw ? screen.DirectDraw->QueryInterface(d3d::IID_IDirect3D2,
                                                              reinterpret_cast<void**>(&direct3D_))
                          : kMissing;
    if (CheckResult(direct3D, "Direct3Dオブジェクトの作成に失敗しました") != DD_OK)
        direct3D_ = nullptr;

    CreateDevice(back, screen.Options, screen.Hardware3D);

    const HRESULT rmDevice =
        retainedMode_ ? retainedMode_->CreateDeviceFromD3D(direct3D_, device_, &rmDevice_)
                      : kMissing;
    if (CheckResult(rmDevice, "Diret3DRMデバイスの作成に失敗しました") != DD_OK) {
        rmDevice_ = nullptr;
        return rmDevice;
    }
    rmDevice_->SetBufferCount(2);

    if (camera_) {
        if (CheckResult(retainedMode_->CreateViewport(
                            rmDevice_, camera_, 0, 0, static_cast<DWORD>(screen.Width),
                            static_cast<DWORD>(screen.Height), &viewport_),
                        "Viewportの作成に失敗しました") != DD_OK)
            viewport_ = nullptr;
        if (viewport_)
            viewport_->SetBack(5000.0f);
    }
    return DD_OK;
}

IDirectDrawSurface* RetainedModeSetUp::CreateZBuffer(const Screen& screen) {
    if (!screen.DirectDraw)
        return nullptr;
    DDSCAPS backCaps;
    if (!screen.BackBuffer || !screen.BackBuffer->Surface ||
        screen.BackBuffer->Surface->GetCaps(&backCaps) != DD_OK)
        backCaps.dwCaps = 0;
    const bool video = (backCaps.dwCaps & DDSCAPS_VIDEOMEMORY) && !(screen.Options & DontUseHAL) &&
                       screen.Hardware3D;

    DDSURFACEDESC desc = MakeSurfaceDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_ZBUFFERBITDEPTH;
    desc.dwWidth = static_cast<DWORD>(screen.Width);
    desc.dwHeight = static_cast<DWORD>(screen.Height);
    desc.ddsCaps.dwCaps = video ? DDSCAPS_ZBUFFER : DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY;
    IDirectDrawSurface* z = nullptr;
    // Not every driver makes every depth; only the last try is reported.
    for (DWORD depth : {16u, 24u}) {
        desc.dwZBufferBitDepth = depth;
        if (screen.DirectDraw->CreateSurface(&desc, &z, nullptr) == DD_OK)
            return z;
    }
    desc.dwZBufferBitDepth = 32;
    if (CheckResult(screen.DirectDraw->CreateSurface(&desc, &z, nullptr),
                    "Zバッファの作成に失敗しました") != DD_OK)
        return nullptr;
    return z;
}

void RetainedModeSetUp::CreateDevice(IDirectDrawSurface* back, TD3DOptions options,
                                     bool hardware3D) {
    auto create = [&](const GUID& kind) {
        if (!direct3D_)
            return kMissing;
        const HRESULT result = direct3D_->CreateDevice(kind, back, &device_);
        if (result != DD_OK)
            device_ = nullptr;
        return result;
    };
    struct Choice {
        const GUID& Kind;
        std::uint8_t Number;
        bool Allowed;
    };
    // Tried in this order; failures before the last are not reported.
    const Choice silent[] = {
        {d3d::IID_IDirect3DHALDevice, dkHAL, !(options & DontUseHAL) && hardware3D},
        {d3d::IID_IDirect3DMMXDevice, dkMMX, !(options & DontUseMMX)},
        {d3d::IID_IDirect3DRGBDevice, dkRGB, !(options & DontUseRGBEmulation)},
    };
    for (const Choice& choice : silent) {
        if (!choice.Allowed)
            continue;
        deviceKind_ = choice.Number;
        if (create(choice.Kind) == DD_OK)
            return;
    }
    deviceKind_ = dkRamp;
    CheckResult(create(d3d::IID_IDirect3DRampDevice), "Diret3Dデバイスの作成に失敗しました");
}

void RetainedModeSetUp::ReleaseDevices() {
    ReleaseReference(viewport_);
    ReleaseChecked(rmDevice_, "Direct3DRMデバイスの解放に失敗しました");
    ReleaseChecked(device_, "Direct3Dデバイスの解放に失敗しました");
}

void RetainedModeSetUp::ReleaseObjects(bool destroying) {
    if (destroying)
        ReleaseChecked(retainedMode_, "Direct3DRMオブジェクトの解放に失敗しました");
    ReleaseReference(direct3D_);
    // The Z buffer itself goes with the DirectDraw object.
    if (zBuffer_) {
        zBuffer_->Surface = nullptr;
        zBuffer_.reset();
    }
}

} // namespace dddd
