#pragma once
// The records the DirectDraw stand-in exchanges with its callers, with the
// published field order. Callers zero a record and set its size field
// before use; the size values to set are the kSize constants below.

#include "platform/ddraw/ddraw_types.h"

namespace ddraw {

struct DDSCAPS {
    DWORD dwCaps = 0;
};

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue = 0;
    DWORD dwColorSpaceHighValue = 0;
};

struct DDPIXELFORMAT {
    static constexpr DWORD kSize = 32;
    DWORD dwSize = 0;
    DWORD dwFlags = 0;
    DWORD dwFourCC = 0;
    union {
        DWORD dwRGBBitCount = 0;
        DWORD dwYUVBitCount;
        DWORD dwZBufferBitDepth;
        DWORD dwAlphaBitDepth;
    };
    union {
        DWORD dwRBitMask = 0;
        DWORD dwYBitMask;
    };
    union {
        DWORD dwGBitMask = 0;
        DWORD dwUBitMask;
    };
    union {
        DWORD dwBBitMask = 0;
        DWORD dwVBitMask;
    };
    union {
        DWORD dwRGBAlphaBitMask = 0;
        DWORD dwYUVAlphaBitMask;
        DWORD dwRGBZBitMask;
        DWORD dwYUVZBitMask;
    };
};
static_assert(sizeof(DDPIXELFORMAT) == DDPIXELFORMAT::kSize);

// The surface description. Its size field is 108, the record's size on the
// system it comes from; in this build the pixel pointer makes the record
// larger, and sizeof(DDSURFACEDESC) is accepted as the size as well.
struct DDSURFACEDESC {
    static constexpr DWORD kSize = 108;
    DWORD dwSize = 0;
    DWORD dwFlags = 0;
    DWORD dwHeight = 0;
    DWORD dwWidth = 0;
    union {
        LONG lPitch = 0;
        DWORD dwLinearSize;
    };
    DWORD dwBackBufferCount = 0;
    union {
        DWORD dwMipMapCount = 0;
        DWORD dwZBufferBitDepth;
        DWORD dwRefreshRate;
    };
    DWORD dwAlphaBitDepth = 0;
    DWORD dwReserved = 0;
    void* lpSurface = nullptr;
    DDCOLORKEY ddckCKDestOverlay;
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS ddsCaps;
};

// A surface description zeroed with its size field set.
inline DDSURFACEDESC MakeSurfaceDesc() {
    DDSURFACEDESC desc;
    desc.dwSize = DDSURFACEDESC::kSize;
    return desc;
}

inline bool IsValidSurfaceDescSize(DWORD size) {
    return size == DDSURFACEDESC::kSize || size == sizeof(DDSURFACEDESC);
}

// Blit effects; 100 bytes as published (the surface-pointer alternatives
// of its unions are not offered, so the record keeps its size here).
struct DDBLTFX {
    static constexpr DWORD kSize = 100;
    DWORD dwSize = 0;
    DWORD dwDDFX = 0;
    DWORD dwROP = 0;
    DWORD dwDDROP = 0;
    DWORD dwRotationAngle = 0;
    DWORD dwZBufferOpCode = 0;
    DWORD dwZBufferLow = 0;
    DWORD dwZBufferHigh = 0;
    DWORD dwZBufferBaseDest = 0;
    DWORD dwZDestConstBitDepth = 0;
    DWORD dwZDestConst = 0;
    DWORD dwZSrcConstBitDepth = 0;
    DWORD dwZSrcConst = 0;
    DWORD dwAlphaEdgeBlendBitDepth = 0;
    DWORD dwAlphaEdgeBlend = 0;
    DWORD dwReserved = 0;
    DWORD dwAlphaDestConstBitDepth = 0;
    DWORD dwAlphaDestConst = 0;
    DWORD dwAlphaSrcConstBitDepth = 0;
    DWORD dwAlphaSrcConst = 0;
    union {
        DWORD dwFillColor = 0;
        DWORD dwFillDepth;
        DWORD dwFillPixel;
    };
    DDCOLORKEY ddckDestColorkey;
    DDCOLORKEY ddckSrcColorkey;
};
static_assert(sizeof(DDBLTFX) == DDBLTFX::kSize);

