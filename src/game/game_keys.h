#pragma once
// What the main window's key handlers keep for the game: the quit request
// and the key flags of both pimuru. Plain values, read by the game run
// between frames.

#include "game/world_types.h"
#include "platform/component/form.h"

#include <cstdint>

namespace game {

class GameKeys {
public:
    // 0 = keep running, −1 = quit requested.
    std::int32_t QuitRequest = 0;
    // Pimuru 2: the cursor keys, and Space, Z or X to swing.
    KeyFlags Keys;
    // Pimuru 1: the keys where W, A, S and D sit on a US keyboard, and left
    // Shift or Q to swing; found by their place, so that every layout has
    // them under the same fingers.
    KeyFlags Pimuru1Keys;

    // Esc, or E with exactly Ctrl held, requests the quit; the cursor keys
    // and Space, Z, X set pimuru 2's flags, the keys in pimuru 1's places
    // (`scanCode`, 0 when not known) set pimuru 1's. A key in one of pimuru
    // 1's places is pimuru 1's alone, whatever its symbol. The key goes on to
    // the focused control.
    void KeyDown(std::uint16_t key, ui::TShiftState shift, std::uint8_t scanCode = 0);
    // A key clears its own flag; either swing key clears its pimuru's swing
    // even while the other is still held.
    void KeyUp(std::uint16_t key, std::uint8_t scanCode = 0);
    // All flags of both pimuru down, as every run starts and as the window
    // loses the keyboard.
    void ClearKeys() { Keys = Pimuru1Keys = KeyFlags{}; }
};

} // namespace game
