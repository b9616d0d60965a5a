#pragma once
// Decoding of a whole BMP file held in memory into plain 32-bit pixels, for
// the surface loader's general path. The Qt back end installs the decoder.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ui {

struct DecodedBitmap {
    int Width = 0;
    int Height = 0;
    // Rows top to bottom, each pixel 0x00RRGGBB.
    std::vector<std::uint32_t> Pixels;
};

class BitmapDecoder {
public:
    virtual ~BitmapDecoder() = default;
    // False when the bytes are not a BMP file the decoder accepts; image is
    // then left empty.
    virtual bool Decode(const std::uint8_t* data, std::size_t size, DecodedBitmap& image) = 0;
};

// The installed decoder; throws std::logic_error when none is installed.
BitmapDecoder& CurrentBitmapDecoder();
// Installs a decoder (not owned; nullptr removes it). Returns the previous.
BitmapDecoder* SetBitmapDecoder(BitmapDecoder* decoder);

} // namespace ui
