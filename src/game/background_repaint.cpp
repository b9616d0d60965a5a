#include "game/background_repaint.h"

#include <algorithm>
#include <bit>

namespace game {

void BackgroundRepaint::StartFrame(const BackgroundShifts::Shifts& shifts, int framesHeld) {
    framesHeld = std::clamp(framesHeld, 1, kMostFramesHeld);
    areas_.clear();
    rowStarts_.fill(0);
    whole_ = held_.size() < static_cast<std::size_t>(framesHeld);
    if (!whole_) {
        // The rows of strip i show it alone between the borders (its shift
        // stays within them; the strips leave each other bare only beneath
        // the borders), so they change only with its shift. A strip's rows
        // are a row of cells.
        marked_.fill(0);
        for (auto then = held_.end() - framesHeld; then != held_.end(); ++then) {
            for (std::size_t i = 0; i < marked_.size(); ++i) {
                if (then->shifts[i] != shifts[i]) {
                    marked_[i] = kAllColumns;
                }
            }
            for (const base::Rect& area : then->covered) {
                Mark(area);
            }
        }
        // Where most of it is stale, the background is drawn whole: fewer,
        // longer copies cost less than drawing it in many parts.
        int stale = 0;
        for (const std::uint64_t cells : marked_) {
            stale += std::popcount(cells);
        }
        whole_ = stale * 4 >= static_cast<int>(marked_.size()) * kColumns * 3;
    }
    if (!whole_) {
        MakeAreas();
    }
    // The oldest frame's room is taken for this one: a frame asks the heap
    // for nothing.
    if (held_.size() < static_cast<std::size_t>(kMostFramesHeld)) {
        held_.emplace_back();
    } else {
        std::rotate(held_.begin(), held_.begin() + 1, held_.end());
    }
    held_.back().shifts = shifts;
    held_.back().covered.clear();
}

void BackgroundRepaint::Cover(const base::Rect& area) {
    if (!held_.empty() && !base::IsEmpty(area)) {
        held_.back().covered.push_back(area);
    }
}

void BackgroundRepaint::Mark(const base::Rect& area) {
    const base::Rect part =
        base::Intersect(area, base::MakeRect(0, 0, kScreenWidth, kScreenHeight));
    if (base::IsEmpty(part)) {
        return;
    }
    const std::int32_t first = part.Left / kCellWidth;
    const std::int32_t end = (part.Right + kCellWidth - 1) / kCellWidth;
    const std::uint64_t columns = ((std::uint64_t{1} << (end - first)) - 1) << first;
    for (std::int32_t row = part.Top / kCellHeight; row * kCellHeight < part.Bottom; ++row) {
        marked_[static_cast<std::size_t>(row)] |= columns;
    }
}

void BackgroundRepaint::MakeAreas() {
    // Runs of marked cells along each row of cells; runs a few cells apart
    // are joined, as one copy costs less than two there.
    constexpr std::int32_t kJoinedGap = 4;
    for (std::size_t row = 0; row < marked_.size(); ++row) {
        rowStarts_[row] = areas_.size();
        const std::uint64_t cells = marked_[row];
        const std::int32_t top = static_cast<std::int32_t>(row) * kCellHeight;
        for (std::int32_t column = 0; column < kColumns;) {
            if (!(cells >> column & 1)) {
                ++column;
                continue;
            }
            const std::int32_t first = column;
            while (column < kColumns && (cells >> column & 1)) {
                ++column;
            }
            const base::Rect run =
                base::MakeRect(first * kCellWidth, top, column * kCellWidth, top + kCellHeight);
            if (areas_.size() > rowStarts_[row] &&
                run.Left - areas_.back().Right <= kJoinedGap * kCellWidth) {
                areas_.back().Right = run.Right;
            } else {
                areas_.push_back(run);
            }
        }
    }
    rowStarts_.back() = areas_.size();
}

std::span<const base::Rect> BackgroundRepaint::AreasAcross(std::int32_t top,
                                                           std::int32_t bottom) const {
    const auto row = [](std::int32_t y) {
        return static_cast<std::size_t>(std::clamp(y, 0, kScreenHeight) / kCellHeight);
    };
    const std::size_t first = rowStarts_[row(top)];
    const std::size_t end = rowStarts_[row(bottom + kCellHeight - 1)];
    return std::span<const base::Rect>(areas_).subspan(first, end - first);
}

} // namespace game
