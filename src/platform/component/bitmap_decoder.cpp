#include "platform/component/bitmap_decoder.h"

#include <stdexcept>

namespace ui {

namespace {
BitmapDecoder* installed = nullptr;
}

BitmapDecoder& CurrentBitmapDecoder() {
    if (!installed)
        throw std::logic_error("no bitmap decoder installed");
    return *installed;
}

BitmapDecoder* SetBitmapDecoder(BitmapDecoder* decoder) {
    BitmapDecoder* previous = installed;
    installed = decoder;
    return previous;
}

} // namespace ui
