#include "diagnostics/log_capture.h"
#include "surfaces/fake_host.h"
#include "surfaces/surface.h"
#include "surfaces/surface_keeper.h"

#include <gtest/gtest.h>

using namespace ddraw;
using dddd::TDDDDSurface;
using surfacetest::FakeHost;

namespace {

class SurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFailureInjection();
        SetSoftwareSettings(SoftwareSettings{});
    }
    void TearDown() override {
        ResetFailureInjection();
        SetSoftwareSettings(SoftwareSettings{});
    }
    displaytest::LogCapture log;
};

DWORD PlacedCaps(TDDDDSurface& s) {
    DDSCAPS caps;
    s.Surface->GetCaps(&caps);
    return caps.dwCaps & (DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY);
}

TEST_F(SurfaceTest, VideoMemoryWithTheBudgetSpentFallsBackToSystemMemorySilently) {
    SoftwareSettings settings;
    settings.VideoMemoryBytes = 640 * 480 * 4; // room for one surface
    SetSoftwareSettings(settings);
    FakeHost host;
    host.Location = dddd::smtVideoMemory;
    TDDDDSurface first(&host, 640, 480, 0);
    TDDDDSurface second(&host, 640, 480, 0);
    EXPECT_EQ(PlacedCaps(first), DDSCAPS_VIDEOMEMORY);
    EXPECT_EQ(PlacedCaps(second), DDSCAPS_SYSTEMMEMORY);
    EXPECT_EQ(host.Calls, (std::vector<std::string>{"CreateSurface 0x7 0x4040",
                                                    "CreateSurface 0x7 0x4040",
                                                    "CreateSurface 0x7 0x840"}));
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(SurfaceTest, PlacementFollowsTheSetting) {
    struct Case {
        int displayBits;
        DWORD backCaps;
        dddd::TDDDDSurfaceMemoryType location;
        const char* request;
    };
    const Case cases[] = {
        {0, DDSCAPS_SYSTEMMEMORY, dddd::smtDefault, "CreateSurface 0x7 0x840"},
        {0, DDSCAPS_VIDEOMEMORY, dddd::smtDefault, "CreateSurface 0x7 0x4040"},
        {16, DDSCAPS_SYSTEMMEMORY, dddd::smtCompatible, "CreateSurface 0x7 0x40"},
        {0, DDSCAPS_VIDEOMEMORY, dddd::smtCompatible, "CreateSurface 0x7 0x840"},
        {0, DDSCAPS_VIDEOMEMORY, dddd::smtSystemMemory, "CreateSurface 0x7 0x840"},
        {0, DDSCAPS_SYSTEMMEMORY, dddd::smtNonLocalVideoMemory, "CreateSurface 0x7 0x20004040"},
    };
    for (const Case& c : cases) {
        FakeHost host(c.displayBits, c.backCaps);
        host.Location = c.location;
        TDDDDSurface s(&host, 32, 16, 0);
        ASSERT_FALSE(host.Calls.empty());
        EXPECT_EQ(host.Calls.front(), c.request) << int(c.location);
        EXPECT_FALSE(s.IsLost());
    }
}

TEST_F(SurfaceTest, ConstructionSetsKeyClipAndRegisters) {
    FakeHost host;
    TDDDDSurface s(&host, 48, 20, 0x1234);
    EXPECT_EQ(s.Width, 48);
    EXPECT_EQ(s.Height, 20);
    EXPECT_EQ(s.ClipRect, base::MakeRect(0, 0, 48, 20));
    EXPECT_FALSE(s.UseClipRect);
    DDCOLORKEY key;
    ASSERT_EQ(s.Surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0x1234u);
    EXPECT_EQ(key.dwColorSpaceHighValue, 0x1234u);
    EXPECT_EQ(host.Registered, std::vector<TDDDDSurface*>{&s});
}

TEST_F(SurfaceTest, TwoFailedCreationsLeaveARegisteredSurfaceThatDoesNothing) {
    FakeHost host;
    InjectFailure(Operation::CreateSurface, DDERR_OUTOFMEMORY, 0, 2);
    TDDDDSurface s(&host, 32, 32, 0);
    EXPECT_EQ(s.Surface, nullptr);
    EXPECT_TRUE(s.IsLost());
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"サーフェスを作れませんでした(Error Code(8007000E))"});
    EXPECT_EQ(host.Registered.size(), 1u);
    // Operations that need the platform surface do nothing.
    TDDDDSurface other(&host, 8, 8, 0);
    EXPECT_NE(s.Draw(&other, 0, 0, base::MakeRect(0, 0, 8, 8), DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(s.ReadPixel(0, 0), 0u);
    s.WritePixel(0, 0, 5);
    EXPECT_EQ(s.ColorMatch(0xFF), 0u);
    s.Lock();
    EXPECT_FALSE(s.Locked);
}

TEST_F(SurfaceTest, NegativeSizeIsARangeErrorBeforeAnythingIsCreated) {
    FakeHost host;
    EXPECT_THROW(TDDDDSurface(&host, -1, 10, 0), std::out_of_range);
    EXPECT_THROW(TDDDDSurface(&host, 10, -1, 0), std::out_of_range);
    EXPECT_TRUE(host.Calls.empty());
    EXPECT_TRUE(host.Registered.empty());
}

TEST_F(SurfaceTest, DestructionUnregistersAndReportsReferencesLeftBehind) {
    FakeHost host;
    auto* s = new TDDDDSurface(&host, 16, 16, 0);
    IDirectDrawSurface* platform = s->Surface;
    platform->AddRef(); // somebody else still holds it
    delete s;
    EXPECT_TRUE(host.Registered.empty());
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"サーフェスの解放に失敗しました(Error Code(1))"});
    EXPECT_EQ(platform->Release(), 0u);
}

