#pragma once
// Which key of a standard 101/104-key or 106/109-key Japanese keyboard a Qt key
// event came from, as a DirectInput scan code. Where the platform does not
// say where the key sits, Qt names only the symbol, so the symbol keys are
// looked up in the active layout first.

#include <QKeyEvent>

#include <cstdint>

namespace dinput {

enum class KeyboardLayout { Us, Japanese };

// The layout of the keyboard the user types on: as the input method reports
// it, else as XKB is configured, else the locale's (US unless Japanese).
KeyboardLayout SystemKeyboardLayout();

// The scan code for `key` (a Qt::Key) with `modifiers`, by its symbol; 0 when
// no key of either layout gives it.
std::uint8_t ScanCodeForKey(int key, Qt::KeyboardModifiers modifiers, KeyboardLayout layout);

// The scan code of the key an event came from: by its place where the
// platform reports it (X11, Wayland), else by its symbol.
std::uint8_t ScanCodeForEvent(const QKeyEvent& event, KeyboardLayout layout);

} // namespace dinput
