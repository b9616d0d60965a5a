#pragma once
// Where off-screen surfaces are placed: the type of the display component's
// SurfaceLocation, read by the surface layer whenever it creates a surface.

#include <cstdint>

namespace dddd {

enum TDDDDSurfaceMemoryType : std::uint8_t {
    smtDefault,
    smtCompatible,
    smtSystemMemory,
    smtVideoMemory,
    smtNonLocalVideoMemory,
};

} // namespace dddd
