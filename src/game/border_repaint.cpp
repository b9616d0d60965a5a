#include "game/border_repaint.h"

#include <algorithm>

namespace game {

void BorderRepaint::StartFrame(bool whole) {
    whole_ = whole;
    drawn_.fill(false);
}

void BorderRepaint::Drawn(const base::Rect& area) {
    const base::Rect part =
        base::Intersect(area, base::MakeRect(0, 0, kScreenWidth, kScreenHeight));
    if (base::IsEmpty(part)) {
        return;
    }
    const bool overEdge = part.Left < kLeftEnd || part.Right > kRightStart;
    const bool overLastRow = part.Bottom == kScreenHeight;
    if (!overEdge && !overLastRow) {
        return;
    }
    std::fill(drawn_.begin() + (overEdge ? part.Top : kScreenHeight - 1),
              drawn_.begin() + part.Bottom, true);
}

const std::vector<BorderRepaint::Rows>& BorderRepaint::Runs() {
    runs_.clear();
    if (whole_) {
        runs_.push_back({0, kScreenHeight});
        return runs_;
    }
    for (std::int32_t y = 0; y < kScreenHeight;) {
        if (!drawn_[static_cast<std::size_t>(y)]) {
            ++y;
            continue;
        }
        const std::int32_t top = y;
        while (y < kScreenHeight && drawn_[static_cast<std::size_t>(y)]) {
            ++y;
        }
        runs_.push_back({top, y});
    }
    return runs_;
}

} // namespace game
