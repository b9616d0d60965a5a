#pragma once
// The keyboard layout the system is configured with, as XKB (the keymap
// library of X11 and Wayland) reads it: for where the input method cannot
// tell which keyboard the user types on.

#include "platform/dinput/key_scan_codes.h"

#include <optional>
#include <string_view>

namespace dinput {

// The first layout of an XKB layout list ("jp", "jp,us", "us(intl)"); none
// for an empty list.
std::optional<KeyboardLayout> LayoutFromXkbNames(std::string_view names);

// The layout list a keyboard configuration file names: XKBLAYOUT="..." as in
// /etc/default/keyboard, or Option "XkbLayout" "..." as in an X.org
// configuration; empty when it names none.
std::string_view XkbNamesInConfiguration(std::string_view text);

// From XKB_DEFAULT_LAYOUT, then the system's keyboard configuration files;
// none when nothing names a layout.
std::optional<KeyboardLayout> ConfiguredXkbLayout();

} // namespace dinput
