#pragma once
// The sound device as the sound layer sees it: DirectSound-shaped interfaces
// (result 0 = success, DirectSound error values otherwise, Release returns the
// references left), its records and flags, and the one entry point.

#include <cstdint>
#include <functional>

namespace dsound {

using HRESULT = std::int32_t;

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000A);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001E);
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032);
constexpr HRESULT DSERR_GENERIC = static_cast<HRESULT>(0x80004005);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064);
constexpr HRESULT DSERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078);
constexpr HRESULT DSERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
constexpr HRESULT DSERR_NOINTERFACE = static_cast<HRESULT>(0x80004002);

// Cooperative levels.
constexpr std::uint32_t DSSCL_NORMAL = 1;
constexpr std::uint32_t DSSCL_WRITEPRIMARY = 4;

// Buffer capabilities (DSBUFFERDESC::dwFlags).
constexpr std::uint32_t DSBCAPS_PRIMARYBUFFER = 0x1;
constexpr std::uint32_t DSBCAPS_STATIC = 0x2;
constexpr std::uint32_t DSBCAPS_CTRL3D = 0x10;
constexpr std::uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr std::uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr std::uint32_t DSBCAPS_CTRLVOLUME = 0x80;
constexpr std::uint32_t DSBCAPS_STICKYFOCUS = 0x4000;

// Buffer status (GetStatus).
constexpr std::uint32_t DSBSTATUS_PLAYING = 0x1;
constexpr std::uint32_t DSBSTATUS_LOOPING = 0x4;

constexpr std::uint32_t DSBPLAY_LOOPING = 0x1;
constexpr std::uint32_t DSBLOCK_ENTIREBUFFER = 0x2;

constexpr std::int32_t DSBVOLUME_MIN = -10000;
constexpr std::int32_t DSBVOLUME_MAX = 0;
constexpr std::uint32_t DSBFREQUENCY_ORIGINAL = 0;
constexpr std::uint32_t DSBFREQUENCY_MIN = 100;
constexpr std::uint32_t DSBFREQUENCY_MAX = 200000;
constexpr std::uint32_t DSBSIZE_MIN = 4;
constexpr std::uint32_t DSBSIZE_MAX = 0x0FFFFFFF;

// 3D processing modes and when 3D settings take effect.
constexpr std::uint32_t DS3DMODE_NORMAL = 0;
constexpr std::uint32_t DS3DMODE_HEADRELATIVE = 1;
constexpr std::uint32_t DS3DMODE_DISABLE = 2;
constexpr std::uint32_t DS3D_IMMEDIATE = 0;
constexpr std::uint32_t DS3D_DEFERRED = 1;

constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

#pragma pack(push, 2)
// The 18-byte wave format record, laid out as in a WAVE file's format chunk.
struct WAVEFORMATEX {
    std::uint16_t wFormatTag;
    std::uint16_t nChannels;
    std::uint32_t nSamplesPerSec;
    std::uint32_t nAvgBytesPerSec;
    std::uint16_t nBlockAlign;
    std::uint16_t wBitsPerSample;
    std::uint16_t cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);

// dwSize of a buffer description as callers fill it in.
constexpr std::uint32_t DSBUFFERDESC_SIZE = 20;

struct DSBUFFERDESC {
    std::uint32_t dwSize;
    std::uint32_t dwFlags;
    std::uint32_t dwBufferBytes;
    std::uint32_t dwReserved;
    const WAVEFORMATEX* lpwfxFormat;
};

struct D3DVECTOR {
    float x, y, z;
};

// Coordinates are left-handed: x right, y up, z away from the listener.
struct DS3DBUFFER {
    std::uint32_t dwSize;
    D3DVECTOR vPosition;
    D3DVECTOR vVelocity;
    std::uint32_t dwInsideConeAngle;
    std::uint32_t dwOutsideConeAngle;
    D3DVECTOR vConeOrientation;
    std::int32_t lConeOutsideVolume;
    float flMinDistance;
    float flMaxDistance;
    std::uint32_t dwMode;
};
static_assert(sizeof(DS3DBUFFER) == 64);

