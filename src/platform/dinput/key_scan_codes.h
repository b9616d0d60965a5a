#pragma once
// Which key of a standard 101/104-key or 106/109-key Japanese keyboard a Qt key
// event came from, as a DirectInput scan code. Qt names the symbol, not the
// key, so the symbol keys are looked up in the active layout first.

#include <QKeyEvent>

#include <cstdint>

namespace dinput {

enum class KeyboardLayout { Us, Japanese };

// The layout of the keyboard the user types on: as the input method reports
// it, else as XKB is configured, else the locale's (US unless Japanese).
KeyboardLayout SystemKeyboardLayout();

// The scan code for `key` (a Qt::Key) with `modifiers`; 0 when no key of either
// layout gives it. `nativeScanCode` (the platform's key code, 0 when unknown)
// tells apart the left and right modifier keys and the two Japanese "\" keys
// under X11 and Wayland.
std::uint8_t ScanCodeForKey(int key, Qt::KeyboardModifiers modifiers, KeyboardLayout layout,
                            std::uint32_t nativeScanCode = 0);

std::uint8_t ScanCodeForEvent(const QKeyEvent& event, KeyboardLayout layout);

} // namespace dinput
