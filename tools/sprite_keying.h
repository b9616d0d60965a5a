#pragma once
// Sprites are painted with antialiasing onto a transparent picture, then
// put onto a sheet whose black is the game's colour key: a pixel at least
// half covered becomes solid, the rest stays black.

#include <QColor>
#include <QImage>
#include <QPainter>

namespace datamaker {

// The near-black of outlines: stays a visible pixel after conversion to 15-
// or 16-bit colour, where the key black must stay the only zero.
constexpr QRgb kOutline = qRgb(34, 22, 46);

// A transparent picture of the given size, ready to paint on.
QImage NewSprite(int width, int height);
// A painter with antialiasing on.
void BeginSmooth(QPainter& painter, QImage& image);

// Any colour so dark that a 15- or 16-bit surface would turn it into the
// key is lifted just above it.
QRgb LiftFromKey(QRgb colour);

// A premultiplied pixel made straight with whole-number arithmetic. Qt's own
// conversion takes a reciprocal that processors approximate each in their own
// way, so its last bit differed between Intel and AMD machines.
QRgb Unpremultiply(QRgb premultiplied);

// Copies the covered pixels of a sprite onto a sheet at (left, top).
void KeyOnto(QImage& sheet, const QImage& sprite, int left, int top);

} // namespace datamaker
