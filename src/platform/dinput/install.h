#pragma once
// Installs the SDL and Qt back end of the DirectInput stand-in, so that
// dinput::DirectInputCreateA gives the system keyboard, mouse and joysticks.

#include "platform/dinput/key_scan_codes.h"

#include <optional>

namespace dinput {

// `layout` chooses how Qt's key symbols map to keys; by default the layout
// the input method reports.
void InstallSdlQtDirectInput(std::optional<KeyboardLayout> layout = std::nullopt);

} // namespace dinput
