#include "platform/ddraw/software_palette.h"

#include "platform/ddraw/ddraw_errors.h"
#include "platform/ddraw/failure_injection.h"
#include "platform/ddraw/software_object.h"

#include <algorithm>

namespace ddraw {

SoftwarePalette::SoftwarePalette(DWORD caps, const PALETTEENTRY* entries) : caps_(caps) {
    std::copy_n(entries, entries_.size(), entries_.begin());
}

HRESULT SoftwarePalette::QueryInterface(const GUID& iid, void** object) {
    if (!object) {
        return DDERR_INVALIDPARAMS;
    }
    if (iid == IID_IDirectDrawPalette || iid == IID_SoftwarePalette) {
        AddRef();
        *object = static_cast<IDirectDrawPalette*>(this);
        return DD_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG SoftwarePalette::AddRef() {
    return ++refs_;
}

ULONG SoftwarePalette::Release() {
    const ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT SoftwarePalette::GetCaps(DWORD* caps) {
    if (!caps) {
        return DDERR_INVALIDPARAMS;
    }
    *caps = caps_;
    return DD_OK;
}

HRESULT SoftwarePalette::GetEntries(DWORD, DWORD base, DWORD count, PALETTEENTRY* entries) {
    if (!entries || base > entries_.size() || count > entries_.size() - base) {
        return DDERR_INVALIDPARAMS;
    }
    std::copy_n(entries_.begin() + base, count, entries);
    return DD_OK;
}

HRESULT SoftwarePalette::SetEntries(DWORD, DWORD start, DWORD count, const PALETTEENTRY* entries) {
    if (const HRESULT injected = EnterOperation(Operation::PaletteSetEntries); injected != DD_OK) {
        return injected;
    }
    if (!entries || start > entries_.size() || count > entries_.size() - start) {
        return DDERR_INVALIDPARAMS;
    }
    std::copy_n(entries, count, entries_.begin() + start);
    return DD_OK;
}

} // namespace ddraw
