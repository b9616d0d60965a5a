#include "base/system_error_text.h"
#include "diagnostics/log_capture.h"
#include "platform/ui/qt_bitmap_decoder.h"
#include "surfaces/bmp_builder.h"
#include "surfaces/fake_host.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

using namespace ddraw;
using dddd::TDDDDSurface;
using surfacetest::Bytes;
using surfacetest::FakeHost;
using surfacetest::MakeBmp24;
using surfacetest::MakeBmp8;

namespace {

constexpr std::uint32_t kUntouched = 0x00EEEEEE;

std::uint32_t Pattern(int x, int y) { return ((x * 7) & 0xFF) << 16 | ((y * 3) & 0xFF) << 8 | ((x + y) & 0xFF); }

class BitmapLoadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFailureInjection();
        previous_ = ui::SetBitmapDecoder(&decoder_);
    }
    void TearDown() override { ui::SetBitmapDecoder(previous_); }

    static void Fill(TDDDDSurface& s, std::uint32_t value) {
        DDBLTFX fx = MakeBltFx();
        fx.dwFillColor = value;
        s.Surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }
    static void Load(TDDDDSurface& s, const Bytes& bytes, std::int64_t position = 0) {
        base::MemoryStream stream(bytes);
        stream.SetPosition(position);
        s.LoadBMP(stream);
    }

    displaytest::LogCapture log;
    ui::QtBitmapDecoder decoder_;
    ui::BitmapDecoder* previous_ = nullptr;
};

TEST_F(BitmapLoadingTest, APictureOfTheSurfaceSizeIsCopiedPixelForPixel) {
    FakeHost host;
    TDDDDSurface s(&host, 640, 480, 0);
    Load(s, MakeBmp24(640, 480, Pattern));
    for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {0, 479}, {639, 479}, {123, 321}})
        EXPECT_EQ(s.ReadPixel(x, y), Pattern(x, y)) << x << "," << y;
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(BitmapLoadingTest, OnASixteenBitDisplayColoursAreConverted) {
    FakeHost host(16);
    host.ScreenBits = 16;
    TDDDDSurface s(&host, 640, 480, 0);
    Load(s, MakeBmp24(640, 480, [](int x, int) { return x < 320 ? 0x00FF0000u : 0x000000FFu; }));
    EXPECT_EQ(s.ReadPixel(0, 0), 0xF800u);
    EXPECT_EQ(s.ReadPixel(639, 479), 0x001Fu);
}

TEST_F(BitmapLoadingTest, ASmallerPictureIsScaledToCoverTheSurface) {
    FakeHost host;
    TDDDDSurface s(&host, 640, 480, 0);
    Load(s, MakeBmp24(320, 240, Pattern));
    EXPECT_EQ(s.ReadPixel(0, 0), Pattern(0, 0));
    EXPECT_EQ(s.ReadPixel(639, 479), Pattern(319, 239));
    EXPECT_EQ(s.ReadPixel(200, 100), Pattern(100, 50));
}

TEST_F(BitmapLoadingTest, EightBitPictureOnAnEightBitDesktopLandsBottomAlignedUnscaled) {
    FakeHost host(8);
    host.ScreenBits = 8;
    TDDDDSurface s(&host, 640, 480, 0);
    Fill(s, 0xEE);
    Load(s, MakeBmp8(100, 50, [](int x, int y) { return static_cast<std::uint8_t>(x + y); }));
    EXPECT_EQ(s.ReadPixel(0, 430), 0u);
    EXPECT_EQ(s.ReadPixel(99, 479), 99u + 49u);
    EXPECT_EQ(s.ReadPixel(10, 440), 20u);
    EXPECT_EQ(s.ReadPixel(0, 429), 0xEEu);
    EXPECT_EQ(s.ReadPixel(104, 479), 0xEEu);
    EXPECT_EQ(CallCount(Operation::GetDC), 0);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(BitmapLoadingTest, TwentyFourBitPictureOnAnEightBitDesktopIsDecoded) {
    FakeHost host(8);
    host.ScreenBits = 8;
    TDDDDSurface s(&host, 64, 32, 0);
    Load(s, MakeBmp24(64, 32, Pattern));
    EXPECT_EQ(CallCount(Operation::GetDC), 1);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(BitmapLoadingTest, TheDecoderReadsFromTheStreamStart) {
    FakeHost host;
    TDDDDSurface s(&host, 8, 8, 0);
    Bytes first = MakeBmp24(8, 8, [](int, int) { return 0x00102030u; });
    Bytes second = MakeBmp24(8, 8, [](int, int) { return 0x00405060u; });
    Bytes both = first;
    both.insert(both.end(), second.begin(), second.end());
    Load(s, both, static_cast<std::int64_t>(first.size()));
    EXPECT_EQ(s.ReadPixel(3, 3), 0x00102030u);
}

TEST_F(BitmapLoadingTest, BadFilesAreReportedAndLeaveTheSurfaceAlone) {
    FakeHost host;
    TDDDDSurface s(&host, 16, 16, 0);
    Fill(s, kUntouched);
    Bytes notBmp = MakeBmp24(4, 4, Pattern);
    notBmp[0] = 'X';
    Load(s, notBmp);
    Bytes truncated = MakeBmp24(640, 480, Pattern);
    truncated.resize(200);
    Load(s, truncated);
    Load(s, Bytes{});
    EXPECT_EQ(s.ReadPixel(5, 5), kUntouched);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"おかしなBMPファイルです", "不正なビットマップです",
                                                     "おかしなBMPファイルです"}));
}

