#pragma once
// Where the borders must be drawn again on a back buffer that holds an
// earlier, finished frame: every frame ends with its borders whole, so only
// the rows something was drawn over them in this frame need them again.

#include "base/rect.h"
#include "game/scene_layout.h"

#include <array>
#include <cstdint>
#include <vector>

namespace game {

class BorderRepaint {
public:
    // The black edge columns, left and right; the last row and the right
    // edge have their lines.
    static constexpr std::int32_t kLeftEnd = 5;
    static constexpr std::int32_t kRightStart = 634;

    struct Rows {
        std::int32_t top;
        std::int32_t bottom; // one past the last
    };

    // Whether something drawn over an area covers part of the borders.
    static bool Reaches(const base::Rect& area);

    // Starts a frame; whole when the buffer holds no finished frame.
    void StartFrame(bool whole);
    // Something was drawn over an area of the screen.
    void Drawn(const base::Rect& area);
    // The runs of rows to draw the borders on, top to bottom.
    const std::vector<Rows>& Runs();

private:
    bool whole_ = true;
    std::array<bool, kScreenHeight> drawn_{};
    std::vector<Rows> runs_;
};

} // namespace game
