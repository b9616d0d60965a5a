#pragma once
// Where a key sits on the keyboard, whatever the layout prints on it: the
// scan code of that place on a US keyboard (set 1, 0x80 added for the keys
// with an E0 prefix: W 0x11, cursor left 0xCB), as DirectInput numbers keys.

#include <cstdint>

namespace ui {

// The place of the key a Linux input device reports as `evdevCode` (X11's
// and Wayland's key codes are these plus 8); 0 for keys without one.
std::uint8_t ScanCodeOfEvdevKey(std::uint32_t evdevCode);

} // namespace ui
