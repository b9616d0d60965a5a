#pragma once
// Which cells along a background strip's rows change when its ripple shift
// does. Sky, sea and sand are much alike from one pixel to the next, so a
// shift of a pixel or two leaves most of a strip as it was. Found from the
// sheet's pixels the first time a strip moves between two shifts, and kept.

#include "game/scene_canvas.h"
#include "game/scene_layout.h"

#include <cstdint>
#include <vector>

namespace game {

class StripChanges {
public:
    // The screen in cells, a strip's rows high; a row of cells fits a word.
    static constexpr std::int32_t kCellWidth = 16;
    static constexpr std::int32_t kCellHeight = 5;
    static constexpr std::int32_t kColumns = kScreenWidth / kCellWidth;
    static constexpr std::uint64_t kAllColumns = (std::uint64_t{1} << kColumns) - 1;

    explicit StripChanges(SceneCanvas& canvas) : canvas_(canvas) {}

    // The cells of strip `strip`'s rows (one bit a column of cells, left
    // first) where the strip drawn at shift `to` differs from it at `from`
    // between the borders; every cell for shifts out of the ripple's reach.
    std::uint64_t Cells(int strip, std::int32_t from, std::int32_t to);

private:
    static constexpr std::int32_t kMostShift = 5;
    static constexpr int kShifts = 2 * kMostShift + 1;
    std::uint64_t Compare(int strip, std::int32_t from, std::int32_t to);

    // No cell column beyond the screen's is ever set: a mark for not known yet.
    static constexpr std::uint64_t kNotKnown = ~std::uint64_t{0};

    SceneCanvas& canvas_;
    // By strip, then shift from, then shift to; made on first use.
    std::vector<std::uint64_t> known_;
};

} // namespace game
