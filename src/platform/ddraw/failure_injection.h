#pragma once
// Lets tests of the layers above make chosen DirectDraw operations fail and
// count how often each was called. The software objects consult it at the
// start of every operation listed here; nothing is injected unless a test
// asks for it.

#include "platform/ddraw/ddraw_types.h"

namespace ddraw {

enum class Operation {
    DirectDrawCreate,
    DirectDrawEnumerate,
    QueryInterface,
    GetCaps,
    SetCooperativeLevel,
    SetDisplayMode,
    RestoreDisplayMode,
    EnumDisplayModes,
    CreateSurface,
    CreatePalette,
    CreateClipper,
    WaitForVerticalBlank,
    AddAttachedSurface,
    Blt,
    BltFast,
    Flip,
    GetAttachedSurface,
    SurfaceGetCaps,
    GetDC,
    ReleaseDC,
    GetSurfaceDesc,
    IsLost,
    Lock,
    Unlock,
    Restore,
    SetClipper,
    SetColorKey,
    SetPalette,
    PaletteSetEntries,
    ClipperSetHWnd,
    Count_
};

// The next `times` calls of op after `skip` successful ones answer result
// without doing anything. A later call for the same op replaces it.
void InjectFailure(Operation op, HRESULT result, int skip = 0, int times = 1);
// Removes every injected failure and zeroes the call counts.
void ResetFailureInjection();
// Calls of op since the last reset, failed ones included.
int CallCount(Operation op);

// Used by the software objects: counts the call and answers the injected
// result, or DD_OK to go on.
HRESULT EnterOperation(Operation op);

} // namespace ddraw
