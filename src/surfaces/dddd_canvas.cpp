#include "surfaces/dddd_canvas.h"

namespace dddd {

TDDDDCanvas::TDDDDCanvas(TDDDDGenSurface* surface)
    : surface_(surface ? surface->Surface : nullptr),
      surfaceUsable_(surface && !surface->IsLost()) {}

TDDDDCanvas::~TDDDDCanvas() {
    if (dc_) {
        SetHandle(nullptr);
        surface_->ReleaseDC(dc_);
        dc_ = nullptr;
    }
}

void TDDDDCanvas::CreateHandle() {
    if (dc_ || !surface_)
        return;
    ddraw::HDC dc = nullptr;
    // Without a context the canvas stays without a handle and draws nothing.
    if (surface_->GetDC(&dc) != ddraw::DD_OK)
        dc = nullptr;
    dc_ = dc;
    SetHandle(dc_);
}

} // namespace dddd
