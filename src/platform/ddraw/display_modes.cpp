#include "platform/ddraw/display_modes.h"

#include <algorithm>
#include <utility>

namespace ddraw {

std::vector<DisplayModeEntry> DisplayModesFor(LONG screenWidth, LONG screenHeight) {
    static constexpr std::pair<LONG, LONG> kSizes[] = {
        {320, 200},   {320, 240},   {400, 300},   {512, 384},   {640, 400},   {640, 480},
        {800, 600},   {1024, 768},  {1152, 864},  {1280, 720},  {1280, 960},  {1280, 1024},
        {1366, 768},  {1440, 900},  {1600, 900},  {1600, 1200}, {1680, 1050}, {1920, 1080},
        {1920, 1200}, {2560, 1440}, {2560, 1600}, {3840, 2160},
    };
    std::vector<std::pair<LONG, LONG>> sizes;
    for (const auto& size : kSizes) {
        if (size.first <= screenWidth && size.second <= screenHeight) {
            sizes.push_back(size);
        }
    }
    const std::pair<LONG, LONG> own{screenWidth, screenHeight};
    if (screenWidth > 0 && screenHeight > 0 &&
        std::find(sizes.begin(), sizes.end(), own) == sizes.end()) {
        sizes.push_back(own);
        std::sort(sizes.begin(), sizes.end());
    }
    std::vector<DisplayModeEntry> modes;
    for (const auto& [width, height] : sizes) {
        for (DWORD bits : {8u, 16u, 24u, 32u}) {
            modes.push_back(DisplayModeEntry{width, height, bits});
        }
    }
    return modes;
}

} // namespace ddraw
