#pragma once
// Lets tests of the display component make chosen Direct3D operations fail
// and count how often each was called, as the DirectDraw stand-in's
// failure_injection.h does for DirectDraw.

#include "platform/d3d/d3d_types.h"

namespace d3d {

enum class Operation {
    Direct3DRMCreate,
    RetainedModeQueryInterface,
    // QueryInterface for IID_IDirect3D2 on a DirectDraw object.
    Direct3DFromDirectDraw,
    CreateDevice,
    CreateDeviceFromD3D,
    CreateFrame,
    CreateViewport,
    SetBufferCount,
    SetBack,
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
// result, or D3D_OK to go on.
HRESULT EnterOperation(Operation op);

} // namespace d3d
