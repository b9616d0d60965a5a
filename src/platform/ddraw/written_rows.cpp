#include "platform/ddraw/written_rows.h"

#include <algorithm>

namespace ddraw {

WrittenRows::WrittenRows(LONG width, LONG height)
    : width_(std::max<LONG>(width, 0)), rows_(static_cast<std::size_t>(std::max<LONG>(height, 0))) {
    MarkAll();
}

void WrittenRows::Mark(const RECT& area) {
    const LONG left = std::max<LONG>(area.Left, 0);
    const LONG right = std::min(area.Right, width_);
    const LONG top = std::max<LONG>(area.Top, 0);
    const LONG bottom = std::min(area.Bottom, static_cast<LONG>(rows_.size()));
    if (left >= right) {
        return;
    }
    for (LONG y = top; y < bottom; ++y) {
        blit::ColumnSpan& row = rows_[static_cast<std::size_t>(y)];
        if (row.left >= row.right) {
            row = {left, right};
        } else {
            row = {std::min(row.left, left), std::max(row.right, right)};
        }
    }
}

void WrittenRows::MarkAll() {
    std::fill(rows_.begin(), rows_.end(), blit::ColumnSpan{0, width_});
}

void WrittenRows::Clear() {
    std::fill(rows_.begin(), rows_.end(), blit::ColumnSpan{});
    ++clears_;
}

} // namespace ddraw
