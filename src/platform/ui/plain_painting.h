#pragma once
// Painting onto 16-bit (5-6-5) and 32-bit (x8-r8-g8-b8) images without a
// painter: solid fills, and text whose kept glyph coverage is mixed with the
// text colour at each pixel, as the raster painter mixes it. Painters cost
// far more to set up than the few hundred pixels a line or a text touches.

#include "platform/ui/shaped_text.h"

#include <QImage>
#include <QPoint>
#include <QRgb>

#include <cstdint>

namespace ui {

// Whether images of this format can be painted on this way.
bool CanPaintPlainlyOn(QImage::Format format);

// Fills the rectangle (clipped to the image) with a raw pixel value.
void FillRaw(QImage& image, const QRect& area, std::uint32_t raw);

// Stamps the text in `colour` with its cell's top-left corner at `cell`,
// changing only pixels within `bounds`.
void StampText(QImage& image, QPoint cell, const ShapedText& text, QRgb colour,
               const QRect& bounds);

} // namespace ui
