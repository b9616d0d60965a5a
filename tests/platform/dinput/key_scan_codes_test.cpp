#include "platform/dinput/key_scan_codes.h"
#include "platform/dinput/scan_codes.h"
#include "platform/dinput/xkb_layout.h"

#include <gtest/gtest.h>

#include <set>

using namespace dinput;

namespace {

constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kKeypad = Qt::KeypadModifier;

std::uint8_t Us(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return ScanCodeForKey(key, modifiers, KeyboardLayout::Us);
}
std::uint8_t Jp(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return ScanCodeForKey(key, modifiers, KeyboardLayout::Japanese);
}

TEST(KeyScanCodes, SymbolsFollowTheActiveLayout) {
    // "@": Shift+2 on the 101-key layout, its own key on the Japanese one.
    EXPECT_EQ(Us(Qt::Key_At, kShift), DIK_2);
    EXPECT_EQ(Jp(Qt::Key_At), DIK_LBRACKET);
    EXPECT_EQ(Us(Qt::Key_QuoteDbl, kShift), DIK_APOSTROPHE);
    EXPECT_EQ(Jp(Qt::Key_QuoteDbl, kShift), DIK_2);
    EXPECT_EQ(Us(Qt::Key_BracketLeft), DIK_LBRACKET);
    EXPECT_EQ(Jp(Qt::Key_BracketLeft), DIK_RBRACKET);
    EXPECT_EQ(Jp(Qt::Key_BracketRight), DIK_BACKSLASH);
    EXPECT_EQ(Jp(Qt::Key_Colon), DIK_APOSTROPHE);
    EXPECT_EQ(Us(Qt::Key_Colon, kShift), DIK_SEMICOLON);
    EXPECT_EQ(Jp(Qt::Key_AsciiCircum), DIK_EQUALS);
    EXPECT_EQ(Jp(Qt::Key_Underscore, kShift), DIK_ABNT_C1);
    EXPECT_EQ(Us(Qt::Key_Underscore, kShift), DIK_MINUS);
    EXPECT_EQ(Jp(Qt::Key_Bar, kShift), DIK_YEN);
    EXPECT_EQ(Jp(Qt::Key_yen), DIK_YEN);
    // A symbol only the other layout has is still found.
    EXPECT_EQ(Us(Qt::Key_AsciiCircum), DIK_EQUALS);
    EXPECT_EQ(Jp(Qt::Key_QuoteLeft), DIK_GRAVE);
    // The shifted and plain symbol of a key agree (a release after Shift).
    EXPECT_EQ(Us(Qt::Key_Apostrophe), Us(Qt::Key_QuoteDbl, kShift));
    EXPECT_EQ(Jp(Qt::Key_Plus, kShift), Jp(Qt::Key_Semicolon));
}

TEST(KeyScanCodes, KeypadAndLayoutIndependentKeys) {
    EXPECT_EQ(Us(Qt::Key_7, kKeypad), DIK_NUMPAD7);
    EXPECT_EQ(Us(Qt::Key_7), DIK_7);
    EXPECT_EQ(Us(Qt::Key_Home, kKeypad), DIK_NUMPAD7);
    EXPECT_EQ(Us(Qt::Key_Home), DIK_HOME);
    EXPECT_EQ(Us(Qt::Key_Enter, kKeypad), DIK_NUMPADENTER);
    EXPECT_EQ(Us(Qt::Key_Slash, kKeypad), DIK_DIVIDE);
    EXPECT_EQ(Us(Qt::Key_Asterisk, kKeypad), DIK_MULTIPLY);
    EXPECT_EQ(Jp(Qt::Key_Asterisk, kKeypad | kShift), DIK_MULTIPLY);
    EXPECT_EQ(Us(Qt::Key_Z, kShift), DIK_Z);
    EXPECT_EQ(Jp(Qt::Key_Space), DIK_SPACE);
    EXPECT_EQ(Us(Qt::Key_Left), DIK_LEFT);
    EXPECT_EQ(Jp(Qt::Key_Escape), DIK_ESCAPE);
    EXPECT_EQ(Jp(Qt::Key_Henkan), DIK_CONVERT);
    EXPECT_EQ(Jp(Qt::Key_Muhenkan), DIK_NOCONVERT);
    EXPECT_EQ(Jp(Qt::Key_Hiragana_Katakana), DIK_KANA);
    EXPECT_EQ(Jp(Qt::Key_Zenkaku_Hankaku), DIK_GRAVE);
    EXPECT_EQ(Us(Qt::Key_unknown), 0);
    EXPECT_EQ(Us(0x4E00), 0); // a Unicode symbol no key has
}

// Every key of both keyboards is reached by some Qt key, and no code outside
// the set of real keys is produced.
TEST(KeyScanCodes, TheTableCoversBothKeyboards) {
    std::set<int> produced;
    for (KeyboardLayout layout : {KeyboardLayout::Us, KeyboardLayout::Japanese}) {
        for (Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(kShift),
                                                Qt::KeyboardModifiers(kKeypad)}) {
            for (int key = 0x20; key < 0x100; ++key)
                produced.insert(ScanCodeForKey(key, modifiers, layout));
            for (int key = 0x01000000; key < 0x01002000; ++key)
                produced.insert(ScanCodeForKey(key, modifiers, layout));
        }
    }
    produced.erase(0);
    std::set<int> keyboard;
    for (int code = DIK_ESCAPE; code <= DIK_DECIMAL; ++code) // main block, function keys, keypad
        keyboard.insert(code);
    for (int code : {DIK_F11, DIK_F12, DIK_NUMPADENTER, DIK_RCONTROL, DIK_DIVIDE, DIK_SYSRQ, DIK_RMENU, DIK_PAUSE,
                     DIK_HOME, DIK_UP, DIK_PRIOR, DIK_LEFT, DIK_RIGHT, DIK_END, DIK_DOWN, DIK_NEXT, DIK_INSERT,
                     DIK_DELETE, DIK_LWIN, DIK_RWIN, DIK_APPS, DIK_KANA, DIK_ABNT_C1, DIK_CONVERT, DIK_NOCONVERT,
                     DIK_YEN})
        keyboard.insert(code);
    // The right-hand modifiers are told apart by the platform's key code only.
    keyboard.erase(DIK_RCONTROL);
    keyboard.erase(DIK_RSHIFT);
    keyboard.erase(DIK_RWIN);
    for (int code : keyboard)
        EXPECT_TRUE(produced.count(code)) << "no Qt key gives scan code " << code;
}

