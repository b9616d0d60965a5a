#include "platform/ui/key_map.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyMap, GameKeysGetTheirVirtualKeyNumbers) {
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_Escape, Qt::NoModifier), 27);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_Space, Qt::NoModifier), 32);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_Left, Qt::NoModifier), 37);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_Up, Qt::NoModifier), 38);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_Right, Qt::NoModifier), 39);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_Down, Qt::NoModifier), 40);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_E, Qt::ControlModifier), 69);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_X, Qt::NoModifier), 88);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_Z, Qt::ShiftModifier), 90);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_Return, Qt::NoModifier), 13);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_Tab, Qt::NoModifier), 9);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_Backtab, Qt::ShiftModifier), 9);
}

TEST(KeyMap, RangesAndKeysThatDependOnWhereTheyAre) {
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_0, Qt::NoModifier), 48);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_9, Qt::NoModifier), 57);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_A, Qt::NoModifier), 65);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_F1, Qt::NoModifier), 112);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_F12, Qt::NoModifier), 123);
    // The number pad's digits are keys of their own; a shifted digit is still
    // its digit key.
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_Exclam, Qt::ShiftModifier), 49);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_unknown, Qt::NoModifier), 0);
    EXPECT_EQ(ui::VirtualKeyFromQt(Qt::Key_VolumeUp, Qt::NoModifier), 0);
}

TEST(KeyMap, ShiftStateHoldsExactlyTheModifiersDown) {
    EXPECT_EQ(ui::ShiftStateFromQt(Qt::NoModifier), 0);
    EXPECT_EQ(ui::ShiftStateFromQt(Qt::ControlModifier), ui::ssCtrl);
    EXPECT_EQ(ui::ShiftStateFromQt(Qt::ControlModifier | Qt::ShiftModifier),
              ui::ssCtrl | ui::ssShift);
    EXPECT_EQ(ui::ShiftStateFromQt(Qt::AltModifier | Qt::KeypadModifier), ui::ssAlt);
}

TEST(KeyMap, KeysArePlacedWhereTheySitWhateverTheLayout) {
    // X11 and Wayland: the key code names the place. On AZERTY the W place
    // prints Z, on Dvorak a comma.
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_Z, 25, true), 0x11);
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_Comma, 25, true), 0x11);
    EXPECT_EQ(ui::ScanCodeFromQt(0x0446, 25, true), 0x11); // Cyrillic: a symbol without a virtual key
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_Q, 38, true), 0x1E);
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_Shift, 50, true), 0x2A);
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_Shift, 62, true), 0x36); // the right Shift is another place
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_Left, 113, true), 0xCB); // after the main block, an E0 key
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_Backslash, 97, true), 0x73); // the Japanese "\" (ろ)
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_unknown, 255, true), 0);
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_A, 3, true), 0);
    // Elsewhere, or without a key code: by the symbol, as on a US keyboard.
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_W, 0, true), 0x11);
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_Z, 25, false), 0x2C);
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_M, 0, false), 0x32);
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_0, 0, false), 0x0B);
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_Shift, 0, false), 0x2A);
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_Space, 0, false), 0x39);
    EXPECT_EQ(ui::ScanCodeFromQt(Qt::Key_Left, 0, false), 0);
    EXPECT_EQ(ui::ScanCodeFromQt(0x3042, 0, false), 0); // a kana symbol
}

} // namespace
