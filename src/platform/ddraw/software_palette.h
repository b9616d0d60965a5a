#pragma once
// A 256-entry palette. Surfaces that use it hold a reference.

#include "platform/ddraw/ddraw_interfaces.h"

#include <array>

namespace ddraw {

class SoftwarePalette final : public IDirectDrawPalette {
public:
    SoftwarePalette(DWORD caps, const PALETTEENTRY* entries);

    HRESULT QueryInterface(const GUID& iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetCaps(DWORD* caps) override;
    HRESULT GetEntries(DWORD flags, DWORD base, DWORD count, PALETTEENTRY* entries) override;
    HRESULT SetEntries(DWORD flags, DWORD start, DWORD count, const PALETTEENTRY* entries) override;

    const PALETTEENTRY* Entries() const { return entries_.data(); }

private:
    ~SoftwarePalette() override = default;

    ULONG refs_ = 1;
    DWORD caps_;
    std::array<PALETTEENTRY, 256> entries_{};
};

} // namespace ddraw
