#pragma once
// Writes Windows BMP files (14-byte file header, 40-byte info header,
// bottom-up rows padded to four bytes) the way the game's loader expects.

#include <QImage>
#include <string>

namespace datamaker {

// 24 bits per pixel, uncompressed; alpha is ignored.
std::string EncodeBmp24(const QImage& image);

// 4 bits per pixel with a 16-entry colour table. The image must be
// Format_Indexed8 with at most 16 colours in its table.
std::string EncodeBmp4(const QImage& indexed);

} // namespace datamaker
