// The display component's 3D set-up with the Direct3D stand-in: device
// choice, Z-buffer depths, a failing retained-mode device, viewport and
// camera, the 3D releases of Finalize and frames still shown with Use3D.
#include "display/dddd.h"
#include "display/display_doubles.h"
#include "diagnostics/log_capture.h"
#include "display/retained_mode_doubles.h"
#include "platform/ui/presenter_widget.h"
#include "platform/ui/qt_backends.h"
#include "platform/ui/qt_form.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace ddraw;
using dddd::TDDDD;
using displaytest::Direct3DScript;
using displaytest::FakeDesktop;
using displaytest::FakeForm;
using displaytest::FakeWindowSystem;
using displaytest::ScriptedDirectDraw;

namespace {

class RetainedModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ddraw::ResetFailureInjection();
        d3d::ResetFailureInjection();
        SetSoftwareSettings(SoftwareSettings{});
    }
    void TearDown() override {
        form.reset();
        ScriptedDirectDraw::Uninstall();
        ddraw::ResetFailureInjection();
        d3d::ResetFailureInjection();
    }

    // A loaded component with Use3D and the given options; the scripted
    // DirectDraw stands in only when useScript is set.
    TDDDD& Loaded(dddd::TD3DOptions options = 0, bool useScript = true) {
        if (useScript)
            ScriptedDirectDraw::Install(&script);
        form = std::make_unique<FakeForm>();
        display = new TDDDD(form.get());
        display->SetDisplayMode(dddd::dmWin640x480x16);
        display->AutoDisplayModeInitialize = false;
        display->Use3D = true;
        display->D3DOptions = options;
        display->OnChangeDisplayMode = [this](ui::TComponent*) {
            script.Calls.push_back("OnChangeDisplayMode");
        };
        form->Load();
        script.Calls.clear();
        return *display;
    }
    // The recorded calls that start with prefix.
    std::vector<std::string> Calls(const std::string& prefix) const {
        std::vector<std::string> calls;
        for (const std::string& call : script.Calls)
            if (call.rfind(prefix, 0) == 0)
                calls.push_back(call);
        return calls;
    }

    displaytest::LogCapture log;
    FakeDesktop desktop;
    FakeWindowSystem windows;
    Direct3DScript script;
    std::unique_ptr<FakeForm> form;
    TDDDD* display = nullptr;
};

// The Z buffer goes to video memory only beside a video-memory back buffer
// on 3D hardware that may be used.
TEST_F(RetainedModeTest, DeviceChoiceAndZBufferPlacementFollowTheOptionsAndTheHardware) {
    struct Case {
        dddd::TD3DOptions options;
        bool hardware;
        std::vector<std::string> tried;
        std::uint8_t kind;
        const char* zBuffer;
    };
    const Case cases[] = {
        {dddd::DontUseHAL | dddd::DontUseMMX | dddd::DontUseRGBEmulation,
         true,
         {"CreateDevice Ramp"},
         dddd::dkRamp,
         "Z buffer 16 0x20800"},
        {0, false, {"CreateDevice MMX"}, dddd::dkMMX, "Z buffer 16 0x20800"},
        {dddd::DontUseMMX | dddd::DontUseRGBEmulation,
         false,
         {"CreateDevice Ramp"},
         dddd::dkRamp,
         "Z buffer 16 0x20800"},
        {dddd::DontUseMMX, false, {"CreateDevice RGB"}, dddd::dkRGB, "Z buffer 16 0x20800"},
        // Claimed hardware that cannot make a device: the HAL try fails
        // without a word and the MMX device follows.
        {0,
         true,
         {"CreateDevice HAL failed", "CreateDevice MMX"},
         dddd::dkMMX,
         "Z buffer 16 0x20000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "options " << int(c.options) << " hardware " << c.hardware);
        script.Claim3DHardware = c.hardware;
        TDDDD& d = Loaded(c.options);
        ASSERT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), 0);
        EXPECT_EQ(Calls("CreateDevice"), c.tried);
        EXPECT_EQ(Calls("Z buffer"), std::vector<std::string>{c.zBuffer});
        EXPECT_EQ(d.DeviceKind(), c.kind);
        EXPECT_EQ(d.Hardware3D(), c.hardware);
        EXPECT_NE(d.RetainedMode().Direct3DRMDevice(), nullptr);
        EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
        form.reset();
    }
}

