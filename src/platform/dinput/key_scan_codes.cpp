#include "platform/dinput/key_scan_codes.h"

#include "platform/component/key_places.h"
#include "platform/dinput/scan_codes.h"
#include "platform/dinput/xkb_layout.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QLocale>

#include <optional>
#include <span>

namespace dinput {
namespace {

struct KeyCode {
    int key;
    std::uint8_t code;
};

// Keys whose scan code does not depend on the layout or on Shift.
constexpr KeyCode kCommonKeys[] = {
    {Qt::Key_Escape, DIK_ESCAPE},
    {Qt::Key_Tab, DIK_TAB},
    {Qt::Key_Backtab, DIK_TAB},
    {Qt::Key_Backspace, DIK_BACK},
    {Qt::Key_Return, DIK_RETURN},
    {Qt::Key_Enter, DIK_NUMPADENTER},
    {Qt::Key_Insert, DIK_INSERT},
    {Qt::Key_Delete, DIK_DELETE},
    {Qt::Key_Pause, DIK_PAUSE},
    {Qt::Key_Print, DIK_SYSRQ},
    {Qt::Key_SysReq, DIK_SYSRQ},
    {Qt::Key_Clear, DIK_NUMPAD5},
    {Qt::Key_Home, DIK_HOME},
    {Qt::Key_End, DIK_END},
    {Qt::Key_Left, DIK_LEFT},
    {Qt::Key_Up, DIK_UP},
    {Qt::Key_Right, DIK_RIGHT},
    {Qt::Key_Down, DIK_DOWN},
    {Qt::Key_PageUp, DIK_PRIOR},
    {Qt::Key_PageDown, DIK_NEXT},
    {Qt::Key_Shift, DIK_LSHIFT},
    {Qt::Key_Control, DIK_LCONTROL},
    {Qt::Key_Meta, DIK_LWIN},
    {Qt::Key_Alt, DIK_LMENU},
    {Qt::Key_AltGr, DIK_RMENU},
    {Qt::Key_CapsLock, DIK_CAPITAL},
    {Qt::Key_NumLock, DIK_NUMLOCK},
    {Qt::Key_ScrollLock, DIK_SCROLL},
    {Qt::Key_F1, DIK_F1},
    {Qt::Key_F2, DIK_F2},
    {Qt::Key_F3, DIK_F3},
    {Qt::Key_F4, DIK_F4},
    {Qt::Key_F5, DIK_F5},
    {Qt::Key_F6, DIK_F6},
    {Qt::Key_F7, DIK_F7},
    {Qt::Key_F8, DIK_F8},
    {Qt::Key_F9, DIK_F9},
    {Qt::Key_F10, DIK_F10},
    {Qt::Key_F11, DIK_F11},
    {Qt::Key_F12, DIK_F12},
    {Qt::Key_F13, DIK_F13},
    {Qt::Key_F14, DIK_F14},
    {Qt::Key_F15, DIK_F15},
    {Qt::Key_Super_L, DIK_LWIN},
    {Qt::Key_Super_R, DIK_RWIN},
    {Qt::Key_Menu, DIK_APPS},
    {Qt::Key_Space, DIK_SPACE},
    {Qt::Key_0, DIK_0},
    {Qt::Key_1, DIK_1},
    {Qt::Key_2, DIK_2},
    {Qt::Key_3, DIK_3},
    {Qt::Key_4, DIK_4},
    {Qt::Key_5, DIK_5},
    {Qt::Key_6, DIK_6},
    {Qt::Key_7, DIK_7},
    {Qt::Key_8, DIK_8},
    {Qt::Key_9, DIK_9},
    {Qt::Key_A, DIK_A},
    {Qt::Key_B, DIK_B},
    {Qt::Key_C, DIK_C},
    {Qt::Key_D, DIK_D},
    {Qt::Key_E, DIK_E},
    {Qt::Key_F, DIK_F},
    {Qt::Key_G, DIK_G},
    {Qt::Key_H, DIK_H},
    {Qt::Key_I, DIK_I},
    {Qt::Key_J, DIK_J},
    {Qt::Key_K, DIK_K},
    {Qt::Key_L, DIK_L},
    {Qt::Key_M, DIK_M},
    {Qt::Key_N, DIK_N},
    {Qt::Key_O, DIK_O},
    {Qt::Key_P, DIK_P},
    {Qt::Key_Q, DIK_Q},
    {Qt::Key_R, DIK_R},
    {Qt::Key_S, DIK_S},
    {Qt::Key_T, DIK_T},
    {Qt::Key_U, DIK_U},
    {Qt::Key_V, DIK_V},
    {Qt::Key_W, DIK_W},
    {Qt::Key_X, DIK_X},
    {Qt::Key_Y, DIK_Y},
    {Qt::Key_Z, DIK_Z},
    {Qt::Key_Comma, DIK_COMMA},
    {Qt::Key_Period, DIK_PERIOD},
    {Qt::Key_Slash, DIK_SLASH},
    {Qt::Key_Semicolon, DIK_SEMICOLON},
    {Qt::Key_Minus, DIK_MINUS},
    {Qt::Key_Less, DIK_COMMA},
    {Qt::Key_Greater, DIK_PERIOD},
    {Qt::Key_Question, DIK_SLASH},
    {Qt::Key_NumberSign, DIK_3},
    {Qt::Key_Dollar, DIK_4},
    {Qt::Key_Percent, DIK_5},
    {Qt::Key_Exclam, DIK_1},
    // The Japanese keys.
    {Qt::Key_Zenkaku_Hankaku, DIK_GRAVE},
    {Qt::Key_Zenkaku, DIK_GRAVE},
    {Qt::Key_Hankaku, DIK_GRAVE},
    {Qt::Key_Kanji, DIK_GRAVE},
    {Qt::Key_Henkan, DIK_CONVERT},
    {Qt::Key_Muhenkan, DIK_NOCONVERT},
    {Qt::Key_Hiragana_Katakana, DIK_KANA},
    {Qt::Key_Hiragana, DIK_KANA},
    {Qt::Key_Katakana, DIK_KANA},
    {Qt::Key_Kana_Lock, DIK_KANA},
    {Qt::Key_Kana_Shift, DIK_KANA},
    {Qt::Key_Romaji, DIK_KANA},
    {Qt::Key_Eisu_toggle, DIK_CAPITAL},
    {Qt::Key_Eisu_Shift, DIK_CAPITAL},
    {Qt::Key_yen, DIK_YEN},
    // Media and office keys of 104-key keyboards with extra keys.
    {Qt::Key_VolumeDown, DIK_VOLUMEDOWN},
    {Qt::Key_VolumeUp, DIK_VOLUMEUP},
    {Qt::Key_VolumeMute, DIK_MUTE},
    {Qt::Key_MediaPlay, DIK_PLAYPAUSE},
    {Qt::Key_MediaTogglePlayPause, DIK_PLAYPAUSE},
    {Qt::Key_MediaPause, DIK_PLAYPAUSE},
    {Qt::Key_MediaStop, DIK_MEDIASTOP},
    {Qt::Key_MediaPrevious, DIK_PREVTRACK},
    {Qt::Key_MediaNext, DIK_NEXTTRACK},
    {Qt::Key_Calculator, DIK_CALCULATOR},
    {Qt::Key_HomePage, DIK_WEBHOME},
    {Qt::Key_Search, DIK_WEBSEARCH},
    {Qt::Key_Favorites, DIK_WEBFAVORITES},
    {Qt::Key_Refresh, DIK_WEBREFRESH},
    {Qt::Key_Stop, DIK_WEBSTOP},
    {Qt::Key_Forward, DIK_WEBFORWARD},
    {Qt::Key_Back, DIK_WEBBACK},
    {Qt::Key_Launch0, DIK_MYCOMPUTER},
    {Qt::Key_LaunchMail, DIK_MAIL},
    {Qt::Key_LaunchMedia, DIK_MEDIASELECT},
    {Qt::Key_PowerOff, DIK_POWER},
    {Qt::Key_PowerDown, DIK_POWER},
    {Qt::Key_Sleep, DIK_SLEEP},
    {Qt::Key_WakeUp, DIK_WAKE},
};

// Keys of the numeric keypad (Qt marks them with KeypadModifier); the
// navigation keys are what the keypad gives with NumLock off.
constexpr KeyCode kKeypadKeys[] = {
    {Qt::Key_0, DIK_NUMPAD0},        {Qt::Key_1, DIK_NUMPAD1},       {Qt::Key_2, DIK_NUMPAD2},
    {Qt::Key_3, DIK_NUMPAD3},        {Qt::Key_4, DIK_NUMPAD4},       {Qt::Key_5, DIK_NUMPAD5},
    {Qt::Key_6, DIK_NUMPAD6},        {Qt::Key_7, DIK_NUMPAD7},       {Qt::Key_8, DIK_NUMPAD8},
    {Qt::Key_9, DIK_NUMPAD9},        {Qt::Key_Asterisk, DIK_MULTIPLY}, {Qt::Key_Plus, DIK_ADD},
    {Qt::Key_Minus, DIK_SUBTRACT},   {Qt::Key_Period, DIK_DECIMAL},  {Qt::Key_Comma, DIK_NUMPADCOMMA},
    {Qt::Key_Slash, DIK_DIVIDE},     {Qt::Key_Enter, DIK_NUMPADENTER}, {Qt::Key_Return, DIK_NUMPADENTER},
    {Qt::Key_Equal, DIK_NUMPADEQUALS}, {Qt::Key_Home, DIK_NUMPAD7},  {Qt::Key_Up, DIK_NUMPAD8},
    {Qt::Key_PageUp, DIK_NUMPAD9},   {Qt::Key_Left, DIK_NUMPAD4},    {Qt::Key_Clear, DIK_NUMPAD5},
    {Qt::Key_Right, DIK_NUMPAD6},    {Qt::Key_End, DIK_NUMPAD1},     {Qt::Key_Down, DIK_NUMPAD2},
    {Qt::Key_PageDown, DIK_NUMPAD3}, {Qt::Key_Insert, DIK_NUMPAD0},  {Qt::Key_Delete, DIK_DECIMAL},
    {Qt::Key_NumLock, DIK_NUMLOCK},
};

// Symbols that sit on different keys in the two layouts, without and with Shift.
constexpr KeyCode kUsPlain[] = {
    {Qt::Key_QuoteLeft, DIK_GRAVE},       {Qt::Key_Equal, DIK_EQUALS},         {Qt::Key_BracketLeft, DIK_LBRACKET},
    {Qt::Key_BracketRight, DIK_RBRACKET}, {Qt::Key_Backslash, DIK_BACKSLASH}, {Qt::Key_Apostrophe, DIK_APOSTROPHE},
};
constexpr KeyCode kUsShifted[] = {
    {Qt::Key_AsciiTilde, DIK_GRAVE},     {Qt::Key_At, DIK_2},          {Qt::Key_AsciiCircum, DIK_6},
    {Qt::Key_Ampersand, DIK_7},          {Qt::Key_Asterisk, DIK_8},    {Qt::Key_ParenLeft, DIK_9},
    {Qt::Key_ParenRight, DIK_0},         {Qt::Key_Underscore, DIK_MINUS}, {Qt::Key_Plus, DIK_EQUALS},
    {Qt::Key_BraceLeft, DIK_LBRACKET},   {Qt::Key_BraceRight, DIK_RBRACKET}, {Qt::Key_Bar, DIK_BACKSLASH},
    {Qt::Key_Colon, DIK_SEMICOLON},      {Qt::Key_QuoteDbl, DIK_APOSTROPHE},
};
constexpr KeyCode kJapanesePlain[] = {
    {Qt::Key_AsciiCircum, DIK_EQUALS},   {Qt::Key_At, DIK_LBRACKET},        {Qt::Key_BracketLeft, DIK_RBRACKET},
    {Qt::Key_Colon, DIK_APOSTROPHE},     {Qt::Key_BracketRight, DIK_BACKSLASH}, {Qt::Key_Backslash, DIK_YEN},
};
constexpr KeyCode kJapaneseShifted[] = {
    {Qt::Key_QuoteDbl, DIK_2},           {Qt::Key_Ampersand, DIK_6},        {Qt::Key_Apostrophe, DIK_7},
    {Qt::Key_ParenLeft, DIK_8},          {Qt::Key_ParenRight, DIK_9},       {Qt::Key_Equal, DIK_MINUS},
    {Qt::Key_AsciiTilde, DIK_EQUALS},    {Qt::Key_Bar, DIK_YEN},            {Qt::Key_QuoteLeft, DIK_LBRACKET},
    {Qt::Key_BraceLeft, DIK_RBRACKET},   {Qt::Key_Plus, DIK_SEMICOLON},     {Qt::Key_Asterisk, DIK_APOSTROPHE},
    {Qt::Key_BraceRight, DIK_BACKSLASH}, {Qt::Key_Underscore, DIK_ABNT_C1},
};

std::uint8_t Find(std::span<const KeyCode> table, int key) {
    for (const KeyCode& entry : table)
        if (entry.key == key)
            return entry.code;
    return 0;
}

KeyboardLayout LayoutOfLocale(const QLocale& locale) {
    return locale.language() == QLocale::Japanese ? KeyboardLayout::Japanese : KeyboardLayout::Us;
}

} // namespace

KeyboardLayout SystemKeyboardLayout() {
    // On Wayland the input method is not asked: Qt 6.4 crashes asking it where
    // the compositor offers no seat, and it knows no more than the locale
    // there. XKB's configuration names the keyboard itself.
    const bool guiApplication = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    const bool wayland = guiApplication && QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (guiApplication && !wayland)
        return LayoutOfLocale(QGuiApplication::inputMethod()->locale());
    if (std::optional<KeyboardLayout> configured = ConfiguredXkbLayout())
        return *configured;
    return LayoutOfLocale(QLocale::system());
}

std::uint8_t ScanCodeForKey(int key, Qt::KeyboardModifiers modifiers, KeyboardLayout layout) {
    if (modifiers & Qt::KeypadModifier) {
        if (std::uint8_t code = Find(kKeypadKeys, key))
            return code;
    }
    bool japanese = layout == KeyboardLayout::Japanese;
    if (std::uint8_t code = Find(kCommonKeys, key))
        return code;
    // The Shift state as given in the active layout, then in the other one
    // (a symbol only that layout has), then the other Shift state.
    int shifted = modifiers & Qt::ShiftModifier ? 1 : 0;
    const std::span<const KeyCode> us[2] = {kUsPlain, kUsShifted};
    const std::span<const KeyCode> jp[2] = {kJapanesePlain, kJapaneseShifted};
    const std::span<const KeyCode>* active = japanese ? jp : us;
    const std::span<const KeyCode>* other = japanese ? us : jp;
    for (int shift : {shifted, 1 - shifted}) {
        if (std::uint8_t code = Find(active[shift], key))
            return code;
        if (std::uint8_t code = Find(other[shift], key))
            return code;
    }
    return 0;
}

std::uint8_t ScanCodeForEvent(const QKeyEvent& event, KeyboardLayout layout) {
    // X11 and Wayland give the key's evdev code plus 8, which names its place
    // whatever the layout, as a scan code does.
    static const bool evdevCodes = QGuiApplication::platformName() == QLatin1String("xcb") ||
                                   QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (evdevCodes && event.nativeScanCode() > 8) {
        if (std::uint8_t code = ui::ScanCodeOfEvdevKey(event.nativeScanCode() - 8))
            return code;
    }
    return ScanCodeForKey(event.key(), event.modifiers(), layout);
}

} // namespace dinput
