#pragma once
// Lets a library built on the software DirectDraw hand out an interface of
// its own from the DirectDraw objects' QueryInterface, as the Windows
// object hands out Direct3D: the Direct3D stand-in registers itself here.

#include "platform/ddraw/ddraw_interfaces.h"

namespace ddraw {

// Makes the interface for one DirectDraw object and answers as
// QueryInterface does. object is that object's IDirectDraw2 interface; the
// maker adds a reference of its own if what it makes keeps the object.
using InterfaceMaker = HRESULT (*)(IDirectDraw2* object, void** result);

// A null maker removes the one registered for iid.
void SetInterfaceMaker(const GUID& iid, InterfaceMaker make);
// The maker registered for iid, or null.
InterfaceMaker FindInterfaceMaker(const GUID& iid);

} // namespace ddraw
