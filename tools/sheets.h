#pragma once
// The three sprite sheets the game loads: every picture keyed onto black at
// the place its layout gives.

#include <QImage>

namespace datamaker {

QImage MakeCharacterSheet();
// pimuru 1 ("kai_g.bmp") carries drifter pictures 0-3, pimuru 2 ("kai_p.bmp") 4-7.
QImage MakePimuruSheet(int pimuru);

// The same pictures with grey for the see-through black and a label under
// each, for reviewing the art at a glance.
QImage MakeContactSheet();

} // namespace datamaker
