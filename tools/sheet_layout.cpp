#include "sheet_layout.h"

#include <stdexcept>

namespace datamaker {

SpriteCell BallCell(int p) {
    return {160 * p, 0, 160 * p + 159, 100, 80, 50};
}

SpriteCell BurstCell(int e) {
    return {160 * e, 100, 160 * e + 159, 219, 80, 60};
}

SpriteCell EffectCell(int kind) {
    switch (kind) {
    case 1:
        return {0, 220, 39, 249, 20, 15};
    case 2:
        return {40, 220, 64, 239, 17, 10};
    case 3:
        return {0, 250, 99, 329, 50, 40};
    case 4:
        return {100, 250, 199, 329, 50, 40};
    default:
        throw std::out_of_range("no such effect kind");
    }
}

SpriteCell SplashCell(int which) {
    return {200 + 160 * which, 220, 360 + 160 * which, 380, 80, 60};
}

SpriteCell PimuruCell(int f) {
    const int left = 160 * (f % 4);
    const int top = 120 * (f / 4);
    return {left, top, left + 159, top + 120, 80, 60};
}

SpriteCell DrifterCell(int m) {
    return {120 * m, 360, 120 * m + 119, 459, 60, 50};
}

} // namespace datamaker
