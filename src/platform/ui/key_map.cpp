#include "platform/ui/key_map.h"

#include "platform/component/key_places.h"

#include <QGuiApplication>

#include <string_view>

namespace ui {

namespace {

struct KeyPair {
    int qtKey;
    std::uint16_t virtualKey;
};

// Keys outside the letter, digit and function-key ranges. Shifted symbols
// of a US layout map to the key that carries them, as Windows reports the
// key, not the character.
// clang-format off
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, 8},   {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},      {Qt::Key_Return, 13},      {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},      {Qt::Key_Control, 17},     {Qt::Key_Alt, 18},
    {Qt::Key_AltGr, 18},      {Qt::Key_Pause, 19},       {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},     {Qt::Key_Space, 32},       {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},   {Qt::Key_End, 35},         {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},       {Qt::Key_Up, 38},          {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},       {Qt::Key_Print, 44},       {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},     {Qt::Key_Help, 47},        {Qt::Key_Meta, 91},
    {Qt::Key_Super_L, 91},    {Qt::Key_Super_R, 92},     {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},   {Qt::Key_ScrollLock, 145}, {Qt::Key_Semicolon, 186},
    {Qt::Key_Colon, 186},     {Qt::Key_Equal, 187},      {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},     {Qt::Key_Less, 188},       {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},     {Qt::Key_Question, 191},   {Qt::Key_QuoteLeft, 192},
    {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219}, {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220},        {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222}, {Qt::Key_QuoteDbl, 222},
    {Qt::Key_Exclam, '1'},    {Qt::Key_At, '2'},         {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},    {Qt::Key_Percent, '5'},    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'},   {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};
// clang-format on

// The number pad has keys of its own.
std::uint16_t KeypadKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<std::uint16_t>(96 + (qtKey - Qt::Key_0));
    switch (qtKey) {
    case Qt::Key_Asterisk:
        return 106;
    case Qt::Key_Plus:
        return 107;
    case Qt::Key_Minus:
        return 109;
    case Qt::Key_Period:
        return 110;
    case Qt::Key_Comma:
        return 110;
    case Qt::Key_Slash:
        return 111;
    default:
        return 0;
    }
}

// The letter and digit rows of a US keyboard and the scan code of each
// row's first key.
struct KeyRow {
    std::string_view keys;
    std::uint8_t firstCode;
};
constexpr KeyRow kRows[] = {{"1234567890", 0x02}, {"QWERTYUIOP", 0x10}, {"ASDFGHJKL", 0x1E}, {"ZXCVBNM", 0x2C}};

std::uint8_t ScanCodeFromSymbol(int qtKey) {
    for (const KeyRow& row : kRows) {
        std::size_t at = qtKey < 0x80 ? row.keys.find(static_cast<char>(qtKey)) : std::string_view::npos;
        if (at != std::string_view::npos)
            return static_cast<std::uint8_t>(row.firstCode + at);
    }
    switch (qtKey) {
    case Qt::Key_Escape: return 0x01;
    case Qt::Key_Backspace: return 0x0E;
    case Qt::Key_Tab: return 0x0F;
    case Qt::Key_Return: return 0x1C;
    case Qt::Key_Control: return 0x1D;
    case Qt::Key_Shift: return 0x2A;
    case Qt::Key_Alt: return 0x38;
    case Qt::Key_Space: return 0x39;
    default: return 0;
    }
}

} // namespace

std::uint8_t ScanCodeFromQt(int qtKey, std::uint32_t nativeScanCode, bool evdevCodes) {
    if (evdevCodes && nativeScanCode != 0)
        return nativeScanCode > 8 ? ScanCodeOfEvdevKey(nativeScanCode - 8) : 0;
    return ScanCodeFromSymbol(qtKey);
}

bool NativeKeyCodesAreEvdev() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

std::uint16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (std::uint16_t key = KeypadKey(qtKey))
            return key;
    }
    // Qt's letters and digits carry their ASCII codes, as virtual keys do.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<std::uint16_t>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<std::uint16_t>(112 + (qtKey - Qt::Key_F1));
    for (const KeyPair& pair : kKeys) {
        if (pair.qtKey == qtKey)
            return pair.virtualKey;
    }
    return 0;
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers) {
    TShiftState state = 0;
    if (modifiers & Qt::ShiftModifier)
        state |= ssShift;
    if (modifiers & Qt::AltModifier)
        state |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        state |= ssCtrl;
    return state;
}

} // namespace ui
