#pragma once
// What the main window's key handlers keep for the game: the quit request
// and the five key flags that steer pimuru 2. Plain values, read by the game
// run between frames.

#include "game/world_types.h"
#include "platform/component/form.h"

#include <cstdint>

namespace game {

class GameKeys {
public:
    // 0 = keep running, −1 = quit requested.
    std::int32_t QuitRequest = 0;
    KeyFlags Keys;

    // Esc, or E with exactly Ctrl held, requests the quit; the cursor keys
    // and Space, Z, X set their flags. The key goes on to the focused control.
    void KeyDown(std::uint16_t key, ui::TShiftState shift);
    // The cursor keys clear their own flag; Space, Z or X clear the fire flag
    // even while another of the three is still held.
    void KeyUp(std::uint16_t key);
    // All five flags down, as every run starts.
    void ClearKeys() { Keys = KeyFlags{}; }
};

} // namespace game
