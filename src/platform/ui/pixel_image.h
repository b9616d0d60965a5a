#pragma once
// QImage views and copies of a surface's pixels: formats Qt can paint into
// directly are wrapped without a copy; every surface can be copied into
// 32-bit colour for showing or for painting on a copy.

#include "platform/ddraw/pixel_view.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

namespace ui {

// The QImage format that has the surface's exact pixel layout, or
// QImage::Format_Invalid when Qt has none (8 bits, unusual masks).
QImage::Format WrappableFormat(const ddraw::PixelView& view);

// An image over the surface's own memory (no copy); null when the format
// cannot be wrapped.
QImage WrapPixels(const ddraw::PixelView& view);

// The part of the surface as a Format_RGB32 image (parts outside the
// surface black).
QImage CopyToRgb32(const ddraw::PixelView& view, const QRect& part);

// The whole surface scaled into `target` (a Format_RGB32 image of the size
// wanted) with nearest neighbour, converting and scaling in one pass on this
// thread: the full-screen frame's path, run once per frame.
void ScaleToRgb32(const ddraw::PixelView& view, QImage& target);
// Only the parts (rectangles of the target's pixels) of that same scaling:
// for a frame of which only some parts changed.
void ScalePartsToRgb32(const ddraw::PixelView& view, QImage& target, const std::vector<QRect>& parts);

// A row of 5-6-5 pixels as opaque RGB32, each channel widened by repeating
// its top bits (as Qt and the X server widen them).
void Rgb565RowToRgb32(const std::uint16_t* in, std::uint32_t* out, int count);

// Copies a row of 32-bit pixels onto a window's image, made opaque. The
// window system reads that image next, not us: streaming stores skip our
// caches. Call FinishStreaming() after the last row.
void StreamOpaqueRow(const std::uint32_t* in, std::uint32_t* out, int count);
void FinishStreaming();

// Fills a part of a 32-bit image with opaque black.
void FillOpaqueBlack(QImage& image, const QRect& part);

} // namespace ui
