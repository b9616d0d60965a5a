#include "platform/component/key_places.h"

namespace ui {

namespace {

struct Place {
    std::uint16_t evdev;
    std::uint8_t scanCode;
};

// Evdev numbers the main block, the function keys to F10 and the number pad
// as their scan codes (1 to 83); the keys after them differ.
// clang-format off
constexpr Place kLaterKeys[] = {
    {85, 0x29},  // 全角/半角, where some Japanese keyboards report it
    {86, 0x56},  // the key beside the left Shift on 102-key keyboards
    {87, 0x57},  {88, 0x58},  // F11, F12
    {89, 0x73},  // ろ (the Japanese "\")
    {92, 0x79},  {93, 0x70},  {94, 0x7B},  // 変換, カタカナ/ひらがな, 無変換
    {95, 0xB3},  {121, 0xB3}, // the number pad's comma
    {96, 0x9C},  {97, 0x9D},  {98, 0xB5},  {99, 0xB7},  {100, 0xB8},  // pad Enter, right Ctrl, pad /, Print, right Alt
    {102, 0xC7}, {103, 0xC8}, {104, 0xC9}, {105, 0xCB}, {106, 0xCD},  // Home, Up, Page Up, Left, Right
    {107, 0xCF}, {108, 0xD0}, {109, 0xD1}, {110, 0xD2}, {111, 0xD3},  // End, Down, Page Down, Insert, Delete
    {113, 0xA0}, {114, 0xAE}, {115, 0xB0}, {116, 0xDE}, {117, 0x8D},  // Mute, Volume −, Volume +, Power, pad =
    {119, 0xC5}, {124, 0x7D}, // Pause, ¥
    {125, 0xDB}, {126, 0xDC}, {127, 0xDD},  // left and right Windows keys, Menu
    {128, 0xE8}, {140, 0xA1}, {142, 0xDF}, {143, 0xE3},  // Stop, Calculator, Sleep, Wake
    {155, 0xEC}, {156, 0xE6}, {157, 0xEB}, {158, 0xEA}, {159, 0xE9},  // Mail, Favourites, Computer, Back, Forward
    {163, 0x99}, {164, 0xA2}, {165, 0x90}, {166, 0xA4},  // next, play/pause, previous, stop
    {172, 0xB2}, {173, 0xE7}, {183, 0x64}, {184, 0x65}, {185, 0x66},  // Home page, Refresh, F13–F15
    {217, 0xE5}, {226, 0xED},  // Search, Media
};
// clang-format on

} // namespace

std::uint8_t ScanCodeOfEvdevKey(std::uint32_t evdevCode) {
    if (evdevCode >= 1 && evdevCode <= 83)
        return static_cast<std::uint8_t>(evdevCode);
    for (const Place& place : kLaterKeys) {
        if (place.evdev == evdevCode)
            return place.scanCode;
    }
    return 0;
}

} // namespace ui
