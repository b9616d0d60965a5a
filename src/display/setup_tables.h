#pragma once
// Choices a set-up makes from the component's settings: the memory of the
// windowed back buffer and the rows of the palette prepared for 8 bits.

#include "display/display_modes.h"
#include "platform/ddraw/ddraw.h"

#include <array>

namespace dddd {

ddraw::DWORD WindowedBackBufferCaps(bool use3D, TDDDDBackBufferMemoryType location,
                                    bool hardware3D, TD3DOptions options);

// Without 3D the colours stay as they are and every entry may not be
// collapsed; with 3D a full screen gets a 3-3-2 colour cube and a window the
// desktop's palette with its static colours read-only. A true-colour desktop
// has no palette of its own, so those colours stay as they are.
void PreparePaletteEntries(std::array<ddraw::PALETTEENTRY, 256>& entries, bool use3D,
                           bool fullScreen);

} // namespace dddd