inline DDBLTFX MakeBltFx() {
    DDBLTFX fx;
    fx.dwSize = DDBLTFX::kSize;
    return fx;
}

// Driver capabilities, 364 bytes as published.
struct DDCAPS {
    static constexpr DWORD kSize = 364;
    DWORD dwSize = 0;
    DWORD dwCaps = 0;
    DWORD dwCaps2 = 0;
    DWORD dwCKeyCaps = 0;
    DWORD dwFXCaps = 0;
    DWORD dwFXAlphaCaps = 0;
    DWORD dwPalCaps = 0;
    DWORD dwSVCaps = 0;
    DWORD dwAlphaBltConstBitDepths = 0;
    DWORD dwAlphaBltPixelBitDepths = 0;
    DWORD dwAlphaBltSurfaceBitDepths = 0;
    DWORD dwAlphaOverlayConstBitDepths = 0;
    DWORD dwAlphaOverlayPixelBitDepths = 0;
    DWORD dwAlphaOverlaySurfaceBitDepths = 0;
    DWORD dwZBufferBitDepths = 0;
    DWORD dwVidMemTotal = 0;
    DWORD dwVidMemFree = 0;
    DWORD dwMaxVisibleOverlays = 0;
    DWORD dwCurrVisibleOverlays = 0;
    DWORD dwNumFourCCCodes = 0;
    DWORD dwAlignBoundarySrc = 0;
    DWORD dwAlignSizeSrc = 0;
    DWORD dwAlignBoundaryDest = 0;
    DWORD dwAlignSizeDest = 0;
    DWORD dwAlignStrideAlign = 0;
    DWORD dwRops[8] = {};
    DDSCAPS ddsCaps;
    DWORD dwMinOverlayStretch = 0;
    DWORD dwMaxOverlayStretch = 0;
    DWORD dwMinLiveVideoStretch = 0;
    DWORD dwMaxLiveVideoStretch = 0;
    DWORD dwMinHwCodecStretch = 0;
    DWORD dwMaxHwCodecStretch = 0;
    DWORD dwReserved1 = 0;
    DWORD dwReserved2 = 0;
    DWORD dwReserved3 = 0;
    DWORD dwSVBCaps = 0;
    DWORD dwSVBCKeyCaps = 0;
    DWORD dwSVBFXCaps = 0;
    DWORD dwSVBRops[8] = {};
    DWORD dwVSBCaps = 0;
    DWORD dwVSBCKeyCaps = 0;
    DWORD dwVSBFXCaps = 0;
    DWORD dwVSBRops[8] = {};
    DWORD dwSSBCaps = 0;
    DWORD dwSSBCKeyCaps = 0;
    DWORD dwSSBFXCaps = 0;
    DWORD dwSSBRops[8] = {};
    DWORD dwMaxVideoPorts = 0;
    DWORD dwCurrVideoPorts = 0;
    DWORD dwSVBCaps2 = 0;
    DWORD dwNLVBCaps = 0;
    DWORD dwNLVBCaps2 = 0;
    DWORD dwNLVBCKeyCaps = 0;
    DWORD dwNLVBFXCaps = 0;
    DWORD dwNLVBRops[8] = {};
};
static_assert(sizeof(DDCAPS) == DDCAPS::kSize);

struct PALETTEENTRY {
    BYTE peRed = 0;
    BYTE peGreen = 0;
    BYTE peBlue = 0;
    BYTE peFlags = 0;
    friend bool operator==(const PALETTEENTRY&, const PALETTEENTRY&) = default;
};
static_assert(sizeof(PALETTEENTRY) == 4);

} // namespace ddraw
