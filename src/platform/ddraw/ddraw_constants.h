#pragma once
// Flags of the DirectDraw stand-in with the values the Windows headers give
// them, so that numbers written down elsewhere (0x218, 0x1000400, ...) keep
// their meaning.

#include "platform/ddraw/ddraw_types.h"

namespace ddraw {

// Surface description fields (DDSURFACEDESC::dwFlags).
inline constexpr DWORD DDSD_CAPS = 0x00000001;
inline constexpr DWORD DDSD_HEIGHT = 0x00000002;
inline constexpr DWORD DDSD_WIDTH = 0x00000004;
inline constexpr DWORD DDSD_PITCH = 0x00000008;
inline constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
inline constexpr DWORD DDSD_ZBUFFERBITDEPTH = 0x00000040;
inline constexpr DWORD DDSD_ALPHABITDEPTH = 0x00000080;
inline constexpr DWORD DDSD_LPSURFACE = 0x00000800;
inline constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
inline constexpr DWORD DDSD_CKDESTOVERLAY = 0x00002000;
inline constexpr DWORD DDSD_CKDESTBLT = 0x00004000;
inline constexpr DWORD DDSD_CKSRCOVERLAY = 0x00008000;
inline constexpr DWORD DDSD_CKSRCBLT = 0x00010000;
inline constexpr DWORD DDSD_MIPMAPCOUNT = 0x00020000;
inline constexpr DWORD DDSD_REFRESHRATE = 0x00040000;
inline constexpr DWORD DDSD_LINEARSIZE = 0x00080000;
inline constexpr DWORD DDSD_ALL = 0x000FF9EE;

// Surface capabilities (DDSCAPS::dwCaps).
inline constexpr DWORD DDSCAPS_RESERVED1 = 0x00000001;
inline constexpr DWORD DDSCAPS_ALPHA = 0x00000002;
inline constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
inline constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
inline constexpr DWORD DDSCAPS_FLIP = 0x00000010;
inline constexpr DWORD DDSCAPS_FRONTBUFFER = 0x00000020;
inline constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
inline constexpr DWORD DDSCAPS_OVERLAY = 0x00000080;
inline constexpr DWORD DDSCAPS_PALETTE = 0x00000100;
inline constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
inline constexpr DWORD DDSCAPS_PRIMARYSURFACELEFT = 0x00000400;
inline constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
inline constexpr DWORD DDSCAPS_TEXTURE = 0x00001000;
inline constexpr DWORD DDSCAPS_3DDEVICE = 0x00002000;
inline constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;
inline constexpr DWORD DDSCAPS_VISIBLE = 0x00008000;
inline constexpr DWORD DDSCAPS_WRITEONLY = 0x00010000;
inline constexpr DWORD DDSCAPS_ZBUFFER = 0x00020000;
inline constexpr DWORD DDSCAPS_OWNDC = 0x00040000;
inline constexpr DWORD DDSCAPS_LIVEVIDEO = 0x00080000;
inline constexpr DWORD DDSCAPS_HWCODEC = 0x00100000;
inline constexpr DWORD DDSCAPS_MODEX = 0x00200000;
inline constexpr DWORD DDSCAPS_MIPMAP = 0x00400000;
inline constexpr DWORD DDSCAPS_ALLOCONLOAD = 0x04000000;
inline constexpr DWORD DDSCAPS_VIDEOPORT = 0x08000000;
inline constexpr DWORD DDSCAPS_LOCALVIDMEM = 0x10000000;
inline constexpr DWORD DDSCAPS_NONLOCALVIDMEM = 0x20000000;
inline constexpr DWORD DDSCAPS_STANDARDVGAMODE = 0x40000000;
inline constexpr DWORD DDSCAPS_OPTIMIZED = 0x80000000;

// Pixel format flags (DDPIXELFORMAT::dwFlags).
inline constexpr DWORD DDPF_ALPHAPIXELS = 0x00000001;
inline constexpr DWORD DDPF_ALPHA = 0x00000002;
inline constexpr DWORD DDPF_FOURCC = 0x00000004;
inline constexpr DWORD DDPF_PALETTEINDEXED4 = 0x00000008;
inline constexpr DWORD DDPF_PALETTEINDEXEDTO8 = 0x00000010;
inline constexpr DWORD DDPF_PALETTEINDEXED8 = 0x00000020;
inline constexpr DWORD DDPF_RGB = 0x00000040;
inline constexpr DWORD DDPF_COMPRESSED = 0x00000080;
inline constexpr DWORD DDPF_RGBTOYUV = 0x00000100;
inline constexpr DWORD DDPF_YUV = 0x00000200;
inline constexpr DWORD DDPF_ZBUFFER = 0x00000400;
inline constexpr DWORD DDPF_PALETTEINDEXED1 = 0x00000800;
inline constexpr DWORD DDPF_PALETTEINDEXED2 = 0x00001000;
inline constexpr DWORD DDPF_ZPIXELS = 0x00002000;

// Bit depths as a set (DDCAPS::dwZBufferBitDepths and friends).
inline constexpr DWORD DDBD_1 = 0x00004000;
inline constexpr DWORD DDBD_2 = 0x00002000;
inline constexpr DWORD DDBD_4 = 0x00001000;
inline constexpr DWORD DDBD_8 = 0x00000800;
inline constexpr DWORD DDBD_16 = 0x00000400;
inline constexpr DWORD DDBD_24 = 0x00000200;
inline constexpr DWORD DDBD_32 = 0x00000100;

// Blt flags.
inline constexpr DWORD DDBLT_ALPHADEST = 0x00000001;
inline constexpr DWORD DDBLT_ALPHADESTCONSTOVERRIDE = 0x00000002;
inline constexpr DWORD DDBLT_ALPHADESTNEG = 0x00000004;
inline constexpr DWORD DDBLT_ALPHADESTSURFACEOVERRIDE = 0x00000008;
inline constexpr DWORD DDBLT_ALPHAEDGEBLEND = 0x00000010;
inline constexpr DWORD DDBLT_ALPHASRC = 0x00000020;
inline constexpr DWORD DDBLT_ALPHASRCCONSTOVERRIDE = 0x00000040;
inline constexpr DWORD DDBLT_ALPHASRCNEG = 0x00000080;
inline constexpr DWORD DDBLT_ALPHASRCSURFACEOVERRIDE = 0x00000100;
inline constexpr DWORD DDBLT_ASYNC = 0x00000200;
inline constexpr DWORD DDBLT_COLORFILL = 0x00000400;
inline constexpr DWORD DDBLT_DDFX = 0x00000800;
inline constexpr DWORD DDBLT_DDROPS = 0x00001000;
inline constexpr DWORD DDBLT_KEYDEST = 0x00002000;
inline constexpr DWORD DDBLT_KEYDESTOVERRIDE = 0x00004000;
inline constexpr DWORD DDBLT_KEYSRC = 0x00008000;
inline constexpr DWORD DDBLT_KEYSRCOVERRIDE = 0x00010000;
inline constexpr DWORD DDBLT_ROP = 0x00020000;
inline constexpr DWORD DDBLT_ROTATIONANGLE = 0x00040000;
inline constexpr DWORD DDBLT_ZBUFFER = 0x00080000;
inline constexpr DWORD DDBLT_ZBUFFERDESTCONSTOVERRIDE = 0x00100000;
inline constexpr DWORD DDBLT_ZBUFFERDESTOVERRIDE = 0x00200000;
inline constexpr DWORD DDBLT_ZBUFFERSRCCONSTOVERRIDE = 0x00400000;
inline constexpr DWORD DDBLT_ZBUFFERSRCOVERRIDE = 0x00800000;
inline constexpr DWORD DDBLT_WAIT = 0x01000000;
inline constexpr DWORD DDBLT_DEPTHFILL = 0x02000000;

// BltFast flags.
inline constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x00000000;
inline constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x00000001;
inline constexpr DWORD DDBLTFAST_DESTCOLORKEY = 0x00000002;
inline constexpr DWORD DDBLTFAST_WAIT = 0x00000010;

// Effects (DDBLTFX::dwDDFX).
inline constexpr DWORD DDBLTFX_ARITHSTRETCHY = 0x00000001;
inline constexpr DWORD DDBLTFX_MIRRORLEFTRIGHT = 0x00000002;
inline constexpr DWORD DDBLTFX_MIRRORUPDOWN = 0x00000004;
inline constexpr DWORD DDBLTFX_NOTEARING = 0x00000008;
inline constexpr DWORD DDBLTFX_ROTATE180 = 0x00000010;
inline constexpr DWORD DDBLTFX_ROTATE270 = 0x00000020;
inline constexpr DWORD DDBLTFX_ROTATE90 = 0x00000040;
inline constexpr DWORD DDBLTFX_ZBUFFERRANGE = 0x00000080;
inline constexpr DWORD DDBLTFX_ZBUFFERBASEDEST = 0x00000100;

// The raster operation of a plain copy (DDBLTFX::dwROP with DDBLT_ROP).
inline constexpr DWORD SRCCOPY = 0x00CC0020;

// Flip flags.
inline constexpr DWORD DDFLIP_WAIT = 0x00000001;

// Cooperative levels.
inline constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
inline constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
inline constexpr DWORD DDSCL_NOWINDOWCHANGES = 0x00000004;
inline constexpr DWORD DDSCL_NORMAL = 0x00000008;
inline constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
inline constexpr DWORD DDSCL_ALLOWMODEX = 0x00000040;

// Colour key kinds (SetColorKey / GetColorKey).
inline constexpr DWORD DDCKEY_COLORSPACE = 0x00000001;
inline constexpr DWORD DDCKEY_DESTBLT = 0x00000002;
inline constexpr DWORD DDCKEY_DESTOVERLAY = 0x00000004;
inline constexpr DWORD DDCKEY_SRCBLT = 0x00000008;
inline constexpr DWORD DDCKEY_SRCOVERLAY = 0x00000010;

// Lock flags.
inline constexpr DWORD DDLOCK_SURFACEMEMORYPTR = 0x00000000;
inline constexpr DWORD DDLOCK_WAIT = 0x00000001;
inline constexpr DWORD DDLOCK_EVENT = 0x00000002;
inline constexpr DWORD DDLOCK_READONLY = 0x00000010;
inline constexpr DWORD DDLOCK_WRITEONLY = 0x00000020;
inline constexpr DWORD DDLOCK_NOSYSLOCK = 0x00000800;

// WaitForVerticalBlank flags.
inline constexpr DWORD DDWAITVB_BLOCKBEGIN = 0x00000001;
inline constexpr DWORD DDWAITVB_BLOCKBEGINEVENT = 0x00000002;
inline constexpr DWORD DDWAITVB_BLOCKEND = 0x00000004;

// Answers of enumeration callbacks.
inline constexpr HRESULT DDENUMRET_CANCEL = 0;
inline constexpr HRESULT DDENUMRET_OK = 1;

// EnumDisplayModes flags.
inline constexpr DWORD DDEDM_REFRESHRATES = 0x00000001;

// Palette capabilities.
inline constexpr DWORD DDPCAPS_4BIT = 0x00000001;
inline constexpr DWORD DDPCAPS_8BITENTRIES = 0x00000002;
inline constexpr DWORD DDPCAPS_8BIT = 0x00000004;
inline constexpr DWORD DDPCAPS_INITIALIZE = 0x00000008;
inline constexpr DWORD DDPCAPS_PRIMARYSURFACE = 0x00000010;
inline constexpr DWORD DDPCAPS_PRIMARYSURFACELEFT = 0x00000020;
inline constexpr DWORD DDPCAPS_ALLOW256 = 0x00000040;
inline constexpr DWORD DDPCAPS_VSYNC = 0x00000080;
inline constexpr DWORD DDPCAPS_1BIT = 0x00000100;
inline constexpr DWORD DDPCAPS_2BIT = 0x00000200;

// Palette entry flags (PALETTEENTRY::peFlags).
inline constexpr BYTE PC_RESERVED = 0x01;
inline constexpr BYTE PC_EXPLICIT = 0x02;
inline constexpr BYTE PC_NOCOLLAPSE = 0x04;

// Driver capabilities (DDCAPS::dwCaps, dwCKeyCaps, dwFXCaps).
inline constexpr DWORD DDCAPS_3D = 0x00000001;
inline constexpr DWORD DDCAPS_BLT = 0x00000040;
inline constexpr DWORD DDCAPS_BLTQUEUE = 0x00000080;
inline constexpr DWORD DDCAPS_BLTFOURCC = 0x00000100;
inline constexpr DWORD DDCAPS_BLTSTRETCH = 0x00000200;
inline constexpr DWORD DDCAPS_GDI = 0x00000400;
inline constexpr DWORD DDCAPS_OVERLAY = 0x00000800;
inline constexpr DWORD DDCAPS_PALETTE = 0x00008000;
inline constexpr DWORD DDCAPS_COLORKEY = 0x00400000;
inline constexpr DWORD DDCAPS_NOHARDWARE = 0x02000000;
inline constexpr DWORD DDCAPS_BLTCOLORFILL = 0x04000000;
inline constexpr DWORD DDCAPS_BLTDEPTHFILL = 0x10000000;
inline constexpr DWORD DDCAPS_CANBLTSYSMEM = 0x80000000;
inline constexpr DWORD DDCKEYCAPS_SRCBLT = 0x00000200;
inline constexpr DWORD DDFXCAPS_BLTMIRRORLEFTRIGHT = 0x00010000;
inline constexpr DWORD DDFXCAPS_BLTMIRRORUPDOWN = 0x00020000;

} // namespace ddraw
