#include "bmp_writer.h"

#include "byte_writer.h"

#include <stdexcept>

namespace datamaker {
namespace {

constexpr std::uint32_t kHeadersSize = 14 + 40;

void PutHeaders(std::string& out, int width, int height, int bitsPerPixel, std::uint32_t paletteEntries,
                std::uint32_t rowSize) {
    const std::uint32_t pixelOffset = kHeadersSize + paletteEntries * 4;
    const std::uint32_t imageSize = rowSize * static_cast<std::uint32_t>(height);
    out += "BM";
    PutLE32(out, pixelOffset + imageSize);
    PutLE16(out, 0);
    PutLE16(out, 0);
    PutLE32(out, pixelOffset);
    PutLE32(out, 40);
    PutLE32(out, static_cast<std::uint32_t>(width));
    PutLE32(out, static_cast<std::uint32_t>(height));
    PutLE16(out, 1);
    PutLE16(out, static_cast<std::uint32_t>(bitsPerPixel));
    PutLE32(out, 0); // uncompressed
    PutLE32(out, imageSize);
    PutLE32(out, 3780); // 96 dots per inch, in dots per metre
    PutLE32(out, 3780);
    PutLE32(out, paletteEntries);
    PutLE32(out, 0);
}

std::uint32_t PaddedRow(int width, int bitsPerPixel) {
    return ((static_cast<std::uint32_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

} // namespace

std::string EncodeBmp24(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    const int h = rgb.height();
    const std::uint32_t rowSize = PaddedRow(w, 24);
    std::string out;
    out.reserve(kHeadersSize + rowSize * h);
    PutHeaders(out, w, h, 24, 0, rowSize);
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.push_back(static_cast<char>(qBlue(line[x])));
            out.push_back(static_cast<char>(qGreen(line[x])));
            out.push_back(static_cast<char>(qRed(line[x])));
        }
        out.append(rowSize - static_cast<std::uint32_t>(w) * 3, '\0');
    }
    return out;
}

std::string EncodeBmp4(const QImage& indexed) {
    if (indexed.format() != QImage::Format_Indexed8 || indexed.colorCount() > 16)
        throw std::invalid_argument("EncodeBmp4 needs an indexed image of at most 16 colours");
    const int w = indexed.width();
    const int h = indexed.height();
    const std::uint32_t rowSize = PaddedRow(w, 4);
    std::string out;
    PutHeaders(out, w, h, 4, 16, rowSize);
    for (int i = 0; i < 16; ++i) {
        const QRgb c = i < indexed.colorCount() ? indexed.color(i) : qRgb(0, 0, 0);
        out.push_back(static_cast<char>(qBlue(c)));
        out.push_back(static_cast<char>(qGreen(c)));
        out.push_back(static_cast<char>(qRed(c)));
        out.push_back('\0');
    }
    for (int y = h - 1; y >= 0; --y) {
        const uchar* line = indexed.constScanLine(y);
        std::string row(rowSize, '\0');
        for (int x = 0; x < w; ++x) {
            const int shift = (x % 2 == 0) ? 4 : 0;
            row[x / 2] = static_cast<char>(static_cast<uchar>(row[x / 2]) | ((line[x] & 0x0F) << shift));
        }
        out += row;
    }
    return out;
}

} // namespace datamaker
