#include "game/scene_repaint.h"

#include "base/bit_runs.h"
#include "game/border_repaint.h"

#include <algorithm>
#include <bit>

namespace game {

void SceneRepaint::StartFrame(const Shifts& shifts, std::span<const SceneDraw> draws,
                              std::size_t afterBorders, int framesHeld) {
    areas_.clear();
    rowStarts_.fill(0);
    whole_ = framesHeld < 1 || held_.size() < static_cast<std::size_t>(framesHeld);
    if (!whole_) {
        marked_.fill(0);
        for (auto then = held_.end() - std::min(framesHeld, kMostFramesHeld); then != held_.end();
             ++then) {
            MarkChanges(shifts, draws, *then);
        }
        // The borders may be drawn again over any of their rows; a step
        // drawn after them there is drawn again too.
        for (std::size_t i = afterBorders; i < draws.size(); ++i) {
            if (BorderRepaint::Reaches(draws[i].Area)) {
                Mark(draws[i].Area);
            }
        }
        // Steps are drawn again only over the parts drawn again, on the
        // background drawn again there.
        JoinGaps();
        redraw_.resize(draws.size());
        for (std::size_t i = 0; i < draws.size(); ++i) {
            redraw_[i] = Touches(draws[i].Area);
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
    // for little.
    if (held_.size() < static_cast<std::size_t>(kMostFramesHeld)) {
        held_.emplace_back();
    } else {
        std::rotate(held_.begin(), held_.begin() + 1, held_.end());
    }
    held_.back().shifts = shifts;
    held_.back().draws.assign(draws.begin(), draws.end());
}

void SceneRepaint::MarkChanges(const Shifts& shifts, std::span<const SceneDraw> draws,
                               const HeldFrame& then) {
    // The rows of strip i show it alone between the borders (its shift
    // stays within them; the strips leave each other bare only beneath the
    // borders), so they change only with its shift, and only where its
    // pixels differ under the two shifts. A strip's rows are a row of cells.
    for (std::size_t i = 0; i < marked_.size(); ++i) {
        marked_[i] |= strips_.Cells(static_cast<int>(i), then.shifts[i], shifts[i]);
    }
    // The steps both frames make, in the same order, are paired; the rest
    // are marked. A pixel only paired steps cover shows the same in both
    // frames. A step that comes or goes (a blinking text) leaves the
    // pairing of the steps after it as it was.
    const std::span<const SceneDraw> before = then.draws;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < draws.size() && j < before.size()) {
        if (draws[i] == before[j]) {
            ++i;
            ++j;
            continue;
        }
        const auto later = std::find(before.begin() + static_cast<std::ptrdiff_t>(j) + 1,
                                     before.end(), draws[i]);
        if (later == before.end()) {
            Mark(draws[i++].Area);
            continue;
        }
        for (const std::size_t k = static_cast<std::size_t>(later - before.begin()); j < k; ++j) {
            Mark(before[j].Area);
        }
    }
    for (; i < draws.size(); ++i) {
        Mark(draws[i].Area);
    }
    for (; j < before.size(); ++j) {
        Mark(before[j].Area);
    }
}

std::span<const SceneDraw> SceneRepaint::LastDraws() const {
    if (held_.empty()) {
        return {};
    }
    return held_.back().draws;
}

namespace {

// Calls run(first, end) for each run of marked cells in a row, leftmost first.
template <typename Run> void ForEachRun(std::uint64_t cells, Run run) {
    base::ForEachRun(std::span<const std::uint64_t>(&cells, 1), StripChanges::kColumns, run);
}

} // namespace

SceneRepaint::Cells SceneRepaint::CellsOf(const base::Rect& area) {
    const base::Rect part =
        base::Intersect(area, base::MakeRect(0, 0, kScreenWidth, kScreenHeight));
    if (base::IsEmpty(part)) {
        return {};
    }
    const std::int32_t first = part.Left / kCellWidth;
    const std::int32_t end = (part.Right + kCellWidth - 1) / kCellWidth;
    return {part.Top / kCellHeight, (part.Bottom + kCellHeight - 1) / kCellHeight,
            base::Bits(first, end)};
}

void SceneRepaint::Mark(const base::Rect& area) {
    const Cells cells = CellsOf(area);
    for (std::int32_t row = cells.firstRow; row < cells.endRow; ++row) {
        marked_[static_cast<std::size_t>(row)] |= cells.columns;
    }
}

bool SceneRepaint::Touches(const base::Rect& area) const {
    const Cells cells = CellsOf(area);
    for (std::int32_t row = cells.firstRow; row < cells.endRow; ++row) {
        if (marked_[static_cast<std::size_t>(row)] & cells.columns) {
            return true;
        }
    }
    return false;
}

void SceneRepaint::JoinGaps() {
    // Runs of marked cells a few cells apart are joined, as one copy costs
    // less than two there.
    constexpr std::int32_t kJoinedGap = 4;
    for (std::uint64_t& cells : marked_) {
        std::int32_t lastEnd = -1; // where the last run ended
        ForEachRun(cells, [&](std::int32_t first, std::int32_t end) {
            if (lastEnd >= 0 && first - lastEnd <= kJoinedGap) {
                cells |= base::Bits(lastEnd, first);
            }
            lastEnd = end;
        });
    }
}

void SceneRepaint::MakeAreas() {
    // Runs of marked cells along each row of cells.
    for (std::size_t row = 0; row < marked_.size(); ++row) {
        rowStarts_[row] = areas_.size();
        const std::int32_t top = static_cast<std::int32_t>(row) * kCellHeight;
        ForEachRun(marked_[row], [&](std::int32_t first, std::int32_t end) {
            areas_.push_back(
                base::MakeRect(first * kCellWidth, top, end * kCellWidth, top + kCellHeight));
        });
    }
    rowStarts_.back() = areas_.size();
}

void SceneRepaint::PartsOf(const base::Rect& area, std::vector<base::Rect>& parts) const {
    parts.clear();
    if (whole_) {
        parts.push_back(area);
        return;
    }
    for (const base::Rect& drawn : AreasAcross(area.Top, area.Bottom)) {
        const base::Rect part = base::Intersect(area, drawn);
        if (base::IsEmpty(part)) {
            continue;
        }
        if (!parts.empty() && parts.back().Left == part.Left && parts.back().Right == part.Right &&
            parts.back().Bottom == part.Top) {
            parts.back().Bottom = part.Bottom;
        } else {
            parts.push_back(part);
        }
    }
}

std::span<const base::Rect> SceneRepaint::AreasAcross(std::int32_t top,
                                                      std::int32_t bottom) const {
    const auto row = [](std::int32_t y) {
        return static_cast<std::size_t>(std::clamp(y, 0, kScreenHeight) / kCellHeight);
    };
    const std::size_t first = rowStarts_[row(top)];
    const std::size_t end = rowStarts_[row(bottom + kCellHeight - 1)];
    return std::span<const base::Rect>(areas_).subspan(first, end - first);
}

} // namespace game
