#include "game/strip_changes.h"

#include "game/border_repaint.h"

#include <algorithm>
#include <cstdlib>

namespace game {

std::uint64_t StripChanges::Cells(int strip, std::int32_t from, std::int32_t to) {
    if (from == to) {
        return 0;
    }
    if (strip < 0 || strip >= kBackgroundStrips || std::abs(from) > kMostShift ||
        std::abs(to) > kMostShift) {
        return kAllColumns;
    }
    if (known_.empty()) {
        known_.assign(static_cast<std::size_t>(kBackgroundStrips) * kShifts * kShifts, kNotKnown);
    }
    std::uint64_t& cells =
        known_[(static_cast<std::size_t>(strip) * kShifts + static_cast<std::size_t>(from + kMostShift)) *
                   kShifts +
               static_cast<std::size_t>(to + kMostShift)];
    if (cells == kNotKnown) {
        cells = Compare(strip, from, to);
    }
    return cells;
}

std::uint64_t StripChanges::Compare(int strip, std::int32_t from, std::int32_t to) {
    // Between the borders a strip's rows show its sheet rows alone: screen
    // column x shows sheet column x - shift.
    const std::int32_t top = strip * kCellHeight;
    std::uint64_t cells = 0;
    for (std::int32_t column = 0; column < kColumns; ++column) {
        const std::int32_t left = std::max(column * kCellWidth, BorderRepaint::kLeftEnd);
        const std::int32_t right = std::min((column + 1) * kCellWidth, BorderRepaint::kRightStart);
        if (left < right &&
            !canvas_.SameParts(Sheet::Background,
                               base::MakeRect(left - from, top, right - from, top + kCellHeight),
                               base::MakeRect(left - to, top, right - to, top + kCellHeight))) {
            cells |= std::uint64_t{1} << column;
        }
    }
    return cells;
}

} // namespace game
