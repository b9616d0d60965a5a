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

// Scan codes: the places of the game's keys on a US keyboard.
constexpr std::uint8_t kPlaceQ = 0x10;
constexpr std::uint8_t kPlaceW = 0x11;
constexpr std::uint8_t kPlaceE = 0x12;
constexpr std::uint8_t kPlaceA = 0x1E;
constexpr std::uint8_t kPlaceS = 0x1F;
constexpr std::uint8_t kPlaceD = 0x20;
constexpr std::uint8_t kPlaceLeftShift = 0x2A;
constexpr std::uint8_t kPlaceZ = 0x2C;
constexpr std::uint8_t kPlaceX = 0x2D;
constexpr std::uint8_t kPlaceSpace = 0x39;

} // namespace

bool* GameKeys::FlagOf(std::uint16_t key, std::uint8_t place) {
    // The cursor keys carry the same symbols on every layout, and the number
    // pad gives them too while Num Lock is off, as it always has.
    switch (key) {
    case kLeft: return &Keys.Left;
    case kRight: return &Keys.Right;
    case kUp: return &Keys.Up;
    case kDown: return &Keys.Down;
    default: break;
    }
    switch (place) {
    case 0: break;
    case kPlaceA: return &Pimuru1Keys.Left;
    case kPlaceD: return &Pimuru1Keys.Right;
    case kPlaceW: return &Pimuru1Keys.Up;
    case kPlaceS: return &Pimuru1Keys.Down;
    case kPlaceQ:
    case kPlaceLeftShift: return &Pimuru1Keys.Fire;
    case kPlaceZ:
    case kPlaceX:
    case kPlaceSpace: return &Keys.Fire;
    // A known place that is none of the above is no game key, whatever its
    // symbol: on AZERTY the W place prints Z and is pimuru 1's, and the
    // letters Z and X elsewhere do nothing.
    default: return nullptr;
    }
    switch (key) {
    case kSpace:
    case kZ:
    case kX: return &Keys.Fire;
    default: return nullptr;
    }
}

void GameKeys::KeyDown(std::uint16_t key, ui::TShiftState shift, std::uint8_t scanCode) {
    // Esc by its symbol, so that a key the player made Esc (Caps Lock, say)
    // serves too; E by its place, as the other letters.
    const bool ePlace = scanCode != 0 ? scanCode == kPlaceE : key == kE;
    if (key == kEscape || (ePlace && shift == ui::ssCtrl)) {
        QuitRequest = -1;
    }
    if (bool* flag = FlagOf(key, scanCode)) {
        *flag = true;
    }
}

void GameKeys::KeyUp(std::uint16_t key, std::uint8_t scanCode) {
    if (bool* flag = FlagOf(key, scanCode)) {
        *flag = false;
    }
}

} // namespace game
