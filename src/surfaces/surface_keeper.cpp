#include "surfaces/surface_keeper.h"

#include "surfaces/surface_host.h"

namespace dddd {

TDDDDSurfaceKeeper::TDDDDSurfaceKeeper(TDDDDSurfaceHost* owner, TDDDDSurface* surface)
    : Owner(owner), Surface(surface), Width(surface->Width), Height(surface->Height),
      ScreenBits(owner->GetScreenBitsPerPixel()) {}

void TDDDDSurfaceKeeper::Restore() {
    TDDDDSurface& s = *Surface;
    // The old surface went with the DirectDraw object it was made on; only
    // the reference that still counts it is given back.
    if (s.Surface) {
        s.Surface->Release();
        s.Surface = nullptr;
    }
    s.CreatePlatformSurface();
    if (!s.FromArchive && !s.FileName.empty())
        s.LoadFromFile(s.FileName);
    else if (s.FromArchive && !s.ArchiveName.empty())
        s.LoadFromArchive(s.ArchiveName, s.ArchiveEntry);
}

} // namespace dddd
