#pragma once
// Result codes of the DirectDraw stand-in, with the values the Windows
// headers give them: 0 is success, failures are negative 32-bit numbers.

#include "platform/ddraw/ddraw_types.h"

namespace ddraw {

// Facility 0x876 failure codes.
inline constexpr HRESULT MakeDDHResult(std::uint32_t code) {
    return static_cast<HRESULT>(0x88760000u | code);
}
inline constexpr HRESULT MakeHResult(std::uint32_t value) {
    return static_cast<HRESULT>(value);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT DD_OK = 0;
inline constexpr HRESULT DD_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeHResult(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = MakeHResult(0x80004002u);
inline constexpr HRESULT E_POINTER = MakeHResult(0x80004003u);
inline constexpr HRESULT E_FAIL = MakeHResult(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHResult(0x80040110u);

inline constexpr HRESULT DDERR_GENERIC = E_FAIL;
inline constexpr HRESULT DDERR_UNSUPPORTED = E_NOTIMPL;
inline constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
inline constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
inline constexpr HRESULT DDERR_NOTINITIALIZED = MakeHResult(0x800401F0u);

inline constexpr HRESULT DDERR_ALREADYINITIALIZED = MakeDDHResult(5);
inline constexpr HRESULT DDERR_CANNOTATTACHSURFACE = MakeDDHResult(10);
inline constexpr HRESULT DDERR_CANNOTDETACHSURFACE = MakeDDHResult(20);
inline constexpr HRESULT DDERR_CURRENTLYNOTAVAIL = MakeDDHResult(40);
inline constexpr HRESULT DDERR_EXCEPTION = MakeDDHResult(55);
inline constexpr HRESULT DDERR_HEIGHTALIGN = MakeDDHResult(90);
inline constexpr HRESULT DDERR_INCOMPATIBLEPRIMARY = MakeDDHResult(95);
inline constexpr HRESULT DDERR_INVALIDCAPS = MakeDDHResult(100);
inline constexpr HRESULT DDERR_INVALIDCLIPLIST = MakeDDHResult(110);
inline constexpr HRESULT DDERR_INVALIDMODE = MakeDDHResult(120);
inline constexpr HRESULT DDERR_INVALIDOBJECT = MakeDDHResult(130);
inline constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MakeDDHResult(145);
inline constexpr HRESULT DDERR_INVALIDRECT = MakeDDHResult(150);
inline constexpr HRESULT DDERR_LOCKEDSURFACES = MakeDDHResult(160);
inline constexpr HRESULT DDERR_NO3D = MakeDDHResult(170);
inline constexpr HRESULT DDERR_NOCLIPLIST = MakeDDHResult(205);
inline constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = MakeDDHResult(212);
inline constexpr HRESULT DDERR_NOCOLORKEY = MakeDDHResult(215);
inline constexpr HRESULT DDERR_NOCOLORKEYHW = MakeDDHResult(220);
inline constexpr HRESULT DDERR_NOEXCLUSIVEMODE = MakeDDHResult(225);
inline constexpr HRESULT DDERR_NOFLIPHW = MakeDDHResult(230);
inline constexpr HRESULT DDERR_NOGDI = MakeDDHResult(240);
inline constexpr HRESULT DDERR_NOMIRRORHW = MakeDDHResult(250);
inline constexpr HRESULT DDERR_NOTFOUND = MakeDDHResult(255);
inline constexpr HRESULT DDERR_NOOVERLAYHW = MakeDDHResult(260);
inline constexpr HRESULT DDERR_NORASTEROPHW = MakeDDHResult(280);
inline constexpr HRESULT DDERR_NOROTATIONHW = MakeDDHResult(290);
inline constexpr HRESULT DDERR_NOSTRETCHHW = MakeDDHResult(310);
inline constexpr HRESULT DDERR_NOTEXTUREHW = MakeDDHResult(330);
inline constexpr HRESULT DDERR_NOVSYNCHW = MakeDDHResult(335);
inline constexpr HRESULT DDERR_NOZBUFFERHW = MakeDDHResult(340);
inline constexpr HRESULT DDERR_OUTOFCAPS = MakeDDHResult(360);
inline constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = MakeDDHResult(380);
inline constexpr HRESULT DDERR_PALETTEBUSY = MakeDDHResult(387);
inline constexpr HRESULT DDERR_COLORKEYNOTSET = MakeDDHResult(400);
inline constexpr HRESULT DDERR_SURFACEALREADYATTACHED = MakeDDHResult(410);
inline constexpr HRESULT DDERR_SURFACEALREADYDEPENDENT = MakeDDHResult(420);
inline constexpr HRESULT DDERR_SURFACEBUSY = MakeDDHResult(430);
inline constexpr HRESULT DDERR_CANTLOCKSURFACE = MakeDDHResult(435);
inline constexpr HRESULT DDERR_SURFACEISOBSCURED = MakeDDHResult(440);
inline constexpr HRESULT DDERR_SURFACELOST = MakeDDHResult(450);
inline constexpr HRESULT DDERR_SURFACENOTATTACHED = MakeDDHResult(460);
inline constexpr HRESULT DDERR_TOOBIGHEIGHT = MakeDDHResult(470);
inline constexpr HRESULT DDERR_TOOBIGSIZE = MakeDDHResult(480);
inline constexpr HRESULT DDERR_TOOBIGWIDTH = MakeDDHResult(490);
inline constexpr HRESULT DDERR_UNSUPPORTEDFORMAT = MakeDDHResult(510);
inline constexpr HRESULT DDERR_UNSUPPORTEDMASK = MakeDDHResult(520);
inline constexpr HRESULT DDERR_VERTICALBLANKINPROGRESS = MakeDDHResult(537);
inline constexpr HRESULT DDERR_WASSTILLDRAWING = MakeDDHResult(540);
inline constexpr HRESULT DDERR_XALIGN = MakeDDHResult(560);
inline constexpr HRESULT DDERR_INVALIDDIRECTDRAWGUID = MakeDDHResult(561);
inline constexpr HRESULT DDERR_DIRECTDRAWALREADYCREATED = MakeDDHResult(562);
inline constexpr HRESULT DDERR_NODIRECTDRAWHW = MakeDDHResult(563);
inline constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = MakeDDHResult(564);
inline constexpr HRESULT DDERR_NOEMULATION = MakeDDHResult(565);
inline constexpr HRESULT DDERR_REGIONTOOSMALL = MakeDDHResult(566);
inline constexpr HRESULT DDERR_CLIPPERISUSINGHWND = MakeDDHResult(567);
inline constexpr HRESULT DDERR_NOCLIPPERATTACHED = MakeDDHResult(568);
inline constexpr HRESULT DDERR_NOHWND = MakeDDHResult(569);
inline constexpr HRESULT DDERR_HWNDSUBCLASSED = MakeDDHResult(570);
inline constexpr HRESULT DDERR_HWNDALREADYSET = MakeDDHResult(571);
inline constexpr HRESULT DDERR_NOPALETTEATTACHED = MakeDDHResult(572);
inline constexpr HRESULT DDERR_NOPALETTEHW = MakeDDHResult(573);
inline constexpr HRESULT DDERR_BLTFASTCANTCLIP = MakeDDHResult(574);
inline constexpr HRESULT DDERR_NOBLTHW = MakeDDHResult(575);
inline constexpr HRESULT DDERR_NODDROPSHW = MakeDDHResult(576);
inline constexpr HRESULT DDERR_OVERLAYNOTVISIBLE = MakeDDHResult(577);
inline constexpr HRESULT DDERR_NOOVERLAYDEST = MakeDDHResult(578);
inline constexpr HRESULT DDERR_INVALIDPOSITION = MakeDDHResult(579);
inline constexpr HRESULT DDERR_NOTAOVERLAYSURFACE = MakeDDHResult(580);
inline constexpr HRESULT DDERR_EXCLUSIVEMODEALREADYSET = MakeDDHResult(581);
inline constexpr HRESULT DDERR_NOTFLIPPABLE = MakeDDHResult(582);
inline constexpr HRESULT DDERR_CANTDUPLICATE = MakeDDHResult(583);
inline constexpr HRESULT DDERR_NOTLOCKED = MakeDDHResult(584);
inline constexpr HRESULT DDERR_CANTCREATEDC = MakeDDHResult(585);
inline constexpr HRESULT DDERR_NODC = MakeDDHResult(586);
inline constexpr HRESULT DDERR_WRONGMODE = MakeDDHResult(587);
inline constexpr HRESULT DDERR_IMPLICITLYCREATED = MakeDDHResult(588);
inline constexpr HRESULT DDERR_NOTPALETTIZED = MakeDDHResult(589);
inline constexpr HRESULT DDERR_UNSUPPORTEDMODE = MakeDDHResult(590);
inline constexpr HRESULT DDERR_NOMIPMAPHW = MakeDDHResult(591);
inline constexpr HRESULT DDERR_INVALIDSURFACETYPE = MakeDDHResult(592);
inline constexpr HRESULT DDERR_DCALREADYCREATED = MakeDDHResult(620);
inline constexpr HRESULT DDERR_CANTPAGELOCK = MakeDDHResult(640);
inline constexpr HRESULT DDERR_CANTPAGEUNLOCK = MakeDDHResult(660);
inline constexpr HRESULT DDERR_NOTPAGELOCKED = MakeDDHResult(680);

} // namespace ddraw
