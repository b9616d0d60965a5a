#pragma once
// Qt key codes and modifiers turned into the Windows virtual-key numbers and
// shift states the forms' key handlers were written for.

#include "platform/component/form.h"

#include <Qt>
#include <cstdint>

namespace ui {

// 0 for keys that have no virtual-key number.
std::uint16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers);

} // namespace ui
