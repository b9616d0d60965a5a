#pragma once
// Where every sprite sits on the game's sheets: its rectangle (right and
// bottom exclusive, as the game's blits take them) and the point inside it
// that the game puts on the object's position.

#include <string>

namespace datamaker {

struct SpriteCell {
    int left, top, right, bottom;
    int centreX, centreY; // relative to left, top

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

SpriteCell BallCell(int picture);        // 0..3, character sheet
SpriteCell BurstCell(int picture);       // 0..3, character sheet
SpriteCell EffectCell(int kind);         // 1..4, character sheet
SpriteCell SplashCell(int which);        // 0 = A, 1 = B, character sheet
SpriteCell PimuruCell(int picture);      // 0..11, both pimuru sheets
SpriteCell DrifterCell(int sheetPicture); // 0..3 on each pimuru sheet

constexpr int kSheetWidth = 640;
constexpr int kSheetHeight = 480;

} // namespace datamaker
