#pragma once
// Text laid out once and drawn many times. A game draws the same few
// strings on every frame, and laying them out anew each time costs more
// than drawing them; the layouts, and the glyphs' coverage as the raster
// painter paints it, are kept by font and text.

#include <QFont>
#include <QImage>
#include <QRect>
#include <QStaticText>
#include <QString>

namespace ui {

struct ShapedText {
    QStaticText layout; // drawn with its top-left corner at the cell's
    int advance = 0;    // the width of the character cells
    int height = 0;     // the height of the character cells
    QRect inked;        // what the glyphs may cover, relative to the baseline
    // How much of each pixel the glyphs cover (Alpha8), its top-left corner
    // relative to the cell's; none for underlined or struck-out fonts.
    QImage coverage;
    QPoint coverageAt;
};

// The layout of `text` in `font`, which `fontKey` names (QFont::key() or
// anything else unique to the font); the reference stays valid until the
// next call.
const ShapedText& ShapeText(const QFont& font, const QString& fontKey, const QString& text);

} // namespace ui