struct DS3DLISTENER {
    std::uint32_t dwSize;
    D3DVECTOR vPosition;
    D3DVECTOR vVelocity;
    D3DVECTOR vOrientFront;
    D3DVECTOR vOrientTop;
    float flDistanceFactor;
    float flRolloffFactor;
    float flDopplerFactor;
};
static_assert(sizeof(DS3DLISTENER) == 64);

// Reference counting as every interface has it.
class IUnknown {
public:
    virtual std::uint32_t AddRef() = 0;
    // Returns the references left; the object is gone at 0.
    virtual std::uint32_t Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

class IDirectSound3DListener : public IUnknown {
public:
    virtual HRESULT GetAllParameters(DS3DLISTENER* params) = 0;
    virtual HRESULT SetAllParameters(const DS3DLISTENER* params, std::uint32_t apply) = 0;
};

class IDirectSound3DBuffer : public IUnknown {
public:
    virtual HRESULT GetAllParameters(DS3DBUFFER* params) = 0;
    virtual HRESULT SetAllParameters(const DS3DBUFFER* params, std::uint32_t apply) = 0;
};

class IDirectSoundBuffer : public IUnknown {
public:
    // The 3D interface of a secondary buffer made with 3D control.
    virtual HRESULT QueryInterface(IDirectSound3DBuffer** out) = 0;
    // The listener of a primary buffer made with 3D control.
    virtual HRESULT QueryInterface(IDirectSound3DListener** out) = 0;

    virtual HRESULT GetStatus(std::uint32_t* status) = 0;
    virtual HRESULT GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) = 0;
    virtual HRESULT GetVolume(std::int32_t* volume) = 0;
    virtual HRESULT GetFrequency(std::uint32_t* frequency) = 0;

    // Up to two writable regions (the second when the range wraps around).
    virtual HRESULT Lock(std::uint32_t offset, std::uint32_t bytes, void** region1,
                         std::uint32_t* bytes1, void** region2, std::uint32_t* bytes2,
                         std::uint32_t flags) = 0;
    virtual HRESULT Unlock(void* region1, std::uint32_t bytes1, void* region2,
                           std::uint32_t bytes2) = 0;

    virtual HRESULT SetCurrentPosition(std::uint32_t position) = 0;
    virtual HRESULT Play(std::uint32_t reserved, std::uint32_t priority, std::uint32_t flags) = 0;
    // Halts playback; the position stays where it stopped.
    virtual HRESULT Stop() = 0;
    // Attenuation in hundredths of a decibel, DSBVOLUME_MIN to DSBVOLUME_MAX.
    virtual HRESULT SetVolume(std::int32_t volume) = 0;
    virtual HRESULT SetFrequency(std::uint32_t frequency) = 0;
};

class IDirectSound : public IUnknown {
public:
    virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out,
                                      IUnknown* outer) = 0;
    // A new buffer on the same samples, with its own position, volume and state.
    virtual HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                         IDirectSoundBuffer** out) = 0;
    virtual HRESULT SetCooperativeLevel(void* window, std::uint32_t level) = 0;
};

// Opens the default sound device. Fails with DSERR_NODRIVER when there is none
// or no implementation has been installed.
HRESULT DirectSoundCreate(const void* device, IDirectSound** out, IUnknown* outer);

// What DirectSoundCreate calls; the program installs the real device, tests
// may install doubles. An empty function means "no sound device".
using DirectSoundFactory = std::function<HRESULT(IDirectSound** out)>;
void SetDirectSoundFactory(DirectSoundFactory factory);

// Whether a buffer description asks for a secondary buffer this system can
// play: PCM, 8 or 16 bits, mono or stereo, a consistent block alignment.
// DS_OK, DSERR_BADFORMAT or DSERR_INVALIDPARAM.
HRESULT CheckSecondaryBufferDesc(const DSBUFFERDESC* desc);

} // namespace dsound
