#include "display/setup_tables.h"

namespace dddd {

using namespace ddraw;

namespace {
constexpr DWORD kSystem = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
constexpr DWORD kVideo = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
// The flag the retained mode gives entries it must not change.
constexpr BYTE kD3DPalReadOnly = 0x40;
} // namespace

DWORD WindowedBackBufferCaps(bool use3D, TDDDDBackBufferMemoryType location, bool hardware3D,
                             TD3DOptions options) {
    if (!use3D)
        return (location == bmtDefault || location == bmtVideoMemory) ? kVideo : kSystem;
    switch (location) {
    case bmtSystemMemory:
        return kSystem | DDSCAPS_3DDEVICE;
    case bmtVideoMemory:
        return kVideo | DDSCAPS_3DDEVICE;
    default:
        return (hardware3D && !(options & DontUseHAL) ? kVideo : kSystem) | DDSCAPS_3DDEVICE;
    }
}

void PreparePaletteEntries(std::array<PALETTEENTRY, 256>& entries, bool use3D, bool fullScreen) {
    for (int i = 0; i < 256; ++i) {
        PALETTEENTRY& e = entries[static_cast<std::size_t>(i)];
        if (!use3D) {
            e.peFlags = PC_NOCOLLAPSE;
        } else if (fullScreen) {
            e.peRed = static_cast<BYTE>(((i >> 5) & 7) * 255 / 7);
            e.peGreen = static_cast<BYTE>(((i >> 2) & 7) * 255 / 7);
            e.peBlue = static_cast<BYTE>((i & 3) * 255 / 3);
            e.peFlags = kD3DPalReadOnly;
        } else {
            e.peFlags = (i < 10 || i > 245) ? kD3DPalReadOnly : PC_RESERVED;
        }
    }
}

} // namespace dddd
