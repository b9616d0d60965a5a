#pragma once
// BMP decoding through Qt's image reader, guarded against files whose
// stated size the file's own bytes cannot fill.

#include "platform/component/bitmap_decoder.h"

namespace ui {

class QtBitmapDecoder : public BitmapDecoder {
public:
    bool Decode(const std::uint8_t* data, std::size_t size, DecodedBitmap& image) override;
};

// Whether the headers promise no more pixels than a file of this size can
// hold. Run-length files may expand, but only so far.
bool BitmapSizeJustified(const std::uint8_t* data, std::size_t size);

} // namespace ui
