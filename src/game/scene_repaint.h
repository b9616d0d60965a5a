#pragma once
// What of a frame must be drawn on a back buffer that still holds an earlier
// frame: the background where a strip's ripple shift changed or a drawing
// step differs, and the steps that cross those parts. Elsewhere the buffer
// already shows the picture a full repaint would give.

#include "base/rect.h"
#include "game/background_shifts.h"
#include "game/scene_draw.h"
#include "game/scene_layout.h"
#include "game/strip_changes.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace game {

class SceneRepaint {
public:
    // The background's pixels are read from the canvas's sheet.
    explicit SceneRepaint(SceneCanvas& canvas) : strips_(canvas) {}

    // A back buffer holds the last frame where it is copied out (a window)
    // and the one before where flips swap it with the front (full screen).
    static constexpr int kMostFramesHeld = 2;

    // Starts a frame: its strips shifted by `shifts`, its drawing steps in
    // order (those from `afterBorders` on come after the borders), drawn on a
    // back buffer that holds the frame `framesHeld` frames back (0: none).
    void StartFrame(const BackgroundShifts::Shifts& shifts, std::span<const SceneDraw> draws,
                    std::size_t afterBorders, int framesHeld);
    // Whether everything is drawn: on the first frames, and where most of
    // the background is stale.
    bool Whole() const { return whole_; }
    // The parts of the screen to draw the background on that cross the rows
    // top…bottom - 1, none overlapping, each within one strip's rows.
    std::span<const base::Rect> AreasAcross(std::int32_t top, std::int32_t bottom) const;
    // Whether the frame's step `index` is drawn, and the parts of its area
    // drawn: stacked parts with the same sides come as one.
    bool Draws(std::size_t index) const { return whole_ || redraw_[index]; }
    void PartsOf(const base::Rect& area, std::vector<base::Rect>& parts) const;
    // The last frame's steps; none before the first.
    std::span<const SceneDraw> LastDraws() const;

private:
    using Shifts = BackgroundShifts::Shifts;
    struct HeldFrame {
        Shifts shifts{};
        std::vector<SceneDraw> draws;
    };
    // Marks what differs between this frame and one the buffer may hold.
    void MarkChanges(const Shifts& shifts, std::span<const SceneDraw> draws, const HeldFrame& then);
    // The cells a rectangle on the screen touches: its rows of cells and
    // the bits of its columns; none where it lies off the screen.
    struct Cells {
        std::int32_t firstRow = 0;
        std::int32_t endRow = 0;
        std::uint64_t columns = 0;
    };
    static Cells CellsOf(const base::Rect& area);
    // Marks the cells a rectangle touches; whether any of them is marked.
    void Mark(const base::Rect& area);
    bool Touches(const base::Rect& area) const;
    // Marks the short gaps between marked cells along each row.
    void JoinGaps();
    // Turns the marked cells into areas_ and rowStarts_.
    void MakeAreas();

    StripChanges strips_;
    std::vector<HeldFrame> held_; // newest last
    bool whole_ = true;
    std::vector<bool> redraw_;
    std::vector<base::Rect> areas_;
    // The screen in cells of 16 × 5 pixels, a strip's rows high: one bit
    // per cell, a word per row of cells.
    static constexpr std::int32_t kCellWidth = StripChanges::kCellWidth;
    static constexpr std::int32_t kCellHeight = StripChanges::kCellHeight;
    static constexpr std::int32_t kColumns = StripChanges::kColumns;
    std::array<std::uint64_t, kScreenHeight / kCellHeight> marked_{};
    // Where each row of cells starts in areas_ (and, last, their end).
    std::array<std::size_t, kScreenHeight / kCellHeight + 1> rowStarts_{};
};

} // namespace game