TEST_F(RetainedModeTest, FullScreenLooksForASecondDriverWith3DHardwareFirst) {
    windows.ScreenList.push_back({"Second display", "second", 1024, 768, 32});
    for (bool hardware : {false, true}) {
        SCOPED_TRACE(hardware);
        script.Claim3DHardware = hardware;
        TDDDD& d = Loaded();
        ASSERT_EQ(d.Initialize(true, 640, 480, 16, 0, ""), 0);
        const std::vector<std::string> expected =
            hardware ? std::vector<std::string>{"DirectDrawCreate secondary"}
                     : std::vector<std::string>{"DirectDrawCreate secondary",
                                                "DirectDrawCreate primary"};
        EXPECT_EQ(Calls("DirectDrawCreate"), expected);
        EXPECT_EQ(d.Hardware3D(), hardware);
        EXPECT_EQ(d.DeviceKind(), dddd::dkMMX);
        EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();

        // A windowed set-up never looks.
        script.Calls.clear();
        ASSERT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), 0);
        EXPECT_EQ(Calls("DirectDrawCreate"), std::vector<std::string>{"DirectDrawCreate primary"});
        form.reset();
    }
}

TEST_F(RetainedModeTest, ZBufferFallsBackThroughTheDepthsAndOnlyTheLastFailureIsReported) {
    for (const auto& [refused, expected] : std::vector<std::pair<std::vector<DWORD>, DWORD>>{
             {{16}, 24}, {{16, 24}, 32}, {{16, 24, 32}, 0}}) {
        SCOPED_TRACE(expected);
        script.RefusedDepths = refused;
        TDDDD& d = Loaded();
        const std::size_t linesBefore = log.Lines().size();
        ASSERT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), 0);
        const std::vector<std::string> all = log.Lines();
        const std::vector<std::string> lines(all.begin() + static_cast<std::ptrdiff_t>(linesBefore),
                                             all.end());
        ASSERT_NE(d.RetainedMode().ZBuffer(), nullptr);
        IDirectDrawSurface* z = d.RetainedMode().ZBuffer()->Surface;
        if (expected == 0) {
            EXPECT_EQ(z, nullptr);
            EXPECT_EQ(lines, std::vector<std::string>{
                                 "Zバッファの作成に失敗しました(Error Code(88760091))"});
        } else {
            ASSERT_NE(z, nullptr);
            DDSURFACEDESC desc = MakeSurfaceDesc();
            ASSERT_EQ(z->GetSurfaceDesc(&desc), DD_OK);
            EXPECT_EQ(desc.dwZBufferBitDepth, expected);
            EXPECT_EQ(desc.dwWidth, 640u);
            DDSCAPS zCaps{DDSCAPS_ZBUFFER};
            IDirectDrawSurface* attached = nullptr;
            ASSERT_EQ(d.BackBuffer()->Surface->GetAttachedSurface(&zCaps, &attached), DD_OK);
            EXPECT_EQ(attached, z);
            attached->Release();
            EXPECT_TRUE(lines.empty());
        }
        // The device needs no Z buffer.
        EXPECT_EQ(d.DeviceKind(), dddd::dkMMX);
        form.reset();
    }
}

TEST_F(RetainedModeTest, AFailingRetainedModeDeviceEndsTheSetUpWithItsCode) {
    TDDDD& d = Loaded();
    dddd::TDDDDSurface surface(&d, 32, 32, 0);
    const int bufferCounts = d3d::CallCount(d3d::Operation::SetBufferCount);
    d3d::InjectFailure(d3d::Operation::CreateDeviceFromD3D, DDERR_OUTOFMEMORY);
    EXPECT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), DDERR_OUTOFMEMORY);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{
                               "Diret3DRMデバイスの作成に失敗しました(Error Code(8007000E))"});
    EXPECT_EQ(d3d::CallCount(d3d::Operation::SetBufferCount), bufferCounts);
    // Neither the surfaces' restore nor the announcement ran.
    EXPECT_EQ(std::count(script.Calls.begin(), script.Calls.end(), "OnChangeDisplayMode"), 0);
    EXPECT_TRUE(surface.IsLost());
    EXPECT_EQ(d.RetainedMode().Direct3DRMDevice(), nullptr);

    // The next set-up goes through; the half-made one was released cleanly.
    EXPECT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), 0);
    EXPECT_EQ(log.Lines().size(), 1u);
    EXPECT_FALSE(surface.IsLost());
    EXPECT_EQ(d.RetainedMode().Direct3DRMDevice()->GetBufferCount(), 2u);
}

