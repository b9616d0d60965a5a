#pragma once
// The DirectDraw stand-in: entry points, and everything a caller needs in
// one include (types, result codes, flags, records, interfaces, the
// platform hooks).

#include "platform/ddraw/ddraw_constants.h"
#include "platform/ddraw/ddraw_errors.h"
#include "platform/ddraw/ddraw_interfaces.h"
#include "platform/ddraw/ddraw_records.h"
#include "platform/ddraw/ddraw_types.h"
#include "platform/ddraw/device_context.h"
#include "platform/ddraw/failure_injection.h"
#include "platform/ddraw/forwarding.h"
#include "platform/ddraw/interface_extension.h"
#include "platform/ddraw/presenter.h"
#include "platform/ddraw/software_settings.h"
#include "platform/ddraw/window_system.h"

#include <functional>

namespace ddraw {

// One callback per screen: the primary first with a null identifier, then
// each other screen with its own. Stops when the callback answers 0.
HRESULT DirectDrawEnumerate(LPDDENUMCALLBACKA callback, void* context);

// A DirectDraw object for the screen with that identifier, or for the
// primary screen when guid is null. outer must be null.
HRESULT DirectDrawCreate(const GUID* guid, IDirectDraw** object, IUnknown* outer);

// Tests may route DirectDrawCreate through their own function (to wrap the
// software object in a double); an empty function puts back the default.
using DirectDrawCreateFunction = std::function<HRESULT(const GUID* guid, IDirectDraw** object)>;
void SetDirectDrawCreateOverride(DirectDrawCreateFunction create);
// The software object itself, whatever override is installed.
HRESULT CreateSoftwareDirectDraw(const GUID* guid, IDirectDraw** object);

} // namespace ddraw
