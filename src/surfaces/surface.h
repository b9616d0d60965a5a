#pragma once
// An off-screen surface that creates and owns its DirectDraw surface,
// remembers the file or archive entry its picture came from, and registers
// with the display component so that a new display set-up re-creates and
// reloads it.

#include "surfaces/gen_surface.h"
#include "surfaces/memory_type.h"

namespace dddd {

class TDDDDSurface : public TDDDDGenSurface {
public:
    // Throws std::out_of_range for a negative width or height.
    TDDDDSurface(TDDDDSurfaceHost* owner, std::int32_t width, std::int32_t height,
                 std::uint32_t colorKey);
    ~TDDDDSurface() override;

    bool FromArchive = false;
    std::string FileName;
    std::string ArchiveName;
    std::string ArchiveEntry;

    void LoadFromFile(const std::string& fileName) override;
    void LoadFromArchive(const std::string& archiveName, const std::string& entryName) override;

    // Creates the platform surface from Desc on the owner's DirectDraw
    // object, falling back to system memory once; then sets the colour key.
    // Used at construction and by the keeper's restore.
    void CreatePlatformSurface();

private:
    void AllocateSurface(TDDDDSurfaceHost* owner, std::int32_t width, std::int32_t height,
                         TDDDDSurfaceMemoryType location, std::uint32_t colorKey);
};

} // namespace dddd
