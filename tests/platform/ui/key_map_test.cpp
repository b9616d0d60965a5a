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

} // namespace
