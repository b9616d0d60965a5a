#include "game/border_repaint.h"

#include <algorithm>

namespace game {

void BorderRepaint::StartFrame(bool whole) {
    whole_ = whole;
    drawn_.fill(false);
}

namespace {

base::Rect OnScreen(const base::Rect& area) {
    return base::Intersect(area, base::MakeRect(0, 0, kScreenWidth, kScreenHeight));
}

bool OverEdge(const base::Rect& part) {
    return part.Left < BorderRepaint::kLeftEnd || part.Right > BorderRepaint::kRightStart;
}

bool OverLastRow(const base::Rect& part) {
    return part.Bottom == kScreenHeight;
}

} // namespace

bool BorderRepaint::Reaches(const base::Rect& area) {
    const base::Rect part = OnScreen(area);
    return !base::IsEmpty(part) && (OverEdge(part) || OverLastRow(part));
}

void BorderRepaint::Drawn(const base::Rect& area) {
    if (!Reaches(area)) {
        return;
    }
    const base::Rect part = OnScreen(area);
    std::fill(drawn_.begin() + (OverEdge(part) ? part.Top : kScreenHeight - 1),
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
