#include "game/background_pieces.h"

#include "game/scene_layout.h"

#include <algorithm>
#include <cstdlib>

namespace game {

namespace {

constexpr std::int32_t kStripWidth = 639;
constexpr std::int32_t kStripStep = 5; // rows between strips, half a strip

} // namespace

void BackgroundPieces(const BackgroundShifts::Shifts& shifts,
                      std::vector<BackgroundPiece>& pieces) {
    pieces.clear();
    std::int32_t x = shifts[0];
    for (int i = 0; i < kBackgroundStrips; ++i) {
        const std::int32_t top = kStripStep * i;
        if (i == kBackgroundStrips - 1) {
            pieces.push_back({x, top, base::MakeRect(0, top, kStripWidth, top + 2 * kStripStep)});
            break;
        }
        pieces.push_back({x, top, base::MakeRect(0, top, kStripWidth, top + kStripStep)});
        // The next strip covers this one's lower half but for the columns
        // its own shift leaves bare on one side.
        const std::int32_t next = shifts[static_cast<std::size_t>(i) + 1];
        const std::int32_t lower = top + kStripStep;
        const std::int32_t bare = std::min(std::abs(next - x), kStripWidth);
        if (next > x) {
            pieces.push_back({x, lower, base::MakeRect(0, lower, bare, lower + kStripStep)});
        } else if (next < x) {
            pieces.push_back(
                {x + kStripWidth - bare, lower,
                 base::MakeRect(kStripWidth - bare, lower, kStripWidth, lower + kStripStep)});
        }
        x = next;
    }
}

} // namespace game
