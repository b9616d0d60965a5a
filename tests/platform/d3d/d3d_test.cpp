// The Direct3D stand-in on the software DirectDraw: what a device may be
// made on, and the references each object keeps, checked through the
// counts Release answers.
#include "platform/d3d/d3d.h"
#include "platform/ddraw/ddraw.h"

#include <gtest/gtest.h>

namespace {

using namespace ddraw;
using namespace d3d;

class Direct3DTest : public ::testing::Test {
protected:
    const HWND kWindow = reinterpret_cast<HWND>(0x1234);

    void SetUp() override {
        ddraw::ResetFailureInjection();
        d3d::ResetFailureInjection();
        SetSoftwareSettings(SoftwareSettings{});
        InstallSoftwareDirect3D();
        IDirectDraw* first = nullptr;
        ASSERT_EQ(DirectDrawCreate(nullptr, &first, nullptr), DD_OK);
        ASSERT_EQ(first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&dd)), DD_OK);
        EXPECT_EQ(first->Release(), 0u);
        ASSERT_EQ(dd->SetCooperativeLevel(kWindow, DDSCL_NORMAL), DD_OK);
    }
    void TearDown() override {
        if (dd) {
            EXPECT_EQ(dd->Release(), 0u) << "something still holds the DirectDraw object";
        }
        d3d::ResetFailureInjection();
    }

    IDirectDrawSurface* Surface(DWORD caps, DWORD width = 320, DWORD height = 240) {
        DDSURFACEDESC desc = MakeSurfaceDesc();
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = width;
        desc.dwHeight = height;
        desc.ddsCaps.dwCaps = caps;
        IDirectDrawSurface* surface = nullptr;
        EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
        return surface;
    }
    IDirect3D2* Direct3D() {
        IDirect3D2* direct3D = nullptr;
        EXPECT_EQ(dd->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&direct3D)), DD_OK);
        return direct3D;
    }
    IDirect3DRM2* RetainedMode() {
        IDirect3DRM* first = nullptr;
        EXPECT_EQ(Direct3DRMCreate(&first), D3DRM_OK);
        IDirect3DRM2* second = nullptr;
        EXPECT_EQ(first->QueryInterface(IID_IDirect3DRM2, reinterpret_cast<void**>(&second)),
                  D3DRM_OK);
        // Each interface counts for itself; the object stays for the second.
        EXPECT_EQ(first->Release(), 0u);
        return second;
    }

    IDirectDraw2* dd = nullptr;
    static constexpr DWORD k3DSystem =
        DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY;
};

TEST_F(Direct3DTest, SoftwareDevicesOnA3DSurfaceButNoHardwareDevice) {
    IDirect3D2* direct3D = Direct3D();
    IDirectDrawSurface* target = Surface(k3DSystem);
    IDirect3DDevice2* device = reinterpret_cast<IDirect3DDevice2*>(0x1);

    EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DHALDevice, target, &device), DDERR_NO3D);
    EXPECT_EQ(device, nullptr);
    for (const GUID* kind :
         {&IID_IDirect3DMMXDevice, &IID_IDirect3DRGBDevice, &IID_IDirect3DRampDevice}) {
        ASSERT_EQ(direct3D->CreateDevice(*kind, target, &device), D3D_OK);
        IDirectDrawSurface* renderTarget = nullptr;
        ASSERT_EQ(device->GetRenderTarget(&renderTarget), D3D_OK);
        EXPECT_EQ(renderTarget, target);
        renderTarget->Release();
        EXPECT_EQ(device->Release(), 0u);
    }
    EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3D2, target, &device), DDERR_INVALIDPARAMS);
    EXPECT_EQ(target->Release(), 0u) << "a released device still holds its target";
    EXPECT_EQ(direct3D->Release(), 0u);
}

TEST_F(Direct3DTest, DevicesRefuseSurfacesTheyCannotRenderInto) {
    IDirect3D2* direct3D = Direct3D();
    IDirect3DDevice2* device = nullptr;
    IDirectDrawSurface* plain = Surface(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
    EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DRGBDevice, plain, &device), DDERR_INVALIDCAPS);

    DDSURFACEDESC desc = MakeSurfaceDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_ZBUFFERBITDEPTH;
    desc.dwWidth = 320;
    desc.dwHeight = 240;
    desc.dwZBufferBitDepth = 16;
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY;
    IDirectDrawSurface* z = nullptr;
    ASSERT_EQ(dd->CreateSurface(&desc, &z, nullptr), DD_OK);
    EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DRGBDevice, z, &device), DDERR_INVALIDCAPS);

    // A 3D surface in video memory that a new display mode took away.
    IDirectDrawSurface* video =
        Surface(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY);
    ASSERT_EQ(dd->SetCooperativeLevel(kWindow, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    ASSERT_EQ(dd->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    ASSERT_EQ(video->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DMMXDevice, video, &device), DDERR_SURFACELOST);
    EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DMMXDevice, nullptr, &device),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(device, nullptr);
    dd->RestoreDisplayMode();

    for (IDirectDrawSurface* s : {plain, z, video})
        EXPECT_EQ(s->Release(), 0u);
    EXPECT_EQ(direct3D->Release(), 0u);
}

