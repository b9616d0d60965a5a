#include "sheets.h"

#include "art.h"
#include "sheet_layout.h"
#include "sprite_keying.h"

namespace datamaker {
namespace {

QImage BlackSheet() {
    QImage sheet(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
    sheet.fill(qRgb(0, 0, 0));
    return sheet;
}

void Place(QImage& sheet, const QImage& sprite, const SpriteCell& cell) {
    KeyOnto(sheet, sprite.copy(0, 0, cell.Width(), cell.Height()), cell.left, cell.top);
}

} // namespace

QImage MakeCharacterSheet() {
    QImage sheet = BlackSheet();
    for (int i = 0; i < 4; ++i) {
        Place(sheet, DrawBall(i), BallCell(i));
        Place(sheet, DrawBurst(i), BurstCell(i));
    }
    Place(sheet, DrawSpark(), EffectCell(1));
    Place(sheet, DrawSmallStar(), EffectCell(2));
    Place(sheet, DrawHeart(), EffectCell(3));
    Place(sheet, DrawPassMark(), EffectCell(4));
    Place(sheet, DrawSplash(0), SplashCell(0));
    Place(sheet, DrawSplash(1), SplashCell(1));
    return sheet;
}

QImage MakePimuruSheet(int pimuru) {
    QImage sheet = BlackSheet();
    for (int f = 0; f < 12; ++f)
        Place(sheet, DrawPimuru(pimuru, f), PimuruCell(f));
    const int firstDrifter = pimuru == 1 ? 0 : 4;
    for (int m = 0; m < 4; ++m)
        Place(sheet, DrawDrifter(firstDrifter + m), DrifterCell(m));
    return sheet;
}

} // namespace datamaker