TEST_F(SurfaceTest, AWrapperNeverReleasesItsSurface) {
    FakeHost host;
    TDDDDSurface owner(&host, 16, 16, 0);
    owner.Surface->AddRef();
    {
        dddd::TDDDDGenSurface wrapper(&host, owner.Surface, 16, 16);
    }
    EXPECT_EQ(owner.Surface->Release(), 1u);
}

TEST_F(SurfaceTest, LockUnlockAndDescriptionFailuresAreReported) {
    FakeHost host;
    TDDDDSurface s(&host, 16, 8, 0);
    DDSURFACEDESC locked = s.Lock();
    EXPECT_TRUE(s.Locked);
    EXPECT_EQ(locked.dwWidth, 16u);
    EXPECT_NE(s.LockedDesc.lpSurface, nullptr);
    s.Unlock();
    EXPECT_FALSE(s.Locked);

    InjectFailure(Operation::Lock, DDERR_SURFACEBUSY);
    s.Lock();
    EXPECT_FALSE(s.Locked);
    InjectFailure(Operation::Unlock, DDERR_NOTLOCKED);
    s.Unlock();
    InjectFailure(Operation::GetSurfaceDesc, DDERR_GENERIC);
    DDSURFACEDESC info = s.GetSurfaceInfo();
    EXPECT_EQ(info.dwWidth, 0u);
    EXPECT_EQ(info.dwSize, DDSURFACEDESC::kSize);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                               "サーフェスがロックできません(Error Code(887601AE))",
                               "サーフェスのアンロックに失敗しました(Error Code(88760248))",
                               "サーフェス情報の取得に失敗しました(Error Code(80004005))"}));
}

TEST_F(SurfaceTest, KeeperRestoreCreatesTheSurfaceAgainWithItsKey) {
    FakeHost host;
    TDDDDSurface s(&host, 20, 10, 0x55);
    dddd::TDDDDSurfaceKeeper keeper(&host, &s);
    EXPECT_EQ(keeper.Width, 20);
    EXPECT_EQ(keeper.ScreenBits, 32);
    IDirectDrawSurface* before = s.Surface;
    host.Calls.clear();
    keeper.Restore();
    ASSERT_NE(s.Surface, nullptr);
    EXPECT_FALSE(s.IsLost());
    EXPECT_EQ(host.Calls, std::vector<std::string>{"CreateSurface 0x7 0x840"});
    DDCOLORKEY key;
    s.Surface->GetColorKey(DDCKEY_SRCBLT, &key);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0x55u);
    (void)before;
}

} // namespace
