#include "committed_data.h"

#include "bmp_writer.h"
#include "data_set.h"
#include "picture_comparison.h"
#include "sheet_layout.h"
#include "support/temp_dir.h"

#include <QByteArray>
#include <QImage>
#include <gtest/gtest.h>

namespace toolstest {

std::string CommittedFile(const std::string& name) {
    return testsupport::ReadFileBytes(std::string(PIMURU_DATA_DIR) + "/" + name);
}

namespace {

bool IsPicture(const std::string& name) {
    return name.ends_with(".bmp");
}

// Pictures may differ in the last rounding bit of a painting library;
// sounds, the tune and the help text must be the generator's bytes.
TEST(CommittedData, IsWhatTheGeneratorWrites) {
    testsupport::TempDir dir;
    const auto files = datamaker::MakeDataFiles();
    datamaker::WriteDataFiles(files, dir.Path());
    ASSERT_EQ(files.size(), 16u);
    for (const datamaker::DataFile& file : files) {
        const std::string generated = testsupport::ReadFileBytes(dir.File(file.name));
        const std::string committed = CommittedFile(file.name);
        ASSERT_EQ(generated, file.bytes) << file.name << " was not written as generated";
        const std::string hint =
            ". If the generator was changed on purpose, build the regenerate_data target and "
            "commit data/.";
        if (IsPicture(file.name)) {
            const std::string difference = PictureDifference(committed, generated);
            EXPECT_EQ(difference, "")
                << "data/" << file.name << " differs from the generator's output" << hint;
            continue;
        }
        if (committed == generated)
            continue;
        std::size_t at = 0;
        while (at < committed.size() && at < generated.size() && committed[at] == generated[at])
            ++at;
        ADD_FAILURE() << "data/" << file.name << " (" << committed.size()
                      << " bytes) differs from the generator's "
                      << "output (" << generated.size() << " bytes) from byte " << at << hint;
    }
}

class PictureCheck : public ::testing::Test {
protected:
    PictureCheck() {
        const std::string bytes = CommittedFile("char.bmp");
        original_.loadFromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())),
                               "BMP");
        original_ = original_.convertToFormat(QImage::Format_RGB32);
        const datamaker::SpriteCell cell = datamaker::BallCell(0);
        for (int y = cell.bottom - 1; y >= cell.top; --y)
            for (int x = cell.left; x < cell.right; ++x)
                if (original_.pixel(x, y) != qRgb(0, 0, 0))
                    ballPixel_ = {x, y};
    }
    std::string DifferenceTo(const QImage& changed) const {
        return PictureDifference(datamaker::EncodeBmp24(original_),
                                 datamaker::EncodeBmp24(changed));
    }

    QImage original_;
    QPoint ballPixel_; // the ball's topmost coloured pixel
};

TEST_F(PictureCheck, AcceptsRoundingOnAFewPixels) {
    QImage rounded = original_;
    const datamaker::SpriteCell cell = datamaker::BallCell(0);
    for (int x = cell.left; x < cell.right; ++x) {
        const QRgb c = original_.pixel(x, ballPixel_.y() + 2);
        if (c != qRgb(0, 0, 0))
            rounded.setPixel(x, ballPixel_.y() + 2, qRgb(qRed(c) ^ 1, qGreen(c), qBlue(c) ^ 1));
    }
    ASSERT_NE(rounded, original_);
    EXPECT_EQ(DifferenceTo(rounded), "");
}

TEST_F(PictureCheck, RefusesAMovedSpriteANewColourAndALostOutline) {
    const datamaker::SpriteCell cell = datamaker::BallCell(0);
    QImage moved = original_;
    for (int y = cell.top; y < cell.bottom; ++y)
        for (int x = cell.left + 1; x < cell.right; ++x)
            moved.setPixel(x, y, original_.pixel(x - 1, y));
    EXPECT_NE(DifferenceTo(moved), "");

    const QRgb c = original_.pixel(ballPixel_);
    QImage recoloured = original_;
    recoloured.setPixel(ballPixel_, qRgb(qRed(c) ^ 0x40, qGreen(c), qBlue(c)));
    EXPECT_NE(DifferenceTo(recoloured), "");

    QImage outlineLost = original_;
    outlineLost.setPixel(ballPixel_, qRgb(0, 0, 0));
    EXPECT_NE(DifferenceTo(outlineLost), "");

    QImage allOffByOne = original_;
    for (int y = 0; y < original_.height(); ++y)
        for (int x = 0; x < original_.width(); ++x)
            if (original_.pixel(x, y) != qRgb(0, 0, 0))
                allOffByOne.setPixel(x, y, original_.pixel(x, y) ^ 1);
    EXPECT_NE(DifferenceTo(allOffByOne), "");
}

TEST(CommittedData, WritingIntoAnUnwritablePlaceNamesTheFile) {
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.File("blocker"), "x");
    try {
        datamaker::WriteDataFiles({{"a.txt", "a"}}, dir.Path() / "blocker");
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("blocker"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace toolstest
