#pragma once
// The DirectInput 5 stand-in as the input component sees it: the DirectInput
// object, devices with acquisition and snapshots, the records and constants.
// Results are 0 on success and the Windows DirectInput error values otherwise.

#include "base/guid.h"

#include <cstdint>
#include <functional>
#include <string>

namespace dinput {

using HRESULT = std::int32_t;

constexpr HRESULT DI_OK = 0;
constexpr HRESULT DI_NOEFFECT = 1; // S_FALSE: nothing to do (already acquired, ...)
constexpr HRESULT DIERR_ACQUIRED = static_cast<HRESULT>(0x800700AAu);
constexpr HRESULT DIERR_BETADIRECTINPUTVERSION = static_cast<HRESULT>(0x80070481u);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT DIERR_GENERIC = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT DIERR_HANDLE = static_cast<HRESULT>(0x80070006u); // E_HANDLE
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
constexpr HRESULT DIERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DIERR_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_NOTINITIALIZED = static_cast<HRESULT>(0x80070015u);
constexpr HRESULT DIERR_OBJECTNOTFOUND = static_cast<HRESULT>(0x80070002u);
constexpr HRESULT DIERR_OLDDIRECTINPUTVERSION = static_cast<HRESULT>(0x8007047Eu);
constexpr HRESULT DIERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT DIERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DIERR_UNPLUGGED = static_cast<HRESULT>(0x80040209u);

constexpr std::uint32_t DIRECTINPUT_VERSION = 0x0500;

// Cooperative levels.
constexpr std::uint32_t DISCL_EXCLUSIVE = 1;
constexpr std::uint32_t DISCL_NONEXCLUSIVE = 2;
constexpr std::uint32_t DISCL_FOREGROUND = 4;
constexpr std::uint32_t DISCL_BACKGROUND = 8;

// Enumeration.
constexpr std::uint32_t DIDEVTYPE_DEVICE = 1;
constexpr std::uint32_t DIDEVTYPE_MOUSE = 2;
constexpr std::uint32_t DIDEVTYPE_KEYBOARD = 3;
constexpr std::uint32_t DIDEVTYPE_JOYSTICK = 4;
constexpr std::uint32_t DIEDFL_ATTACHEDONLY = 0x1;
constexpr std::uint32_t DIEDFL_FORCEFEEDBACK = 0x100;
constexpr int DIENUM_STOP = 0;
constexpr int DIENUM_CONTINUE = 1;

// Properties. A property is named by a small number, as DirectInput's
// predefined property identifiers are.
using DIPROPID = std::uintptr_t;
constexpr DIPROPID DIPROP_RANGE = 4;
constexpr std::uint32_t DIPH_DEVICE = 0;
constexpr std::uint32_t DIPH_BYOFFSET = 1;

using GUID = base::GUID;

extern const GUID GUID_SysKeyboard;
extern const GUID GUID_SysMouse;
extern const GUID IID_IDirectInputDevice2A;

// Data formats: what a snapshot looks like.
constexpr std::uint32_t DIDF_ABSAXIS = 1;
constexpr std::uint32_t DIDF_RELAXIS = 2;
constexpr std::uint32_t DIDFT_RELAXIS = 0x00000001;
constexpr std::uint32_t DIDFT_ABSAXIS = 0x00000002;
constexpr std::uint32_t DIDFT_AXIS = 0x00000003;
constexpr std::uint32_t DIDFT_PSHBUTTON = 0x00000004;
constexpr std::uint32_t DIDFT_TGLBUTTON = 0x00000008;
constexpr std::uint32_t DIDFT_BUTTON = 0x0000000C;
constexpr std::uint32_t DIDFT_POV = 0x00000010;
constexpr std::uint32_t DIDFT_ANYINSTANCE = 0x00FFFF00;
constexpr std::uint32_t DIDFT_OPTIONAL = 0x80000000;

struct DIOBJECTDATAFORMAT {
    const GUID* pguid;
    std::uint32_t dwOfs;
    std::uint32_t dwType;
    std::uint32_t dwFlags;
};

struct DIDATAFORMAT {
    std::uint32_t dwSize;
    std::uint32_t dwObjSize;
    std::uint32_t dwFlags;
    std::uint32_t dwDataSize;
    std::uint32_t dwNumObjs;
    const DIOBJECTDATAFORMAT* rgodf;
};

// The standard formats: 256 key bytes, and the 80-byte joystick state.
extern const DIDATAFORMAT c_dfDIKeyboard;
extern const DIDATAFORMAT c_dfDIJoystick;

struct DIJOYSTATE {
    std::int32_t lX;
    std::int32_t lY;
    std::int32_t lZ;
    std::int32_t lRx;
    std::int32_t lRy;
    std::int32_t lRz;
    std::int32_t rglSlider[2];
    std::uint32_t rgdwPOV[4];
    std::uint8_t rgbButtons[32];
};
static_assert(sizeof(DIJOYSTATE) == 80);

// A point-of-view control at rest.
constexpr std::uint32_t POV_CENTERED = 0xFFFFFFFFu;

struct DIPROPHEADER {
    std::uint32_t dwSize;
    std::uint32_t dwHeaderSize;
    std::uint32_t dwObj;
    std::uint32_t dwHow;
};
static_assert(sizeof(DIPROPHEADER) == 16);

struct DIPROPRANGE {
    DIPROPHEADER diph;
    std::int32_t lMin;
    std::int32_t lMax;
};
static_assert(sizeof(DIPROPRANGE) == 24);

// What EnumDevices offers for one device. Names are UTF-8.
struct DIDEVICEINSTANCE {
    GUID guidInstance;
    GUID guidProduct;
    std::uint32_t dwDevType = 0;
    std::string tszInstanceName;
    std::string tszProductName;
};

using LPDIENUMDEVICESCALLBACK = int (*)(const DIDEVICEINSTANCE* instance, void* context);

// The device interface. Release returns the references left.
class IDirectInputDevice {
public:
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;
    // Only IID_IDirectInputDevice2A is known; it adds a reference.
    virtual HRESULT QueryInterface(const GUID& iid, void** object) = 0;
    virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
    // `window` is the owner window's handle (ui::TForm::Handle()).
    virtual HRESULT SetCooperativeLevel(void* window, std::uint32_t flags) = 0;
    virtual HRESULT SetProperty(DIPROPID property, const DIPROPHEADER* header) = 0;
    virtual HRESULT Acquire() = 0;
    virtual HRESULT Unacquire() = 0;
    virtual HRESULT GetDeviceState(std::uint32_t size, void* data) = 0;

protected:
    virtual ~IDirectInputDevice() = default;
};

// The device interface with an explicit poll.
class IDirectInputDevice2 : public IDirectInputDevice {
public:
    virtual HRESULT Poll() = 0;

protected:
    ~IDirectInputDevice2() override = default;
};

class IDirectInput {
public:
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;
    virtual HRESULT CreateDevice(const GUID& guid, IDirectInputDevice** device, void* outer) = 0;
    // Calls `callback` once per device, synchronously, until it returns
    // DIENUM_STOP.
    virtual HRESULT EnumDevices(std::uint32_t devType, LPDIENUMDEVICESCALLBACK callback, void* context,
                                std::uint32_t flags) = 0;

protected:
    virtual ~IDirectInput() = default;
};

// Creates the DirectInput object through the installed back end; without one
// the result is DIERR_DEVICENOTREG.
HRESULT DirectInputCreateA(void* instance, std::uint32_t version, IDirectInput** object, void* outer);

// The program installs the real back end (dinput::InstallSdlQtDirectInput);
// tests may install a double. An empty function removes it.
using DirectInputFactory = std::function<HRESULT(void* instance, std::uint32_t version, IDirectInput** object)>;
void SetDirectInputFactory(DirectInputFactory factory);

} // namespace dinput
