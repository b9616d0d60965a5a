#include "game/scene_layout.h"

#include <algorithm>
#include <cmath>

namespace game {

Sprite PimuruSprite(std::int32_t picture) {
    const std::int32_t left = 160 * (picture % 4);
    const std::int32_t top = 120 * (picture / 4);
    return {base::MakeRect(left, top, left + 159, top + 120), -80, -60};
}

std::int32_t SwingPicture(std::int32_t swingFrame) {
    return kSwingTable[std::clamp(swingFrame, 0, kSwingFrames - 1)];
}

Sprite BallSprite(std::int32_t picture) {
    return {base::MakeRect(160 * picture, 0, 160 * picture + 159, 100), -80, -50};
}

Sprite BurstSprite(std::int32_t picture) {
    return {base::MakeRect(160 * picture, 100, 160 * picture + 159, 219), -80, -60};
}

Sprite DrifterSprite(std::int32_t picture) {
    return {base::MakeRect(120 * picture, 360, 120 * picture + 119, 459), -60, -50};
}

bool EffectSprite(std::int32_t kind, Sprite& sprite) {
    switch (kind) {
    case 1:
        sprite = {base::MakeRect(0, 220, 39, 249), -20, -15};
        return true;
    case 2:
        sprite = {base::MakeRect(40, 220, 64, 239), -17, -10};
        return true;
    case 3:
        sprite = {base::MakeRect(0, 250, 99, 329), -50, -40};
        return true;
    case 4:
        sprite = {base::MakeRect(100, 250, 199, 329), -50, -40};
        return true;
    default:
        return false;
    }
}

base::Rect SplashSource(std::int32_t picture) {
    return picture == 0 ? base::MakeRect(200, 220, 360, 380) : base::MakeRect(360, 220, 520, 380);
}

DrifterLook DrifterLookAt(std::int32_t frameCounter) {
    const std::int32_t m = (frameCounter / 2) % 8;
    return m < 4 ? DrifterLook{Sheet::Pimuru1, m} : DrifterLook{Sheet::Pimuru2, m - 4};
}

std::int32_t BackgroundOffset(std::int32_t frameCounter, int strip) {
    const double phase = (static_cast<double>(frameCounter) + strip) / 10.0;
    return static_cast<std::int32_t>(std::sin(phase) * 5.0);
}

std::int32_t EffectSway(std::int32_t frameCounter, int slot, std::int32_t kind) {
    if (kind == 0) {
        return 0;
    }
    const double phase = ((static_cast<double>(frameCounter) + slot) / 10.0) / kind;
    return static_cast<std::int32_t>(std::sin(phase) * 10.0);
}

} // namespace game
