#pragma once
// Font sizes in points turned into character heights in pixels, at the
// 96 dots per inch the game's screens were laid out for.

namespace ui {

inline constexpr int kPixelsPerInch = 96;

// Rounded to the nearest pixel: 20 pt = 27 px, 40 pt = 53 px, 50 pt = 67 px.
constexpr int PointsToPixels(int points) {
    const long long scaled = static_cast<long long>(points) * kPixelsPerInch;
    return static_cast<int>(scaled >= 0 ? (scaled + 36) / 72 : -((-scaled + 36) / 72));
}

} // namespace ui
