#pragma once
// The Windows font faces the game names, resolved to the Japanese faces
// installed here.

#include <string>

class QFont;

namespace ui {

// "MS Sans Serif", "ＭＳ ゴシック" and "ＭＳ Ｐゴシック" become the IPA
// Gothic faces (fixed-pitch for ＭＳ ゴシック, proportional for the others).
void InstallFontSubstitutions();

// Whether any installed font can show Japanese text; without one, every
// text of the game shows as empty boxes.
bool JapaneseFontInstalled();

// A font of the named face whose characters are heightPixels high.
QFont MakeFont(const std::string& face, int heightPixels);

} // namespace ui
