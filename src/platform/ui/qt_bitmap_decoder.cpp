#include "platform/ui/qt_bitmap_decoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <cstdlib>
#include <cstring>

namespace ui {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
// The largest picture accepted at all: 64 million pixels (256 MiB decoded).
constexpr std::uint64_t kMaxPixels = 64ull * 1024 * 1024;
// A run-length pair of two bytes draws at most 255 pixels.
constexpr std::uint64_t kMaxRunLengthPixelsPerByte = 128;

std::uint32_t ReadU32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t ReadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

} // namespace

bool BitmapSizeJustified(const std::uint8_t* data, std::size_t size) {
    if (size < kFileHeaderSize + 4)
        return false;
    const std::uint32_t headerSize = ReadU32(data + kFileHeaderSize);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        if (size < kFileHeaderSize + 12)
            return false;
        width = ReadU16(data + 18);
        height = ReadU16(data + 20);
        bitsPerPixel = ReadU16(data + 24);
    } else if (headerSize >= 16) {
        if (size < kFileHeaderSize + std::min<std::uint32_t>(headerSize, 20))
            return false;
        width = static_cast<std::int32_t>(ReadU32(data + 18));
        height = static_cast<std::int32_t>(ReadU32(data + 22));
        bitsPerPixel = ReadU16(data + 28);
        if (headerSize >= 20 && size >= kFileHeaderSize + 20)
            compression = ReadU32(data + 30);
    } else {
        return false;
    }
    width = std::llabs(width);
    height = std::llabs(height);
    if (width == 0 || height == 0 || bitsPerPixel == 0 || bitsPerPixel > 32)
        return false;
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (pixels > kMaxPixels)
        return false;
    switch (compression) {
    case 0: // plain rows
    case 3: // rows with channel masks
    case 6: {
        const std::uint64_t rowBytes =
            (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
        const std::uint32_t pixelOffset = ReadU32(data + 10);
        const std::uint64_t available = pixelOffset < size ? size - pixelOffset : 0;
        return rowBytes * static_cast<std::uint64_t>(height) <= available;
    }
    case 1: // run-length, 8 bits
    case 2: // run-length, 4 bits
        return pixels <= static_cast<std::uint64_t>(size) * kMaxRunLengthPixelsPerByte;
    default:
        return false;
    }
}

bool QtBitmapDecoder::Decode(const std::uint8_t* data, std::size_t size, DecodedBitmap& image) {
    image = DecodedBitmap{};
    if (!data || size < 2 || data[0] != 'B' || data[1] != 'M')
        return false;
    if (!BitmapSizeJustified(data, size))
        return false;
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull())
        return false;
    decoded = decoded.convertToFormat(QImage::Format_RGB32);
    if (decoded.isNull())
        return false;
    image.Width = decoded.width();
    image.Height = decoded.height();
    image.Pixels.resize(static_cast<std::size_t>(image.Width) *
                        static_cast<std::size_t>(image.Height));
    for (int y = 0; y < image.Height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(decoded.constScanLine(y));
        std::uint32_t* out = image.Pixels.data() + static_cast<std::size_t>(y) * image.Width;
        for (int x = 0; x < image.Width; ++x)
            out[x] = row[x] & 0x00FFFFFFu;
    }
    return true;
}

} // namespace ui