TEST_F(RetainedModeTest, AViewportOnlyWithACameraWithItsBackPlaneAt5000) {
    TDDDD& d = Loaded();
    ASSERT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), 0);
    EXPECT_EQ(d.RetainedMode().Viewport(), nullptr);
    EXPECT_EQ(d3d::CallCount(d3d::Operation::CreateViewport), 0);

    // The application builds its scene on the component's retained-mode
    // object and hands over the camera; the component keeps a reference.
    d3d::IDirect3DRMFrame* scene = nullptr;
    d3d::IDirect3DRMFrame* camera = nullptr;
    d3d::IDirect3DRM2* rm = d.RetainedMode().Direct3DRM();
    ASSERT_EQ(rm->CreateFrame(nullptr, &scene), 0);
    ASSERT_EQ(rm->CreateFrame(scene, &camera), 0);
    d.SetCamera(camera);
    camera->Release();
    ASSERT_EQ(d.Initialize(false, 800, 600, 16, 0, ""), 0);
    EXPECT_EQ(d.RetainedMode().Direct3DRM(), rm) << "the retained-mode object lives on";
    d3d::IDirect3DRMViewport* viewport = d.RetainedMode().Viewport();
    ASSERT_NE(viewport, nullptr);
    EXPECT_EQ(viewport->GetBack(), 5000.0f);
    EXPECT_EQ(viewport->GetWidth(), 800u);
    EXPECT_EQ(viewport->GetHeight(), 600u);
    d3d::IDirect3DRMFrame* seen = nullptr;
    ASSERT_EQ(viewport->GetCamera(&seen), 0);
    EXPECT_EQ(seen, camera);
    seen->Release();
    EXPECT_TRUE(log.Lines().empty());
    form.reset();
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(scene->Release(), 0u);
}

// Releases that leave references are reported in the order Finalize makes
// them; the retained-mode object stays until the component goes.
TEST_F(RetainedModeTest, FinalizeReportsReleasesThatLeaveReferences) {
    TDDDD& d = Loaded(0, false);
    ASSERT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), 0);
    d3d::IDirect3DRMDevice2* heldDevice = d.RetainedMode().Direct3DRMDevice();
    heldDevice->AddRef();
    d3d::IDirect3DRM2* heldRm = d.RetainedMode().Direct3DRM();
    heldRm->AddRef();

    d.Finalize();
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                               "Direct3DRMデバイスの解放に失敗しました(Error Code(1))",
                               "Direct3Dデバイスの解放に失敗しました(Error Code(1))",
                               "DirectDrawオブジェクトの解放に失敗しました(Error Code(1))"}));
    EXPECT_EQ(d.RetainedMode().Direct3DRMDevice(), nullptr);
    EXPECT_EQ(d.RetainedMode().Direct3DDevice(), nullptr);
    EXPECT_EQ(d.RetainedMode().Direct3D(), nullptr);
    EXPECT_EQ(d.RetainedMode().Direct3DRM(), heldRm);
    EXPECT_EQ(heldDevice->Release(), 0u);

    form.reset();
    EXPECT_EQ(log.Lines().back(), "Direct3DRMオブジェクトの解放に失敗しました(Error Code(1))");
    EXPECT_EQ(heldRm->Release(), 0u);
}

// Use3D switched off after a 3D set-up: the next Finalize still releases
// what the 3D set-up made, so the DirectDraw object goes cleanly.
TEST_F(RetainedModeTest, SwitchingUse3DOffStillReleasesThe3DObjects) {
    TDDDD& d = Loaded();
    d.Use3D = false;
    ASSERT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), 0);
    EXPECT_EQ(d.RetainedMode().Direct3DDevice(), nullptr);
    EXPECT_EQ(d.RetainedMode().Direct3D(), nullptr);
    EXPECT_EQ(d.RetainedMode().ZBuffer(), nullptr);
    EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
    form.reset();
    EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
}

