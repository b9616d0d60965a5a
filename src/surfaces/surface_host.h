#pragma once
// What the surface layer needs of the display component that its surfaces
// live on. The display component implements it; keeping it here lets the
// surface layer build without the display layer, which in turn owns surfaces.

#include "platform/ddraw/ddraw.h"
#include "surfaces/memory_type.h"

#include <cstdint>

namespace dddd {

class TDDDDGenSurface;
class TDDDDSurface;

class TDDDDSurfaceHost {
public:
    // The DirectDraw object surfaces are created on; null before a set-up.
    virtual ddraw::IDirectDraw2* DirectDraw2() const = 0;
    virtual TDDDDGenSurface* BackBuffer() const = 0;
    virtual bool FullScreen() const = 0;
    virtual TDDDDSurfaceMemoryType SurfaceLocation() const = 0;
    // The desktop's colour depth in bits per pixel.
    virtual std::int32_t GetScreenBitsPerPixel() = 0;
    virtual void RegisterSurface(TDDDDSurface* surface) = 0;
    virtual void UnregisterSurface(TDDDDSurface* surface) = 0;

protected:
    ~TDDDDSurfaceHost() = default;
};

} // namespace dddd
