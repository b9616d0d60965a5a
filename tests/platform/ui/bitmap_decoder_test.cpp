#include "platform/ui/qt_bitmap_decoder.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// A BMP with the usual 40-byte header; pixel rows are appended by the caller.
std::vector<std::uint8_t> Header(int width, int height, int bits, int paletteEntries,
                                 std::uint32_t compression = 0) {
    std::vector<std::uint8_t> bytes(54 + 4 * paletteEntries, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put32(bytes, 10, static_cast<std::uint32_t>(bytes.size()));
    Put32(bytes, 14, 40);
    Put32(bytes, 18, static_cast<std::uint32_t>(width));
    Put32(bytes, 22, static_cast<std::uint32_t>(height));
    Put16(bytes, 26, 1);
    Put16(bytes, 28, static_cast<std::uint16_t>(bits));
    Put32(bytes, 30, compression);
    Put32(bytes, 46, static_cast<std::uint32_t>(paletteEntries));
    return bytes;
}

void FinishFile(std::vector<std::uint8_t>& bytes) {
    Put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
}

TEST(QtBitmapDecoder, TrueColourFileComesOutTopRowFirst) {
    // 2 by 2, 24 bits; rows stored bottom first, each padded to 8 bytes.
    auto bytes = Header(2, 2, 24, 0);
    const std::uint8_t bottom[] = {0, 0, 255, 0, 255, 0, 0, 0};  // red, green
    const std::uint8_t top[] = {255, 0, 0, 255, 255, 255, 0, 0}; // blue, white
    bytes.insert(bytes.end(), bottom, bottom + 8);
    bytes.insert(bytes.end(), top, top + 8);
    FinishFile(bytes);
    ui::QtBitmapDecoder decoder;
    ui::DecodedBitmap image;
    ASSERT_TRUE(decoder.Decode(bytes.data(), bytes.size(), image));
    ASSERT_EQ(image.Width, 2);
    ASSERT_EQ(image.Height, 2);
    EXPECT_EQ(image.Pixels, (std::vector<std::uint32_t>{0x0000FF, 0xFFFFFF, 0xFF0000, 0x00FF00}));
}

TEST(QtBitmapDecoder, PalettedFileTakesItsColoursFromThePalette) {
    auto bytes = Header(3, 1, 8, 2);
    Put32(bytes, 54, 0x00112233);
    Put32(bytes, 58, 0x00AABBCC);
    const std::uint8_t row[] = {1, 0, 1, 0};
    bytes.insert(bytes.end(), row, row + 4);
    FinishFile(bytes);
    ui::QtBitmapDecoder decoder;
    ui::DecodedBitmap image;
    ASSERT_TRUE(decoder.Decode(bytes.data(), bytes.size(), image));
    EXPECT_EQ(image.Pixels, (std::vector<std::uint32_t>{0xAABBCC, 0x112233, 0xAABBCC}));
}

TEST(QtBitmapDecoder, RefusesWhatIsNotABitmap) {
    ui::QtBitmapDecoder decoder;
    ui::DecodedBitmap image;
    const std::uint8_t text[] = "not a bitmap at all, only some words to read";
    EXPECT_FALSE(decoder.Decode(text, sizeof text, image));
    EXPECT_FALSE(decoder.Decode(nullptr, 0, image));
    auto bytes = Header(2, 2, 24, 0);
    bytes[1] = 'X';
    bytes.resize(bytes.size() + 16, 0);
    EXPECT_FALSE(decoder.Decode(bytes.data(), bytes.size(), image));
    EXPECT_TRUE(image.Pixels.empty());
}

TEST(QtBitmapDecoder, RefusesSizesTheFileCannotHold) {
    ui::QtBitmapDecoder decoder;
    ui::DecodedBitmap image;
    // Tens of gigabytes promised by a file of a few dozen bytes.
    auto huge = Header(100000, -100000, 32, 0);
    huge.resize(huge.size() + 64, 0);
    EXPECT_FALSE(ui::BitmapSizeJustified(huge.data(), huge.size()));
    EXPECT_FALSE(decoder.Decode(huge.data(), huge.size(), image));
    // Half the rows missing.
    auto shortFile = Header(16, 16, 24, 0);
    shortFile.resize(shortFile.size() + 8 * 48, 0);
    EXPECT_FALSE(decoder.Decode(shortFile.data(), shortFile.size(), image));
    // Run-length data may expand, but not without bound.
    auto rle = Header(30000, 30000, 8, 0, 1);
    rle.resize(rle.size() + 16, 0);
    EXPECT_FALSE(decoder.Decode(rle.data(), rle.size(), image));
    // Header cut off.
    auto cut = Header(2, 2, 24, 0);
    cut.resize(20);
    EXPECT_FALSE(decoder.Decode(cut.data(), cut.size(), image));
    EXPECT_TRUE(image.Pixels.empty());
}

} // namespace
