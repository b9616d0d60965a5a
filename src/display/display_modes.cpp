#include "display/display_modes.h"

namespace dddd {

DisplayModeSetup DisplayModeTable(TDDDDDispMode mode) {
    if (mode >= dmWinVariable)
        return {0, 0, 0, false};
    static constexpr std::int32_t kSizes[3][2] = {{640, 480}, {800, 600}, {1024, 768}};
    static constexpr std::int32_t kDepths[3] = {8, 16, 24};
    const int index = static_cast<int>(mode);
    const bool fullScreen = index >= dmFull640x480x8;
    const int within = fullScreen ? index - dmFull640x480x8 : index;
    return {kSizes[within % 3][0], kSizes[within % 3][1], kDepths[within / 3], fullScreen};
}

} // namespace dddd
