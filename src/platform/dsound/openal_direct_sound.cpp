#include "platform/dsound/openal_direct_sound.h"

#include "platform/dsound/conversions.h"
#include "platform/dsound/openal_objects.h"

#include <new>

namespace dsound {
namespace openal {

PrimaryBuffer::PrimaryBuffer(std::shared_ptr<Device> device, std::uint32_t flags)
    : device_(std::move(device)), flags_(flags) {}

HRESULT PrimaryBuffer::QueryInterface(IDirectSound3DBuffer** out) {
    if (!out)
        return DSERR_INVALIDPARAM;
    *out = nullptr;
    return DSERR_NOINTERFACE;
}

HRESULT PrimaryBuffer::QueryInterface(IDirectSound3DListener** out) {
    if (!out)
        return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (!(flags_ & DSBCAPS_CTRL3D))
        return DSERR_NOINTERFACE;
    *out = new Listener3D(device_);
    return DS_OK;
}

HRESULT PrimaryBuffer::GetStatus(std::uint32_t* status) {
    if (!status)
        return DSERR_INVALIDPARAM;
    // OpenAL mixes all the time.
    *status = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING;
    return DS_OK;
}

// The mix is OpenAL's own: it cannot be read, written, moved or retuned.
HRESULT PrimaryBuffer::GetCurrentPosition(std::uint32_t*, std::uint32_t*) {
    return DSERR_UNSUPPORTED;
}
HRESULT PrimaryBuffer::GetFrequency(std::uint32_t*) {
    return DSERR_UNSUPPORTED;
}
HRESULT PrimaryBuffer::Lock(std::uint32_t, std::uint32_t, void**, std::uint32_t*, void**,
                            std::uint32_t*, std::uint32_t) {
    return DSERR_UNSUPPORTED;
}
HRESULT PrimaryBuffer::Unlock(void*, std::uint32_t, void*, std::uint32_t) {
    return DSERR_UNSUPPORTED;
}
HRESULT PrimaryBuffer::SetCurrentPosition(std::uint32_t) {
    return DSERR_INVALIDCALL;
}
HRESULT PrimaryBuffer::SetFrequency(std::uint32_t) {
    return DSERR_INVALIDCALL;
}
HRESULT PrimaryBuffer::Play(std::uint32_t, std::uint32_t, std::uint32_t) {
    return DS_OK;
}
HRESULT PrimaryBuffer::Stop() {
    return DS_OK;
}

HRESULT PrimaryBuffer::GetVolume(std::int32_t* volume) {
    if (!volume)
        return DSERR_INVALIDPARAM;
    if (!(flags_ & DSBCAPS_CTRLVOLUME))
        return DSERR_CONTROLUNAVAIL;
    *volume = volume_;
    return DS_OK;
}

HRESULT PrimaryBuffer::SetVolume(std::int32_t volume) {
    if (!(flags_ & DSBCAPS_CTRLVOLUME))
        return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX)
        return DSERR_INVALIDPARAM;
    volume_ = volume;
    device_->SetListenerGain(VolumeToGain(volume));
    return DS_OK;
}

HRESULT Buffer3D::GetAllParameters(DS3DBUFFER* params) {
    if (!params || params->dwSize != sizeof(DS3DBUFFER))
        return DSERR_INVALIDPARAM;
    *params = voice_->Params3D();
    return DS_OK;
}

HRESULT Buffer3D::SetAllParameters(const DS3DBUFFER* params, std::uint32_t apply) {
    if (HRESULT result = CheckBufferParams(params, apply); result != DS_OK)
        return result;
    voice_->SetParams3D(*params);
    return DS_OK;
}

HRESULT Listener3D::GetAllParameters(DS3DLISTENER* params) {
    if (!params || params->dwSize != sizeof(DS3DLISTENER))
        return DSERR_INVALIDPARAM;
    *params = device_->Listener();
    return DS_OK;
}

HRESULT Listener3D::SetAllParameters(const DS3DLISTENER* params, std::uint32_t apply) {
    if (HRESULT result = CheckListenerParams(params, apply); result != DS_OK)
        return result;
    device_->SetListener(*params);
    return DS_OK;
}

HRESULT DirectSound::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out,
                                       IUnknown* outer) {
    if (!out)
        return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (outer)
        return DSERR_NOAGGREGATION;
    if (!desc || desc->dwSize != DSBUFFERDESC_SIZE)
        return DSERR_INVALIDPARAM;
    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
        if (desc->dwBufferBytes != 0 || desc->lpwfxFormat)
            return DSERR_INVALIDPARAM;
        *out = new PrimaryBuffer(device_, desc->dwFlags);
        return DS_OK;
    }
    if (HRESULT result = CheckSecondaryBufferDesc(desc); result != DS_OK)
        return result;
    try {
        const bool spatial = (desc->dwFlags & DSBCAPS_CTRL3D) != 0;
        auto store = std::make_shared<SampleStore>(device_, *desc->lpwfxFormat, desc->dwBufferBytes,
                                                   spatial);
        if (!store->Ok())
            return DSERR_OUTOFMEMORY;
        auto voice = std::make_shared<Voice>(device_, store, spatial);
        if (!voice->Ok())
            return DSERR_ALLOCATED;
        *out = new SecondaryBuffer(std::move(voice), desc->dwFlags);
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    return DS_OK;
}

HRESULT DirectSound::DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** out) {
    if (!out)
        return DSERR_INVALIDPARAM;
    *out = nullptr;
    auto* secondary = dynamic_cast<SecondaryBuffer*>(original);
    if (!secondary)
        return DSERR_INVALIDPARAM;
    try {
        *out = secondary->Duplicate();
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    return *out ? DS_OK : DSERR_ALLOCATED;
}

HRESULT DirectSound::SetCooperativeLevel(void*, std::uint32_t level) {
    // One output shared with every other program: the levels change nothing.
    return level >= DSSCL_NORMAL && level <= DSSCL_WRITEPRIMARY ? DS_OK : DSERR_INVALIDPARAM;
}

} // namespace openal

HRESULT CreateOpenALDirectSound(IDirectSound** out) {
    if (!out)
        return DSERR_INVALIDPARAM;
    *out = nullptr;
    std::shared_ptr<openal::Device> device = openal::Device::Open();
    if (!device)
        return DSERR_NODRIVER;
    *out = new openal::DirectSound(std::move(device));
    return DS_OK;
}

void InstallOpenALDirectSound() {
    SetDirectSoundFactory(CreateOpenALDirectSound);
}

} // namespace dsound
