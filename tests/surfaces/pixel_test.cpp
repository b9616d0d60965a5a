#include "diagnostics/log_capture.h"
#include "surfaces/fake_host.h"

#include <gtest/gtest.h>

using namespace ddraw;
using dddd::TDDDDSurface;
using surfacetest::FakeHost;

namespace {

class PixelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFailureInjection();
        SetSoftwareSettings(SoftwareSettings{});
    }
    void TearDown() override { SetSoftwareSettings(SoftwareSettings{}); }
    displaytest::LogCapture log;
};

TEST_F(PixelTest, ColorMatchFollowsTheSurfaceFormatAndRestoresPixelZero) {
    {
        FakeHost host(16);
        TDDDDSurface s(&host, 8, 8, 0);
        s.WritePixel(0, 0, 0x1234);
        EXPECT_EQ(s.ColorMatch(RGB(255, 0, 0)), 0xF800u);
        EXPECT_EQ(s.ColorMatch(RGB(0, 0, 0)), 0u);
        EXPECT_EQ(s.ReadPixel(0, 0), 0x1234u);
    }
    {
        SoftwareSettings settings;
        settings.HighColor = HighColorLayout::Rgb555;
        SetSoftwareSettings(settings);
        FakeHost host(16);
        TDDDDSurface s(&host, 8, 8, 0);
        EXPECT_EQ(s.ColorMatch(RGB(255, 0, 0)), 0x7C00u);
    }
    {
        FakeHost host;
        TDDDDSurface s(&host, 8, 8, 0);
        s.WritePixel(0, 0, 0x00010203);
        EXPECT_EQ(s.ColorMatch(RGB(0x11, 0x22, 0x33)), 0x00112233u);
        EXPECT_EQ(s.ColorMatch(RGB(0, 0, 0)), 0u);
        EXPECT_EQ(s.ReadPixel(0, 0), 0x00010203u);
    }
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(PixelTest, ColorMatchOnALostSurfaceOrWithoutAContext) {
    FakeHost host(16);
    TDDDDSurface s(&host, 8, 8, 0);
    InjectFailure(Operation::GetDC, DDERR_CANTCREATEDC);
    EXPECT_EQ(s.ColorMatch(RGB(255, 0, 0)), 0u);
    EXPECT_EQ(log.Lines(),
              std::vector<std::string>{"ColorMatchに失敗しました、サーフェスのデバイスコンテキストの"
                                       "ハンドルが得られません(Error Code(88760249))"});
}

TEST_F(PixelTest, TwentyFourBitPixelsTouchOnlyTheirThreeBytes) {
    FakeHost host(24);
    TDDDDSurface s(&host, 4, 2, 0);
    s.WritePixel(1, 0, 0x00EEEEEE);
    s.WritePixel(0, 0, 0xAABBCCDD);
    EXPECT_EQ(s.ReadPixel(0, 0), 0x00BBCCDDu);
    EXPECT_EQ(s.ReadPixel(1, 0), 0x00EEEEEEu);
    DDSURFACEDESC desc = s.Lock();
    const auto* bytes = static_cast<const std::uint8_t*>(desc.lpSurface);
    EXPECT_EQ(bytes[0], 0xDD);
    EXPECT_EQ(bytes[1], 0xCC);
    EXPECT_EQ(bytes[2], 0xBB);
    EXPECT_EQ(bytes[3], 0xEE);
    s.Unlock();
    s.WritePixel(3, 1, 0x00010203);
    EXPECT_EQ(s.ReadPixel(3, 1), 0x00010203u);
}

TEST_F(PixelTest, PositionsOutsideAreReportedAndTheLastPixelIsReachable) {
    FakeHost host;
    TDDDDSurface s(&host, 10, 5, 0);
    s.WritePixel(9, 4, 77);
    EXPECT_EQ(s.ReadPixel(9, 4), 77u);
    s.ReadPixel(10, 0);
    s.ReadPixel(0, -1);
    s.WritePixel(-1, 0, 1);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"サーフェス外のピクセルを参照しようとしました",
                                                     "サーフェス外のピクセルを参照しようとしました",
                                                     "サーフェス外のピクセルを変更しようとしました"}));
}

TEST_F(PixelTest, InsideALockPixelsDoNotLockAgainAndAFailedLockIsSilent) {
    FakeHost host;
    TDDDDSurface s(&host, 10, 5, 0);
    s.Lock();
    const int locks = CallCount(Operation::Lock);
    s.WritePixel(1, 1, 9);
    EXPECT_EQ(s.ReadPixel(1, 1), 9u);
    EXPECT_EQ(CallCount(Operation::Lock), locks);
    s.Unlock();

    InjectFailure(Operation::Lock, DDERR_SURFACEBUSY, 0, 2);
    s.WritePixel(1, 1, 5);
    EXPECT_EQ(s.ReadPixel(1, 1), 0u);
    EXPECT_EQ(s.ReadPixel(1, 1), 9u);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(PixelTest, AWrapperLargerThanItsSurfaceStaysInsideTheSurface) {
    FakeHost host;
    TDDDDSurface small(&host, 4, 4, 0);
    dddd::TDDDDGenSurface wrapper(&host, small.Surface, 100, 100);
    wrapper.WritePixel(50, 50, 1);
    EXPECT_EQ(wrapper.ReadPixel(50, 50), 0u);
}

} // namespace
