#include "platform/dsound/conversions.h"
#include "platform/dsound/openal_objects.h"

#include <algorithm>
#include <cstdint>

namespace dsound::openal {

SecondaryBuffer::SecondaryBuffer(std::shared_ptr<Voice> voice, std::uint32_t flags)
    : voice_(std::move(voice)), flags_(flags) {}

SecondaryBuffer* SecondaryBuffer::Duplicate() const {
    auto voice = std::make_shared<Voice>(voice_->GetDevice(), voice_->Store(),
                                         (flags_ & DSBCAPS_CTRL3D) != 0);
    if (!voice->Ok())
        return nullptr;
    voice->SetParams3D(voice_->Params3D());
    auto* copy = new SecondaryBuffer(std::move(voice), flags_);
    copy->volume_ = volume_;
    copy->frequency_ = frequency_;
    ALuint source = copy->voice_->Source();
    alSourcef(source, AL_GAIN, VolumeToGain(volume_));
    alSourcef(source, AL_PITCH,
              FrequencyToPitch(frequency_, voice_->Store()->Format().nSamplesPerSec));
    return copy;
}

ALint SecondaryBuffer::SourceState() const {
    voice_->GetDevice()->MakeCurrent();
    ALint state = AL_INITIAL;
    alGetSourcei(voice_->Source(), AL_SOURCE_STATE, &state);
    return state;
}

HRESULT SecondaryBuffer::QueryInterface(IDirectSound3DBuffer** out) {
    if (!out)
        return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (!(flags_ & DSBCAPS_CTRL3D))
        return DSERR_NOINTERFACE;
    *out = new Buffer3D(voice_);
    return DS_OK;
}

HRESULT SecondaryBuffer::QueryInterface(IDirectSound3DListener** out) {
    if (!out)
        return DSERR_INVALIDPARAM;
    *out = nullptr;
    return DSERR_NOINTERFACE;
}

HRESULT SecondaryBuffer::GetStatus(std::uint32_t* status) {
    if (!status)
        return DSERR_INVALIDPARAM;
    *status = 0;
    if (SourceState() == AL_PLAYING) {
        ALint looping = AL_FALSE;
        alGetSourcei(voice_->Source(), AL_LOOPING, &looping);
        *status = DSBSTATUS_PLAYING | (looping ? DSBSTATUS_LOOPING : 0);
    }
    return DS_OK;
}

HRESULT SecondaryBuffer::GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) {
    std::uint32_t position = position_;
    ALint state = SourceState();
    if (state == AL_PLAYING || state == AL_PAUSED) {
        ALint offset = 0;
        alGetSourcei(voice_->Source(), AL_BYTE_OFFSET, &offset);
        position = static_cast<std::uint32_t>(std::max(offset, 0));
    }
    if (play)
        *play = position;
    if (write)
        *write = position;
    return DS_OK;
}

HRESULT SecondaryBuffer::GetVolume(std::int32_t* volume) {
    if (!volume)
        return DSERR_INVALIDPARAM;
    if (!(flags_ & DSBCAPS_CTRLVOLUME))
        return DSERR_CONTROLUNAVAIL;
    *volume = volume_;
    return DS_OK;
}

HRESULT SecondaryBuffer::GetFrequency(std::uint32_t* frequency) {
    if (!frequency)
        return DSERR_INVALIDPARAM;
    if (!(flags_ & DSBCAPS_CTRLFREQUENCY))
        return DSERR_CONTROLUNAVAIL;
    *frequency =
        frequency_ == DSBFREQUENCY_ORIGINAL ? voice_->Store()->Format().nSamplesPerSec : frequency_;
    return DS_OK;
}

