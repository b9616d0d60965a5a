#include "bmp_writer.h"
#include "midi_writer.h"
#include "wave_writer.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

std::uint32_t LE32(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
           static_cast<std::uint8_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

std::uint16_t LE16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8);
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (unsigned char c : bytes) {
        s += digits[c >> 4];
        s += digits[c & 15];
        s += ' ';
    }
    return s;
}

TEST(BmpWriter, TwentyFourBitRowsAreBottomUpAndPaddedToFourBytes) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(2, 0, qRgb(0, 0, 255));
    image.setPixel(0, 1, qRgb(1, 2, 3));
    image.setPixel(1, 1, qRgb(4, 5, 6));
    image.setPixel(2, 1, qRgb(7, 8, 9));
    const std::string bmp = datamaker::EncodeBmp24(image);
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(LE32(bmp, 2), bmp.size());
    EXPECT_EQ(LE32(bmp, 10), 54u);
    EXPECT_EQ(LE32(bmp, 14), 40u);
    EXPECT_EQ(LE32(bmp, 18), 3u);
    EXPECT_EQ(LE32(bmp, 22), 2u);
    EXPECT_EQ(LE16(bmp, 28), 24);
    EXPECT_EQ(LE32(bmp, 30), 0u);
    // The bottom row comes first, blue-green-red, then three bytes of padding.
    EXPECT_EQ(Hex(bmp.substr(54, 12)), "03 02 01 06 05 04 09 08 07 00 00 00 ");
    EXPECT_EQ(Hex(bmp.substr(66, 12)), "00 00 FF 00 FF 00 FF 00 00 00 00 00 ");

    const QImage back = QImage::fromData(reinterpret_cast<const uchar*>(bmp.data()), static_cast<int>(bmp.size()), "BMP");
    ASSERT_EQ(back.size(), image.size());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(back.pixel(x, y), image.pixel(x, y)) << x << "," << y;
}

TEST(BmpWriter, SixteenColourPicturesPackTwoPixelsPerByteHighNibbleFirst) {
    QImage image(5, 2, QImage::Format_Indexed8);
    QVector<QRgb> table;
    for (int i = 0; i < 16; ++i)
        table.push_back(qRgb(i * 16, 255 - i * 16, i));
    image.setColorTable(table);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            image.setPixel(x, y, static_cast<uint>((x + 5 * y) % 16));
    const std::string bmp = datamaker::EncodeBmp4(image);
    ASSERT_EQ(bmp.size(), 54u + 64 + 2 * 4);
    EXPECT_EQ(LE16(bmp, 28), 4);
    EXPECT_EQ(LE32(bmp, 10), 54u + 64);
    EXPECT_EQ(LE32(bmp, 46), 16u);
    EXPECT_EQ(Hex(bmp.substr(54 + 4, 4)), "01 EF 10 00 "); // entry 1, blue-green-red-0
    EXPECT_EQ(Hex(bmp.substr(118, 4)), "56 78 90 00 ");   // bottom row: 5 6 7 8 9
    EXPECT_EQ(Hex(bmp.substr(122, 4)), "01 23 40 00 ");

    const QImage back = QImage::fromData(reinterpret_cast<const uchar*>(bmp.data()), static_cast<int>(bmp.size()), "BMP");
    ASSERT_EQ(back.size(), image.size());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(back.pixel(x, y), image.pixel(x, y)) << x << "," << y;
}

TEST(BmpWriter, RefusesPicturesThatAreNotSixteenColours) {
    QImage rgb(2, 2, QImage::Format_RGB32);
    EXPECT_THROW(datamaker::EncodeBmp4(rgb), std::invalid_argument);
    QImage many(2, 2, QImage::Format_Indexed8);
    many.setColorCount(17);
    EXPECT_THROW(datamaker::EncodeBmp4(many), std::invalid_argument);
}

TEST(WaveWriter, WritesAPlainPcmHeaderAndLittleEndianSamples) {
    const std::string wav = datamaker::EncodeWave({0, 1, -1, 32767, -32768}, 22050);
    ASSERT_EQ(wav.size(), 44u + 10);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(LE32(wav, 4), 36u + 10);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(LE32(wav, 16), 16u);
    EXPECT_EQ(LE16(wav, 20), 1);     // PCM
    EXPECT_EQ(LE16(wav, 22), 1);     // mono
    EXPECT_EQ(LE32(wav, 24), 22050u);
    EXPECT_EQ(LE32(wav, 28), 44100u); // bytes per second
    EXPECT_EQ(LE16(wav, 32), 2);     // block align
    EXPECT_EQ(LE16(wav, 34), 16);
    EXPECT_EQ(wav.substr(36, 4), "data");
    EXPECT_EQ(LE32(wav, 40), 10u);
    EXPECT_EQ(Hex(wav.substr(44)), "00 00 01 00 FF FF FF 7F 00 80 ");
}

TEST(MidiWriter, WritesDeltasAsVariableLengthNumbersAndEndsEveryTrackTogether) {
    datamaker::MidiTrack a;
    a.Note(0, 0x80, 0, 60, 100); // off after 128 ticks: delta 81 00
    datamaker::MidiTrack b;
    b.Note(0x4000, 10, 9, 36, 90); // delta 0x4000 = 81 80 00
    const std::string file = datamaker::EncodeMidiFile({a, b}, 480, 0x5000);
    EXPECT_EQ(Hex(file.substr(0, 14)), "4D 54 68 64 00 00 00 06 00 01 00 02 01 E0 ");
    // Track a: on, off 128 later, end of track at 0x5000.
    const std::string trackA = file.substr(14);
    EXPECT_EQ(trackA.substr(0, 4), "MTrk");
    EXPECT_EQ(Hex(trackA.substr(8, 19)), "00 90 3C 64 81 00 80 3C 40 81 9F 00 FF 2F 00 4D 54 72 6B ");
    const std::string trackB = trackA.substr(8 + 15);
    EXPECT_EQ(Hex(trackB.substr(8)), "81 80 00 99 24 5A 0A 89 24 40 9F 76 FF 2F 00 ");
}

TEST(MidiWriter, PutsNoteOffsBeforeNoteOnsAtTheSameTick) {
    datamaker::MidiTrack t;
    t.Note(100, 50, 0, 64, 80); // ends at 150
    t.Note(150, 50, 0, 64, 80); // the same key again at 150
    const std::string track = t.Encode(0);
    EXPECT_EQ(Hex(track.substr(8)), "64 90 40 50 32 80 40 40 00 90 40 50 32 80 40 40 00 FF 2F 00 ");
}

TEST(MidiWriter, RejectsValuesOutsideMidiRanges) {
    datamaker::MidiTrack t;
    EXPECT_THROW(t.Note(0, 10, 16, 60, 100), std::out_of_range);
    EXPECT_THROW(t.Note(0, 10, 0, 128, 100), std::out_of_range);
    EXPECT_THROW(t.Note(0, 10, 0, 60, 0), std::invalid_argument);
    EXPECT_THROW(t.Program(0, 0, 128), std::out_of_range);
}

} // namespace