// Where the input method cannot tell (Wayland), the layout comes from XKB's
// configuration: its first layout, in either file format.
TEST(KeyScanCodes, LayoutFromXkbConfiguration) {
    EXPECT_EQ(LayoutFromXkbNames("jp"), KeyboardLayout::Japanese);
    EXPECT_EQ(LayoutFromXkbNames(" jp(OADG109A) , us"), KeyboardLayout::Japanese);
    EXPECT_EQ(LayoutFromXkbNames("us,jp"), KeyboardLayout::Us);
    EXPECT_EQ(LayoutFromXkbNames("de"), KeyboardLayout::Us);
    EXPECT_EQ(LayoutFromXkbNames(" "), std::nullopt);

    EXPECT_EQ(XkbNamesInConfiguration("# XKBLAYOUT=\"de\"\nXKBMODEL=\"pc105\"\nXKBLAYOUT=\"jp,us\"\n"), "jp,us");
    EXPECT_EQ(XkbNamesInConfiguration("Section \"InputClass\"\n\tOption \"XkbLayout\" \"jp\"\nEndSection\n"),
              "jp");
    EXPECT_EQ(XkbNamesInConfiguration("Option \"XkbModel\" \"pc105\"\nOption \"XkbLayout\n"), "");
    EXPECT_EQ(XkbNamesInConfiguration(std::string_view("\0\xff\n=", 4)), "");
}

} // namespace
