#pragma once
// The DirectDraw objects as the display and surface layers see them:
// abstract, reference counted (Release returns the references left), every
// operation answering DD_OK or a DDERR_ value. A test double can implement
// them to wrap the software objects or to stand in for them.

#include "platform/ddraw/ddraw_records.h"

namespace ddraw {

class DeviceContext;
using HDC = DeviceContext*;

class IDirectDrawSurface;
class IDirectDrawPalette;
class IDirectDrawClipper;

// Interface identifiers for QueryInterface, with their published values.
inline constexpr GUID IID_IDirectDraw = {
    0x6C14DB80, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
inline constexpr GUID IID_IDirectDraw2 = {
    0xB3A6F3E0, 0x2B43, 0x11CF, {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};
inline constexpr GUID IID_IDirectDrawSurface = {
    0x6C14DB81, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
inline constexpr GUID IID_IDirectDrawPalette = {
    0x6C14DB84, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
inline constexpr GUID IID_IDirectDrawClipper = {
    0x6C14DB85, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};

class IUnknown {
public:
    // DD_OK and a counted reference in *object, or E_NOINTERFACE and null.
    virtual HRESULT QueryInterface(const GUID& iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    // The references left; the object is gone when it answers 0.
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// Answers DDENUMRET_OK to go on, DDENUMRET_CANCEL to stop.
using LPDDENUMMODESCALLBACK = HRESULT (*)(DDSURFACEDESC* mode, void* context);
// guid is null for the primary display. Answers nonzero to go on, 0 to stop.
using LPDDENUMCALLBACKA = BOOL (*)(GUID* guid, const char* description, const char* name,
                                   void* context);

class IDirectDraw : public IUnknown {
public:
    virtual HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) = 0;
    // entries: 256 entries for DDPCAPS_8BIT.
    virtual HRESULT CreatePalette(DWORD flags, const PALETTEENTRY* entries,
                                  IDirectDrawPalette** palette, IUnknown* outer) = 0;
    virtual HRESULT CreateSurface(const DDSURFACEDESC* desc, IDirectDrawSurface** surface,
                                  IUnknown* outer) = 0;
    virtual HRESULT EnumDisplayModes(DWORD flags, const DDSURFACEDESC* match, void* context,
                                     LPDDENUMMODESCALLBACK callback) = 0;
    // Either record may be null, not both.
    virtual HRESULT GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) = 0;
    virtual HRESULT GetDisplayMode(DDSURFACEDESC* desc) = 0;
    virtual HRESULT RestoreDisplayMode() = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                   DWORD flags) = 0;
    virtual HRESULT WaitForVerticalBlank(DWORD flags, void* event) = 0;
};

// The second interface of the same object (QueryInterface with
// IID_IDirectDraw2). Each interface keeps its own reference count; the
// object lives while either has references.
class IDirectDraw2 : public IDirectDraw {
public:
    virtual HRESULT GetAvailableVidMem(const DDSCAPS* caps, DWORD* total, DWORD* free) = 0;
};

class IDirectDrawSurface : public IUnknown {
public:
    // Attaches a Z buffer to this surface; the surface holds a reference.
    virtual HRESULT AddAttachedSurface(IDirectDrawSurface* attached) = 0;
    virtual HRESULT DeleteAttachedSurface(DWORD flags, IDirectDrawSurface* attached) = 0;
    // dstRect/srcRect null mean the whole surface; fx needed with
    // DDBLT_COLORFILL, DDBLT_DEPTHFILL, DDBLT_DDFX, DDBLT_KEYSRCOVERRIDE, DDBLT_ROP.
    virtual HRESULT Blt(const RECT* dstRect, IDirectDrawSurface* source, const RECT* srcRect,
                        DWORD flags, const DDBLTFX* fx) = 0;
    virtual HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, const RECT* srcRect,
                            DWORD flags) = 0;
    // On the front buffer of a flip chain: the back buffer is shown.
    virtual HRESULT Flip(IDirectDrawSurface* target, DWORD flags) = 0;
    // A counted reference to the attached surface whose caps include caps.
    virtual HRESULT GetAttachedSurface(const DDSCAPS* caps, IDirectDrawSurface** attached) = 0;
    virtual HRESULT GetCaps(DDSCAPS* caps) = 0;
    virtual HRESULT GetClipper(IDirectDrawClipper** clipper) = 0;
    virtual HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) = 0;
    virtual HRESULT GetDC(HDC* dc) = 0;
    virtual HRESULT GetPalette(IDirectDrawPalette** palette) = 0;
    virtual HRESULT GetPixelFormat(DDPIXELFORMAT* format) = 0;
    virtual HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) = 0;
    // DD_OK, or DDERR_SURFACELOST when the pixel memory is gone.
    virtual HRESULT IsLost() = 0;
    // rect null locks the whole surface; desc->lpSurface then points at the
    // rectangle's first pixel and desc->lPitch gives the row distance.
    virtual HRESULT Lock(const RECT* rect, DDSURFACEDESC* desc, DWORD flags, void* event) = 0;
    virtual HRESULT ReleaseDC(HDC dc) = 0;
    virtual HRESULT Restore() = 0;
    virtual HRESULT SetClipper(IDirectDrawClipper* clipper) = 0;
    // key null removes the key of that kind.
    virtual HRESULT SetColorKey(DWORD flags, const DDCOLORKEY* key) = 0;
    virtual HRESULT SetPalette(IDirectDrawPalette* palette) = 0;
    virtual HRESULT Unlock(void* pixels) = 0;
};

class IDirectDrawPalette : public IUnknown {
public:
    virtual HRESULT GetCaps(DWORD* caps) = 0;
    virtual HRESULT GetEntries(DWORD flags, DWORD base, DWORD count, PALETTEENTRY* entries) = 0;
    virtual HRESULT SetEntries(DWORD flags, DWORD start, DWORD count,
                               const PALETTEENTRY* entries) = 0;
};

class IDirectDrawClipper : public IUnknown {
public:
    virtual HRESULT GetHWnd(HWND* window) = 0;
    // Blits onto the primary are limited to the window's visible client
    // area, in screen coordinates.
    virtual HRESULT SetHWnd(DWORD flags, HWND window) = 0;
    // A clip list of rectangles instead of a window (null/0 removes it).
    virtual HRESULT SetClipList(const RECT* rects, DWORD count, DWORD flags) = 0;
    // The rectangles blits are limited to right now, in the coordinates of
    // the surface's pixels; up to *count are written, *count is set to the
    // number there are. With a window that has no visible area: 0.
    virtual HRESULT GetClipList(const RECT* within, RECT* rects, DWORD* count) = 0;
};

using LPDIRECTDRAW = IDirectDraw*;
using LPDIRECTDRAW2 = IDirectDraw2*;
using LPDIRECTDRAWSURFACE = IDirectDrawSurface*;
using LPDIRECTDRAWPALETTE = IDirectDrawPalette*;
using LPDIRECTDRAWCLIPPER = IDirectDrawClipper*;

} // namespace ddraw
