#pragma once
// The Direct3D and retained-mode stand-in over the software DirectDraw:
// entry points, and everything a caller needs in one include.
//
// What a program can do with it: obtain Direct3D from a DirectDraw object,
// create MMX, RGB and Ramp devices on a 3D-capable surface (a HAL device
// always fails: the software DirectDraw has no 3D hardware), create the
// retained-mode object, frames (a scene tree), a retained-mode device with
// its buffer count, and viewports on a camera frame with a back clipping
// plane; Release counts and failure codes behave as on the other stand-ins.
// What it cannot do: draw. There are no meshes, lights, materials,
// textures, transforms, execute buffers, Render or Update; the surfaces
// keep whatever 2D drawing puts into them.

#include "platform/d3d/d3d_interfaces.h"
#include "platform/d3d/d3d_types.h"
#include "platform/d3d/failure_injection.h"

namespace d3d {

// A new retained-mode object, answered on its IID_IDirect3DRM interface.
HRESULT Direct3DRMCreate(IDirect3DRM** object);

// Makes the software DirectDraw objects answer QueryInterface for
// IID_IDirect3D2. Safe to call more than once.
void InstallSoftwareDirect3D();

} // namespace d3d
