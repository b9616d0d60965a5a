#pragma once
// The pictures of the game, each painted onto its own transparent picture
// the size of its sheet cell (see sheet_layout.h), centred on the cell's
// centre point.

#include <QImage>

namespace datamaker {

QImage DrawBall(int picture);    // 0..3: a beach ball a quarter-turn further each time
QImage DrawBurst(int picture);   // 0..3: a drifter popping, growing and fading
QImage DrawSpark();              // effect kind 1
QImage DrawSmallStar();          // effect kind 2
QImage DrawHeart();              // effect kind 3, the pass bonus in couple mode
QImage DrawPassMark();           // effect kind 4, the pass bonus
QImage DrawSplash(int which);    // 0 = A, 1 = B: the knock, shown in turn
QImage DrawDrifter(int picture); // 0..7: one wing beat of the floating enemy

// The two colourways of the pimuru: 1 is green, 2 is pink and faces left.
QImage DrawPimuru(int pimuru, int picture); // picture 0..11

QImage DrawBackground(); // 640 x 480, opaque

QImage DrawStartPicture(); // 32 x 69, the start button's picture
QImage DrawHelpPicture();  // 34 x 30, 16 colours (indexed)
QImage DrawIcon();         // 32 x 32, 16 colours (indexed)
QImage PaintIcon(int size); // the icon's drawing in full colour, size x size

} // namespace datamaker
