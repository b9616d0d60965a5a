#pragma once
// The display component's fixed set-ups chosen by value (window or full
// screen, 640x480 to 1024x768, 8 to 24 bits) and the variable window set-up,
// with the enumerations of its published properties.

#include <cstdint>

namespace dddd {

enum TDDDDDispMode : std::uint8_t {
    dmWin640x480x8,
    dmWin800x600x8,
    dmWin1024x768x8,
    dmWin640x480x16,
    dmWin800x600x16,
    dmWin1024x768x16,
    dmWin640x480x24,
    dmWin800x600x24,
    dmWin1024x768x24,
    dmFull640x480x8,
    dmFull800x600x8,
    dmFull1024x768x8,
    dmFull640x480x16,
    dmFull800x600x16,
    dmFull1024x768x16,
    dmFull640x480x24,
    dmFull800x600x24,
    dmFull1024x768x24,
    dmWinVariable,
};

// Memory of the back buffer in a window.
enum TDDDDBackBufferMemoryType : std::uint8_t {
    bmtDefault,
    bmtCompatible,
    bmtSystemMemory,
    bmtVideoMemory,
};

// The 3D device choices, a set of flags.
enum TD3DOption : std::uint8_t {
    DontUseRGBEmulation = 1 << 0,
    DontUseHAL = 1 << 1,
    DontUseMMX = 1 << 2,
};
using TD3DOptions = std::uint8_t;

struct DisplayModeSetup {
    std::int32_t Width;
    std::int32_t Height;
    std::int32_t BitCount;
    bool FullScreen;
};

// The set-up of a fixed mode. dmWinVariable has none of its own (its size is
// the owner form's client area, its depth the desktop's): it answers with
// zero sizes and depth, windowed.
DisplayModeSetup DisplayModeTable(TDDDDDispMode mode);

} // namespace dddd
