#pragma once
// Where the background must be drawn again on a back buffer that still holds
// an earlier frame: the strips whose ripple shift changed since then, and
// what was drawn over the background in the frames since. Elsewhere the
// buffer already shows the picture a full repaint would give.

#include "base/rect.h"
#include "game/background_shifts.h"
#include "game/scene_layout.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace game {

class BackgroundRepaint {
public:
    // A back buffer holds the last frame where it is copied out (a window)
    // and the one before where flips swap it with the front (full screen).
    static constexpr int kMostFramesHeld = 2;

    // Starts a frame, its strips shifted by `shifts`, drawn on a back buffer
    // that holds the frame `framesHeld` frames back: works out where its
    // background goes.
    void StartFrame(const BackgroundShifts::Shifts& shifts, int framesHeld);
    // Whether the whole background is drawn: on the first frames, and where
    // most of it is stale.
    bool Whole() const { return whole_; }
    // The parts of the screen to draw the background on that cross the rows
    // top…bottom - 1, none overlapping, each within one strip's rows.
    std::span<const base::Rect> AreasAcross(std::int32_t top, std::int32_t bottom) const;
    // Something was drawn over the background in this frame.
    void Cover(const base::Rect& area);

private:
    using Shifts = BackgroundShifts::Shifts;
    struct HeldFrame {
        Shifts shifts{};
        std::vector<base::Rect> covered;
    };
    // Marks the cells a rectangle touches.
    void Mark(const base::Rect& area);
    // Turns the marked cells into areas_ and rowStarts_.
    void MakeAreas();

    std::vector<HeldFrame> held_; // newest last
    bool whole_ = true;
    std::vector<base::Rect> areas_;
    // The screen in cells of 16 × 5 pixels, a strip's rows high: one bit
    // per cell, a word per row of cells.
    static constexpr std::int32_t kCellWidth = 16;
    static constexpr std::int32_t kCellHeight = 5;
    static constexpr std::int32_t kColumns = kScreenWidth / kCellWidth; // a word holds a row
    static constexpr std::uint64_t kAllColumns = (std::uint64_t{1} << kColumns) - 1;
    std::array<std::uint64_t, kScreenHeight / kCellHeight> marked_{};
    // Where each row of cells starts in areas_ (and, last, their end).
    std::array<std::size_t, kScreenHeight / kCellHeight + 1> rowStarts_{};
};

} // namespace game
