#pragma once
// Qt key codes and modifiers turned into the Windows virtual-key numbers and
// shift states the forms' key handlers were written for, and a key event's
// place on the keyboard as a scan code.

#include "platform/component/form.h"

#include <Qt>
#include <cstdint>

namespace ui {

// 0 for keys that have no virtual-key number.
std::uint16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers);

// The scan code of the place on a US keyboard where a key sits. Where the
// platform's key code is an evdev code plus 8 (`evdevCodes`: X11 and Wayland),
// it names the place whatever the layout (ScanCodeOfEvdevKey); otherwise the
// letters, digits, Space, Esc, Tab, Enter, Backspace and the left Shift, Ctrl
// and Alt are placed by their symbol as a US keyboard has them. 0 for keys it
// cannot place.
std::uint8_t ScanCodeFromQt(int qtKey, std::uint32_t nativeScanCode, bool evdevCodes);

// Whether this program's platform plugin gives evdev codes plus 8 as key codes.
bool NativeKeyCodesAreEvdev();

} // namespace ui