HRESULT SecondaryBuffer::Lock(std::uint32_t offset, std::uint32_t bytes, void** region1,
                              std::uint32_t* bytes1, void** region2, std::uint32_t* bytes2,
                              std::uint32_t flags) {
    if (!region1 || !bytes1)
        return DSERR_INVALIDPARAM;
    std::vector<std::uint8_t>& data = voice_->Store()->Bytes();
    const auto size = static_cast<std::uint32_t>(data.size());
    if (flags & DSBLOCK_ENTIREBUFFER)
        bytes = size;
    if (offset >= size || bytes == 0 || bytes > size)
        return DSERR_INVALIDPARAM;
    // A range that runs past the end continues at the start, as in a ring.
    std::uint32_t first = std::min(bytes, size - offset);
    std::uint32_t rest = bytes - first;
    if (rest != 0 && (!region2 || !bytes2))
        return DSERR_INVALIDPARAM;
    *region1 = data.data() + offset;
    *bytes1 = first;
    if (region2)
        *region2 = rest != 0 ? data.data() : nullptr;
    if (bytes2)
        *bytes2 = rest;
    return DS_OK;
}

bool SecondaryBuffer::Inside(const void* region, std::uint32_t bytes) const {
    const std::vector<std::uint8_t>& data = voice_->Store()->Bytes();
    auto begin = reinterpret_cast<std::uintptr_t>(data.data());
    auto at = reinterpret_cast<std::uintptr_t>(region);
    return at >= begin && at - begin <= data.size() && bytes <= data.size() - (at - begin);
}

HRESULT SecondaryBuffer::Unlock(void* region1, std::uint32_t bytes1, void* region2,
                                std::uint32_t bytes2) {
    if (!region1 || !Inside(region1, bytes1))
        return DSERR_INVALIDPARAM;
    if (region2 ? !Inside(region2, bytes2) : bytes2 != 0)
        return DSERR_INVALIDPARAM;
    return voice_->Store()->Upload() ? DS_OK : DSERR_GENERIC;
}

HRESULT SecondaryBuffer::SetCurrentPosition(std::uint32_t position) {
    SampleStore& store = *voice_->Store();
    if (position >= store.Bytes().size())
        return DSERR_INVALIDPARAM;
    // AL counts whole frames; a trailing partial frame is never uploaded.
    std::uint32_t frame = store.Format().nBlockAlign;
    position = std::min(position / frame * frame, store.PlayableBytes() - frame);
    position_ = position;
    voice_->GetDevice()->MakeCurrent();
    // A stopped AL source keeps the offset for its next play.
    alSourcei(voice_->Source(), AL_BYTE_OFFSET, static_cast<ALint>(position));
    return DS_OK;
}

HRESULT SecondaryBuffer::Play(std::uint32_t reserved, std::uint32_t priority, std::uint32_t flags) {
    if (reserved != 0 || priority != 0)
        return DSERR_INVALIDPARAM;
    ALint state = SourceState();
    ALuint source = voice_->Source();
    alSourcei(source, AL_LOOPING, (flags & DSBPLAY_LOOPING) ? AL_TRUE : AL_FALSE);
    // A buffer that already plays goes on; AL would restart it.
    if (state != AL_PLAYING)
        voice_->GetDevice()->Play(source);
    position_ = 0;
    return DS_OK;
}

HRESULT SecondaryBuffer::Stop() {
    if (SourceState() == AL_PLAYING)
        alSourcePause(voice_->Source());
    return DS_OK;
}

HRESULT SecondaryBuffer::SetVolume(std::int32_t volume) {
    if (!(flags_ & DSBCAPS_CTRLVOLUME))
        return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX)
        return DSERR_INVALIDPARAM;
    volume_ = volume;
    voice_->GetDevice()->MakeCurrent();
    alSourcef(voice_->Source(), AL_GAIN, VolumeToGain(volume));
    return DS_OK;
}

HRESULT SecondaryBuffer::SetFrequency(std::uint32_t frequency) {
    if (!(flags_ & DSBCAPS_CTRLFREQUENCY))
        return DSERR_CONTROLUNAVAIL;
    if (frequency != DSBFREQUENCY_ORIGINAL &&
        (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX))
        return DSERR_INVALIDPARAM;
    frequency_ = frequency;
    voice_->GetDevice()->MakeCurrent();
    alSourcef(voice_->Source(), AL_PITCH,
              FrequencyToPitch(frequency, voice_->Store()->Format().nSamplesPerSec));
    return DS_OK;
}

} // namespace dsound::openal
