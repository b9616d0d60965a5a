#include "game/game_keys.h"

namespace game {

namespace {

constexpr std::uint16_t kEscape = 27;
constexpr std::uint16_t kSpace = 32;
constexpr std::uint16_t kLeft = 37;
constexpr std::uint16_t kUp = 38;
constexpr std::uint16_t kRight = 39;
constexpr std::uint16_t kDown = 40;
constexpr std::uint16_t kE = 69;
constexpr std::uint16_t kX = 88;
constexpr std::uint16_t kZ = 90;

bool* CursorFlag(KeyFlags& keys, std::uint16_t key) {
    switch (key) {
    case kLeft:
        return &keys.Left;
    case kRight:
        return &keys.Right;
    case kUp:
        return &keys.Up;
    case kDown:
        return &keys.Down;
    default:
        return nullptr;
    }
}

bool IsFireKey(std::uint16_t key) {
    return key == kSpace || key == kZ || key == kX;
}

} // namespace

void GameKeys::KeyDown(std::uint16_t key, ui::TShiftState shift) {
    if (key == kEscape || (key == kE && shift == ui::ssCtrl)) {
        QuitRequest = -1;
    }
    if (bool* flag = CursorFlag(Keys, key)) {
        *flag = true;
    }
    if (IsFireKey(key)) {
        Keys.Fire = true;
    }
}

void GameKeys::KeyUp(std::uint16_t key) {
    if (bool* flag = CursorFlag(Keys, key)) {
        *flag = false;
    }
    if (IsFireKey(key)) {
        Keys.Fire = false;
    }
}

} // namespace game
