#include "platform/dsound/dsound.h"

#include <utility>

namespace dsound {
namespace {

DirectSoundFactory& Factory() {
    static DirectSoundFactory factory;
    return factory;
}

} // namespace

void SetDirectSoundFactory(DirectSoundFactory factory) {
    Factory() = std::move(factory);
}

HRESULT DirectSoundCreate(const void* device, IDirectSound** out, IUnknown* outer) {
    if (!out)
        return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (outer)
        return DSERR_NOAGGREGATION;
    // Only the default device is offered.
    if (device)
        return DSERR_NODRIVER;
    if (!Factory())
        return DSERR_NODRIVER;
    return Factory()(out);
}

HRESULT CheckSecondaryBufferDesc(const DSBUFFERDESC* desc) {
    if (!desc || desc->dwSize != DSBUFFERDESC_SIZE || !desc->lpwfxFormat)
        return DSERR_INVALIDPARAM;
    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER)
        return DSERR_INVALIDPARAM;
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX)
        return DSERR_INVALIDPARAM;
    const WAVEFORMATEX& format = *desc->lpwfxFormat;
    if (format.wFormatTag != WAVE_FORMAT_PCM)
        return DSERR_BADFORMAT;
    if (format.nChannels != 1 && format.nChannels != 2)
        return DSERR_BADFORMAT;
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16)
        return DSERR_BADFORMAT;
    if (format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8)
        return DSERR_BADFORMAT;
    if (format.nSamplesPerSec < DSBFREQUENCY_MIN || format.nSamplesPerSec > DSBFREQUENCY_MAX)
        return DSERR_BADFORMAT;
    return DS_OK;
}

} // namespace dsound
