#pragma once
// The launcher's pictures: the glyphs of its two buttons and the window icon,
// read from BMP files in the current directory. A file that is missing or
// unreadable gives a null picture, and the button simply has none; the
// display log says which file and why.

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace game {

// A button glyph: the colour of its bottom-left pixel is see-through, as
// with the glyphs of the original buttons.
QPixmap LoadButtonGlyph(const QString& fileName);

// The window icon, drawn as it is.
QIcon LoadWindowIcon(const QString& fileName);

} // namespace game
