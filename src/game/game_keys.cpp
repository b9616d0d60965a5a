#include "game/game_keys.h"

namespace game {

namespace {

// Virtual keys.
constexpr std::uint16_t kEscape = 27;
constexpr std::uint16_t kSpace = 32;
constexpr std::uint16_t kLeft = 37;
constexpr std::uint16_t kUp = 38;
constexpr std::uint16_t kRight = 39;
constexpr std::uint16_t kDown = 40;
constexpr std::uint16_t kE = 69;
constexpr std::uint16_t kX = 88;
constexpr std::uint16_t kZ = 90;

// Scan codes: the places of W, A, S, D, Q and left Shift on a US keyboard.
constexpr std::uint8_t kPlaceQ = 0x10;
constexpr std::uint8_t kPlaceW = 0x11;
constexpr std::uint8_t kPlaceA = 0x1E;
constexpr std::uint8_t kPlaceS = 0x1F;
constexpr std::uint8_t kPlaceD = 0x20;
constexpr std::uint8_t kPlaceLeftShift = 0x2A;

// The flag a key of pimuru 2 sets, or null.
bool* Pimuru2Flag(KeyFlags& keys, std::uint16_t key) {
    switch (key) {
    case kLeft: return &keys.Left;
    case kRight: return &keys.Right;
    case kUp: return &keys.Up;
    case kDown: return &keys.Down;
    case kSpace:
    case kZ:
    case kX: return &keys.Fire;
    default: return nullptr;
    }
}

bool* Pimuru1Flag(KeyFlags& keys, std::uint8_t scanCode) {
    switch (scanCode) {
    case kPlaceA: return &keys.Left;
    case kPlaceD: return &keys.Right;
    case kPlaceW: return &keys.Up;
    case kPlaceS: return &keys.Down;
    case kPlaceQ:
    case kPlaceLeftShift: return &keys.Fire;
    default: return nullptr;
    }
}

} // namespace

void GameKeys::KeyDown(std::uint16_t key, ui::TShiftState shift, std::uint8_t scanCode) {
    if (key == kEscape || (key == kE && shift == ui::ssCtrl)) {
        QuitRequest = -1;
    }
    if (bool* flag = Pimuru1Flag(Pimuru1Keys, scanCode)) {
        *flag = true;
    } else if (bool* flag = Pimuru2Flag(Keys, key)) {
        *flag = true;
    }
}

void GameKeys::KeyUp(std::uint16_t key, std::uint8_t scanCode) {
    if (bool* flag = Pimuru1Flag(Pimuru1Keys, scanCode)) {
        *flag = false;
    } else if (bool* flag = Pimuru2Flag(Keys, key)) {
        *flag = false;
    }
}

} // namespace game