TEST_F(BitmapLoadingTest, HostileSizesNeverReachTheDecoderOrOverrunTheSurface) {
    FakeHost host;
    TDDDDSurface s(&host, 16, 16, 0);
    // Run-length data promising a picture of 900 million pixels.
    Bytes rle = surfacetest::BmpHeaders(30000, 30000, 8, 54 + 1024, 1);
    rle.resize(54 + 1024 + 64, 0);
    Load(s, rle);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"不正なビットマップです"});
}

TEST_F(BitmapLoadingTest, HostileHeadersOnTheDirectPath) {
    FakeHost host(8);
    host.ScreenBits = 8;
    TDDDDSurface s(&host, 32, 16, 0);
    Fill(s, 0xEE);
    Bytes huge = surfacetest::BmpHeaders(0x7FFFFFFF, 0x7FFFFFFF, 8, 54 + 1024);
    huge.resize(54 + 1024 + 40, 0x11);
    Load(s, huge); // rows of the surface's width, the rest skipped
    EXPECT_EQ(s.ReadPixel(0, 15), 0x11u);
    EXPECT_EQ(s.ReadPixel(31, 15), 0x11u);
    EXPECT_EQ(s.ReadPixel(0, 0), 0u); // bytes that never arrived read as zero

    Bytes farOffset = surfacetest::BmpHeaders(32, 16, 8, 0xFFFFFFF0u);
    farOffset.resize(54 + 1024, 0);
    Load(s, farOffset);
    Load(s, surfacetest::BmpHeaders(-32, 16, 8, 54 + 1024));
    Load(s, surfacetest::BmpHeaders(32, 0, 8, 54 + 1024));
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"LoadBMP中に、読み込みエラーが発生しました",
                                                     "LoadBMP中に、読み込みエラーが発生しました"}));
    EXPECT_FALSE(s.Locked);
}

TEST_F(BitmapLoadingTest, FilesAndArchiveEntries) {
    FakeHost host;
    TDDDDSurface s(&host, 8, 8, 0);
    s.LoadFromFile(log.Dir().File("nothing.bmp"));
    EXPECT_EQ(log.Lines().back(), log.Dir().File("nothing.bmp") + "が、見つかりません");
    EXPECT_EQ(s.FileName, log.Dir().File("nothing.bmp"));

    const Bytes picture = MakeBmp24(8, 8, [](int, int) { return 0x00336699u; });
    // A plain archive: header, one directory entry, the entry's bytes.
    Bytes archive(256 + 268, 0);
    surfacetest::Put32(archive, 0, 0);
    archive[4] = 'Q';
    archive[5] = 'D';
    archive[6] = 'A';
    archive[7] = '0';
    surfacetest::Put32(archive, 8, 1);
    surfacetest::Put32(archive, 256, static_cast<std::uint32_t>(archive.size()));
    surfacetest::Put32(archive, 256 + 4, static_cast<std::uint32_t>(picture.size()));
    surfacetest::Put32(archive, 256 + 8, static_cast<std::uint32_t>(picture.size()));
    const std::string name = "CHAR.BMP";
    std::copy(name.begin(), name.end(), archive.begin() + 256 + 12);
    archive.insert(archive.end(), picture.begin(), picture.end());
    const std::string path = log.Dir().File("pictures.qda");
    testsupport::WriteFileBytes(path, std::string(archive.begin(), archive.end()));

    s.LoadFromArchive(path, "char.bmp");
    EXPECT_EQ(s.ReadPixel(7, 7), 0x00336699u);
    EXPECT_TRUE(s.FromArchive);
    EXPECT_EQ(s.ArchiveEntry, "char.bmp");
    s.LoadFromArchive(path, "missing.bmp");
    s.LoadFromArchive(log.Dir().File("none.qda"), "char.bmp");
    const auto lines = log.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "アーカイブからのビットマップの読み取りに失敗しました");
    EXPECT_EQ(lines[2], "アーカイブからのビットマップの読み取りに失敗しました");
    // A file that is there but cannot be opened is not called missing.
    std::filesystem::create_directory(log.Dir().File("folder.bmp"));
    s.LoadFromFile(log.Dir().File("folder.bmp"));
    EXPECT_EQ(log.Lines().back(), log.Dir().File("folder.bmp") + "が、開けません(" +
                                      base::SystemErrorText(EISDIR) + ")");
}

} // namespace

namespace {

TEST_F(BitmapLoadingTest, TheGamesPicturesLoadOnASixteenBitDisplay) {
    FakeHost host(16);
    host.ScreenBits = 16;
    for (const char* name : {"haikei.bmp", "char.bmp", "kai_g.bmp", "kai_p.bmp"}) {
        TDDDDSurface s(&host, 640, 480, 0);
        Fill(s, 0x1234);
        s.LoadFromFile(std::string(PIMURU_DATA_DIR) + "/" + name);
        bool changed = false;
        for (int y = 0; y < 480 && !changed; y += 7)
            for (int x = 0; x < 640 && !changed; x += 5)
                changed = s.ReadPixel(x, y) != 0x1234u;
        EXPECT_TRUE(changed) << name;
        EXPECT_EQ(s.ColorMatch(RGB(0, 0, 0)), 0u);
    }
    EXPECT_TRUE(log.Lines().empty());
}

} // namespace
