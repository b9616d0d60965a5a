#pragma once
// Bases for test doubles that wrap a DirectDraw object or surface: every
// call goes to the wrapped one unless the double overrides it (to record
// calls or answer with a failure). The wrapper shares the wrapped object's
// reference count and deletes itself when that count reaches 0. Software
// objects accept a wrapped surface wherever the surface itself would do.

#include "platform/ddraw/ddraw_interfaces.h"

namespace ddraw {

// The reference counting every wrapper shares: counts are the wrapped
// object's, and the wrapper goes when they reach 0.
template <typename Interface> class Forwarding : public Interface {
public:
    // Takes over the caller's reference to inner.
    explicit Forwarding(Interface* inner) : inner_(inner) {}

    Interface* Inner() const { return inner_; }

    HRESULT QueryInterface(const GUID& iid, void** object) override {
        return inner_->QueryInterface(iid, object);
    }
    ULONG AddRef() override { return inner_->AddRef(); }
    ULONG Release() override {
        const ULONG left = inner_->Release();
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    ~Forwarding() override = default;

    Interface* inner_;
};

class ForwardingSurface : public Forwarding<IDirectDrawSurface> {
public:
    using Forwarding::Forwarding;

    HRESULT AddAttachedSurface(IDirectDrawSurface* attached) override {
        return inner_->AddAttachedSurface(attached);
    }
    HRESULT DeleteAttachedSurface(DWORD flags, IDirectDrawSurface* attached) override {
        return inner_->DeleteAttachedSurface(flags, attached);
    }
    HRESULT Blt(const RECT* dstRect, IDirectDrawSurface* source, const RECT* srcRect, DWORD flags,
                const DDBLTFX* fx) override {
        return inner_->Blt(dstRect, source, srcRect, flags, fx);
    }
    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, const RECT* srcRect,
                    DWORD flags) override {
        return inner_->BltFast(x, y, source, srcRect, flags);
    }
    HRESULT Flip(IDirectDrawSurface* target, DWORD flags) override {
        return inner_->Flip(target, flags);
    }
    HRESULT GetAttachedSurface(const DDSCAPS* caps, IDirectDrawSurface** attached) override {
        return inner_->GetAttachedSurface(caps, attached);
    }
    HRESULT GetCaps(DDSCAPS* caps) override { return inner_->GetCaps(caps); }
    HRESULT GetClipper(IDirectDrawClipper** clipper) override {
        return inner_->GetClipper(clipper);
    }
    HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) override {
        return inner_->GetColorKey(flags, key);
    }
    HRESULT GetDC(HDC* dc) override { return inner_->GetDC(dc); }
    HRESULT GetPalette(IDirectDrawPalette** palette) override {
        return inner_->GetPalette(palette);
    }
    HRESULT GetPixelFormat(DDPIXELFORMAT* format) override {
        return inner_->GetPixelFormat(format);
    }
    HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) override { return inner_->GetSurfaceDesc(desc); }
    HRESULT IsLost() override { return inner_->IsLost(); }
    HRESULT Lock(const RECT* rect, DDSURFACEDESC* desc, DWORD flags, void* event) override {
        return inner_->Lock(rect, desc, flags, event);
    }
    HRESULT ReleaseDC(HDC dc) override { return inner_->ReleaseDC(dc); }
    HRESULT Restore() override { return inner_->Restore(); }
    HRESULT SetClipper(IDirectDrawClipper* clipper) override { return inner_->SetClipper(clipper); }
    HRESULT SetColorKey(DWORD flags, const DDCOLORKEY* key) override {
        return inner_->SetColorKey(flags, key);
    }
    HRESULT SetPalette(IDirectDrawPalette* palette) override { return inner_->SetPalette(palette); }
    HRESULT Unlock(void* pixels) override { return inner_->Unlock(pixels); }

protected:
    ~ForwardingSurface() override = default;
};

// Wraps one interface of a DirectDraw object (pass the IDirectDraw2 one;
// QueryInterface goes to the wrapped object and so hands out its own
// interfaces, not wrappers).
class ForwardingDirectDraw : public Forwarding<IDirectDraw2> {
public:
    using Forwarding::Forwarding;

    HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) override {
        return inner_->CreateClipper(flags, clipper, outer);
    }
    HRESULT CreatePalette(DWORD flags, const PALETTEENTRY* entries, IDirectDrawPalette** palette,
                          IUnknown* outer) override {
        return inner_->CreatePalette(flags, entries, palette, outer);
    }
    HRESULT CreateSurface(const DDSURFACEDESC* desc, IDirectDrawSurface** surface,
                          IUnknown* outer) override {
        return inner_->CreateSurface(desc, surface, outer);
    }
    HRESULT EnumDisplayModes(DWORD flags, const DDSURFACEDESC* match, void* context,
                             LPDDENUMMODESCALLBACK callback) override {
        return inner_->EnumDisplayModes(flags, match, context, callback);
    }
    HRESULT GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) override {
        return inner_->GetCaps(driverCaps, emulationCaps);
    }
    HRESULT GetDisplayMode(DDSURFACEDESC* desc) override { return inner_->GetDisplayMode(desc); }
    HRESULT RestoreDisplayMode() override { return inner_->RestoreDisplayMode(); }
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override {
        return inner_->SetCooperativeLevel(window, flags);
    }
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags) override {
        return inner_->SetDisplayMode(width, height, bitsPerPixel, refreshRate, flags);
    }
    HRESULT WaitForVerticalBlank(DWORD flags, void* event) override {
        return inner_->WaitForVerticalBlank(flags, event);
    }
    HRESULT GetAvailableVidMem(const DDSCAPS* caps, DWORD* total, DWORD* free) override {
        return inner_->GetAvailableVidMem(caps, total, free);
    }

protected:
    ~ForwardingDirectDraw() override = default;
};

} // namespace ddraw