// Viewport, retained-mode device, Direct3D device, Direct3D object: each
// holds the next, so releasing them in this order answers 0 every time and
// leaves the DirectDraw object free to go (checked in TearDown).
TEST_F(Direct3DTest, RetainedModeObjectsHoldWhatTheyWereMadeFrom) {
    IDirectDrawSurface* target = Surface(k3DSystem, 640, 480);
    IDirect3D2* direct3D = Direct3D();
    IDirect3DDevice2* device = nullptr;
    ASSERT_EQ(direct3D->CreateDevice(IID_IDirect3DMMXDevice, target, &device), D3D_OK);
    IDirect3DRM2* rm = RetainedMode();
    IDirect3DRMDevice2* rmDevice = nullptr;
    ASSERT_EQ(rm->CreateDeviceFromD3D(direct3D, device, &rmDevice), D3DRM_OK);
    EXPECT_EQ(rmDevice->GetBufferCount(), 1u);
    EXPECT_EQ(rmDevice->SetBufferCount(2), D3DRM_OK);
    EXPECT_EQ(rmDevice->SetBufferCount(0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(rmDevice->GetBufferCount(), 2u);

    IDirect3DRMFrame* scene = nullptr;
    IDirect3DRMFrame* camera = nullptr;
    ASSERT_EQ(rm->CreateFrame(nullptr, &scene), D3DRM_OK);
    ASSERT_EQ(rm->CreateFrame(scene, &camera), D3DRM_OK);
    IDirect3DRMViewport* viewport = nullptr;
    EXPECT_EQ(rm->CreateViewport(rmDevice, camera, 1, 0, 640, 480, &viewport), DDERR_INVALIDPARAMS);
    EXPECT_EQ(rm->CreateViewport(rmDevice, camera, 0, 0, 640, 0, &viewport), DDERR_INVALIDPARAMS);
    EXPECT_EQ(rm->CreateViewport(rmDevice, nullptr, 0, 0, 640, 480, &viewport),
              DDERR_INVALIDPARAMS);
    ASSERT_EQ(rm->CreateViewport(rmDevice, camera, 0, 0, 640, 480, &viewport), D3DRM_OK);
    EXPECT_EQ(viewport->GetBack(), 100.0f);
    EXPECT_EQ(viewport->SetBack(5000.0f), D3DRM_OK);
    EXPECT_EQ(viewport->SetBack(viewport->GetFront()), DDERR_INVALIDPARAMS);
    EXPECT_EQ(viewport->GetBack(), 5000.0f);
    IDirect3DRMFrame* seen = nullptr;
    ASSERT_EQ(viewport->GetCamera(&seen), D3DRM_OK);
    EXPECT_EQ(seen, camera);
    seen->Release();

    // The scene holds the camera and the viewport holds both.
    EXPECT_EQ(camera->Release(), 2u);
    EXPECT_EQ(scene->Release(), 0u);
    EXPECT_EQ(viewport->Release(), 0u);
    EXPECT_EQ(rmDevice->Release(), 0u);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(rm->Release(), 0u);
    EXPECT_EQ(direct3D->Release(), 0u);
    EXPECT_EQ(target->Release(), 0u);
}

TEST_F(Direct3DTest, ChildFramesGoWithTheirParent) {
    IDirect3DRM2* rm = RetainedMode();
    IDirect3DRMFrame* scene = nullptr;
    IDirect3DRMFrame* child = nullptr;
    ASSERT_EQ(rm->CreateFrame(nullptr, &scene), D3DRM_OK);
    ASSERT_EQ(rm->CreateFrame(scene, &child), D3DRM_OK);
    IDirect3DRMFrame* parent = nullptr;
    ASSERT_EQ(child->GetParent(&parent), D3DRM_OK);
    EXPECT_EQ(parent, scene);
    parent->Release();

    // The child outlives its parent while the program holds it; it is a
    // root from then on.
    child->AddRef();
    EXPECT_EQ(scene->Release(), 0u);
    ASSERT_EQ(child->GetParent(&parent), D3DRM_OK);
    EXPECT_EQ(parent, nullptr);
    EXPECT_EQ(child->Release(), 1u);
    EXPECT_EQ(child->Release(), 0u);
    EXPECT_EQ(rm->Release(), 0u);
}

} // namespace
