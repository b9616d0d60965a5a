#pragma once
// What the main window's key handlers keep for the game: the quit request
// and the key flags of both pimuru. Plain values, read by the game run
// between frames.

#include "platform/component/form.h"
#include "rules/world_types.h"

#include <cstdint>

namespace game {

class GameKeys {
public:
    // 0 = keep running, −1 = quit requested.
    std::int32_t QuitRequest = 0;
    // Pimuru 2: the cursor keys, and the keys where Space, Z and X sit on a
    // US keyboard to swing.
    KeyFlags Keys;
    // Pimuru 1: the keys where W, A, S and D sit on a US keyboard, and left
    // Shift or the key in Q's place to swing.
    KeyFlags Pimuru1Keys;

    // Letter keys and Space count by their place (`scanCode`, the scan code
    // of that place on a US keyboard), so that every layout has them under
    // the same fingers; by their symbol `key` only where the place is not
    // known (0). Esc, or the key in E's place with exactly Ctrl held,
    // requests the quit. The key goes on to the focused control.
    void KeyDown(std::uint16_t key, ui::TShiftState shift, std::uint8_t scanCode = 0);
    // A key clears its own flag; either swing key clears its pimuru's swing
    // even while the other is still held.
    void KeyUp(std::uint16_t key, std::uint8_t scanCode = 0);
    // All flags of both pimuru down, as every run starts and as the window
    // loses the keyboard.
    void ClearKeys() { Keys = Pimuru1Keys = KeyFlags{}; }

private:
    // The flag of either pimuru that a key sets and clears, or null.
    bool* FlagOf(std::uint16_t key, std::uint8_t place);
};

} // namespace game
