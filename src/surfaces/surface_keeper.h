#pragma once
// The display component's record of one registered surface: enough to
// create the surface again on a new DirectDraw object and reload its picture.

#include "surfaces/surface.h"

namespace dddd {

class TDDDDSurfaceHost;

class TDDDDSurfaceKeeper {
public:
    TDDDDSurfaceKeeper(TDDDDSurfaceHost* owner, TDDDDSurface* surface);

    TDDDDSurfaceHost* Owner;
    TDDDDSurface* Surface;
    std::int32_t Width;
    std::int32_t Height;
    std::int32_t ScreenBits;

    // Re-creates the surface from its description, sets its colour key and
    // reloads the picture from the file or archive entry it came from.
    void Restore();
};

} // namespace dddd
