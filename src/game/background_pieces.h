#pragma once
// The background is 97 overlapping 10-row strips, each shifted sideways by
// its own offset and drawn top to bottom, so the lower half of a strip is
// mostly painted over by the next one. These are the parts that stay in
// sight: drawn in order, they leave exactly the pixels the full strips do.

#include "base/rect.h"
#include "game/background_shifts.h"

#include <cstdint>
#include <vector>

namespace game {

struct BackgroundPiece {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    base::Rect Source; // on the background sheet
};

// Strip i is source rows 5i…5i+9 (639 pixels wide) drawn at (shifts[i], 5i).
// Fills `pieces` anew.
void BackgroundPieces(const BackgroundShifts::Shifts& shifts, std::vector<BackgroundPiece>& pieces);

} // namespace game
