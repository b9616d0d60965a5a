#pragma once
// Settings of the software DirectDraw that a real card would fix: how much
// video memory there is and which 16-bit layout the display uses. They are
// read when a DirectDraw object is created.

#include "platform/ddraw/ddraw_types.h"

namespace ddraw {

enum class HighColorLayout { Rgb565, Rgb555 };

struct SoftwareSettings {
    // Surfaces asked for in video memory (and full-screen flip chains) are
    // charged against this; past it their creation fails with
    // DDERR_OUTOFVIDEOMEMORY.
    DWORD VideoMemoryBytes = 64u * 1024u * 1024u;
    HighColorLayout HighColor = HighColorLayout::Rgb565;
};

void SetSoftwareSettings(const SoftwareSettings& settings);
SoftwareSettings CurrentSoftwareSettings();

} // namespace ddraw