TEST_F(RetainedModeTest, TexturesAreInvalidatedBeforeTheCleanUpAndReloadedAfterTheSurfaces) {
    struct Texture : dddd::TDDDDTexture {
        explicit Texture(std::vector<std::string>* calls) : calls(calls) {}
        void Invalidate() override { calls->push_back("Invalidate"); }
        void Reload() override { calls->push_back("Reload"); }
        std::vector<std::string>* calls;
    };
    TDDDD& d = Loaded();
    d.OnCleanUp = [this](ui::TComponent*) { script.Calls.push_back("OnCleanUp"); };
    Texture texture(&script.Calls);
    d.Textures().push_back(&texture);
    ASSERT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), 0);
    const auto at = [this](const std::string& call) {
        return std::find(script.Calls.begin(), script.Calls.end(), call) - script.Calls.begin();
    };
    EXPECT_LT(at("Invalidate"), at("OnCleanUp"));
    EXPECT_LT(at("CreateDevice MMX"), at("Reload"));
    EXPECT_LT(at("Reload"), at("OnChangeDisplayMode"));
    d.Textures().clear();
}

class OffscreenForm : public ui::QtForm {
public:
    OffscreenForm() {
        SetColor(0);
        SetClientWidth(640);
        SetClientHeight(480);
        DDDD1 = new TDDDD(this);
        DDDD1->SetDisplayMode(dddd::dmWin640x480x16);
        DDDD1->AutoDisplayModeInitialize = false;
        DDDD1->Use3D = true;
        FinishLoading();
    }
    TDDDD* DDDD1;
};

TEST(RetainedModeOnQt, WindowedAndFullScreenSetUpsStillPresent2DFrames) {
    displaytest::LogCapture log;
    const auto backends = ui::InstallQtBackends();
    OffscreenForm form;
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    TDDDD& d = *form.DDDD1;
    const auto shown = [&] {
        d.Flip();
        QCoreApplication::processEvents();
        auto* presenter = ui::PresenterWidget::Find(form.Widget());
        return presenter ? presenter->grab().toImage().convertToFormat(QImage::Format_RGB32)
                         : QImage();
    };
    const auto fill = [&](COLORREF left, COLORREF right) {
        dddd::TDDDDGenSurface& back = *d.BackBuffer();
        DDBLTFX fx = MakeBltFx();
        fx.dwFillColor = back.ColorMatch(left);
        back.DrawFx(nullptr, base::MakeRect(0, 0, 320, 480), base::MakeRect(0, 0, 320, 480),
                    DDBLT_COLORFILL | DDBLT_WAIT, fx);
        fx.dwFillColor = back.ColorMatch(right);
        back.DrawFx(nullptr, base::MakeRect(320, 0, 640, 480), base::MakeRect(320, 0, 640, 480),
                    DDBLT_COLORFILL | DDBLT_WAIT, fx);
    };

    ASSERT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), 0);
    EXPECT_EQ(d.DeviceKind(), dddd::dkMMX);
    fill(RGB(255, 0, 0), RGB(0, 0, 255));
    QImage image = shown();
    ASSERT_EQ(image.size(), QSize(640, 480));
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(630, 470), qRgb(0, 0, 255));

    ASSERT_EQ(d.Initialize(true, 640, 480, 16, 0, ""), 0);
    EXPECT_EQ(d.DeviceKind(), dddd::dkMMX);
    ASSERT_NE(d.RetainedMode().ZBuffer()->Surface, nullptr);
    fill(RGB(0, 255, 0), RGB(255, 255, 0));
    image = shown();
    ASSERT_FALSE(image.isNull());
    const QRect fitted = ui::PresenterWidget::FittedRect({640, 480}, image.size());
    EXPECT_EQ(image.pixel(fitted.left() + 5, fitted.center().y()), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(fitted.right() - 5, fitted.center().y()), qRgb(255, 255, 0));

    ASSERT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), 0);
    EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
