#pragma once
// A canvas on a surface: the surface's device context is taken on the first
// drawing call and given back when the canvas is destroyed. While it is
// held, the surface is locked, so canvases are meant to be short-lived.

#include "surfaces/canvas.h"
#include "surfaces/gen_surface.h"

namespace dddd {

class TDDDDCanvas : public TCanvas {
public:
    explicit TDDDDCanvas(TDDDDGenSurface* surface);
    ~TDDDDCanvas() override;

    ddraw::IDirectDrawSurface* DrawSurface() const { return surface_; }
    ddraw::HDC DC() const { return dc_; }
    // Whether the surface was usable when the canvas was made (kept only).
    bool SurfaceUsable() const { return surfaceUsable_; }

protected:
    void CreateHandle() override;

private:
    ddraw::IDirectDrawSurface* surface_;
    ddraw::HDC dc_ = nullptr;
    bool surfaceUsable_;
};

} // namespace dddd
