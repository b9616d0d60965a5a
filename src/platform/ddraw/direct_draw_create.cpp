// The entry points: the driver list (one driver per screen) and the
// creation of DirectDraw objects, which a test may route through a double.

#include "platform/ddraw/ddraw.h"
#include "platform/ddraw/software_direct_draw.h"

#include <utility>

namespace ddraw {

namespace {

DirectDrawCreateFunction& CreateOverride() {
    static DirectDrawCreateFunction create;
    return create;
}

// Screens after the primary are named by an identifier made from their
// place in the list.
GUID ScreenGuid(int index) {
    GUID guid{0x70696D75, 0x6464, 0x7277, {0x73, 0x63, 0x72, 0x65, 0x65, 0x6E, 0x00, 0x00}};
    guid.Data4[6] = static_cast<std::uint8_t>(index >> 8);
    guid.Data4[7] = static_cast<std::uint8_t>(index);
    return guid;
}

} // namespace

HRESULT DirectDrawEnumerate(LPDDENUMCALLBACKA callback, void* context) {
    if (const HRESULT injected = EnterOperation(Operation::DirectDrawEnumerate);
        injected != DD_OK) {
        return injected;
    }
    if (!callback) {
        return DDERR_INVALIDPARAMS;
    }
    const std::vector<ScreenInfo> screens = CurrentWindowSystem().Screens();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        GUID guid = ScreenGuid(static_cast<int>(i));
        GUID* identifier = i == 0 ? nullptr : &guid;
        if (!callback(identifier, screens[i].Description.c_str(), screens[i].Name.c_str(),
                      context)) {
            break;
        }
    }
    return DD_OK;
}

HRESULT CreateSoftwareDirectDraw(const GUID* guid, IDirectDraw** object) {
    if (!object) {
        return DDERR_INVALIDPARAMS;
    }
    *object = nullptr;
    const std::vector<ScreenInfo> screens = CurrentWindowSystem().Screens();
    if (screens.empty()) {
        return DDERR_NODIRECTDRAWHW;
    }
    int index = 0;
    if (guid) {
        index = -1;
        for (std::size_t i = 1; i < screens.size(); ++i) {
            if (*guid == ScreenGuid(static_cast<int>(i))) {
                index = static_cast<int>(i);
            }
        }
        if (index < 0) {
            return DDERR_INVALIDDIRECTDRAWGUID;
        }
    }
    *object = SoftwareDirectDraw::Create(index, screens[static_cast<std::size_t>(index)]);
    return DD_OK;
}

HRESULT DirectDrawCreate(const GUID* guid, IDirectDraw** object, IUnknown* outer) {
    if (const HRESULT injected = EnterOperation(Operation::DirectDrawCreate); injected != DD_OK) {
        if (object) {
            *object = nullptr;
        }
        return injected;
    }
    if (outer) {
        return CLASS_E_NOAGGREGATION;
    }
    if (const DirectDrawCreateFunction& create = CreateOverride()) {
        return create(guid, object);
    }
    return CreateSoftwareDirectDraw(guid, object);
}

void SetDirectDrawCreateOverride(DirectDrawCreateFunction create) {
    CreateOverride() = std::move(create);
}

} // namespace ddraw
