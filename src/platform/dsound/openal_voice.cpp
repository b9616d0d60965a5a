#include "platform/dsound/conversions.h"
#include "platform/dsound/openal_objects.h"

#include <algorithm>

namespace dsound::openal {
namespace {

// Each frame twice over: mono samples as a stereo pair.
std::vector<std::uint8_t> MonoToStereo(const std::uint8_t* bytes, std::uint32_t size,
                                       std::uint32_t frame) {
    std::vector<std::uint8_t> stereo;
    stereo.reserve(std::size_t{size} * 2);
    for (std::uint32_t at = 0; at + frame <= size; at += frame) {
        stereo.insert(stereo.end(), bytes + at, bytes + at + frame);
        stereo.insert(stereo.end(), bytes + at, bytes + at + frame);
    }
    return stereo;
}

} // namespace

DS3DBUFFER DefaultBufferParams() {
    return DS3DBUFFER{sizeof(DS3DBUFFER), {0, 0, 0}, {0, 0, 0}, 360,           360,
                      {0, 0, 1.0f},       0,         1.0f,      1000000000.0f, DS3DMODE_NORMAL};
}

DS3DLISTENER DefaultListenerParams() {
    return DS3DLISTENER{sizeof(DS3DLISTENER), {0, 0, 0}, {0, 0, 0}, {0, 0, 1.0f},
                        {0, 1.0f, 0},         1.0f,      1.0f,      1.0f};
}

HRESULT CheckBufferParams(const DS3DBUFFER* params, std::uint32_t apply) {
    if (!params || params->dwSize != sizeof(DS3DBUFFER))
        return DSERR_INVALIDPARAM;
    // There is no commit operation here, so deferred settings would never apply.
    if (apply == DS3D_DEFERRED)
        return DSERR_UNSUPPORTED;
    if (apply != DS3D_IMMEDIATE)
        return DSERR_INVALIDPARAM;
    const DS3DBUFFER& p = *params;
    bool valid = IsFinite(p.vPosition) && IsFinite(p.vVelocity) && IsFinite(p.vConeOrientation) &&
                 p.dwInsideConeAngle <= 360 && p.dwOutsideConeAngle <= 360 &&
                 p.dwInsideConeAngle <= p.dwOutsideConeAngle &&
                 p.lConeOutsideVolume >= DSBVOLUME_MIN && p.lConeOutsideVolume <= DSBVOLUME_MAX &&
                 p.flMinDistance > 0 && p.flMaxDistance >= p.flMinDistance &&
                 p.dwMode <= DS3DMODE_DISABLE;
    return valid ? DS_OK : DSERR_INVALIDPARAM;
}

HRESULT CheckListenerParams(const DS3DLISTENER* params, std::uint32_t apply) {
    if (!params || params->dwSize != sizeof(DS3DLISTENER))
        return DSERR_INVALIDPARAM;
    if (apply == DS3D_DEFERRED)
        return DSERR_UNSUPPORTED;
    if (apply != DS3D_IMMEDIATE)
        return DSERR_INVALIDPARAM;
    const DS3DLISTENER& p = *params;
    auto isZero = [](const D3DVECTOR& v) { return v.x == 0 && v.y == 0 && v.z == 0; };
    bool valid = IsFinite(p.vPosition) && IsFinite(p.vVelocity) && IsFinite(p.vOrientFront) &&
                 IsFinite(p.vOrientTop) && !isZero(p.vOrientFront) && !isZero(p.vOrientTop) &&
                 p.flDistanceFactor > 0 && p.flDistanceFactor < 1e30f && p.flRolloffFactor >= 0 &&
                 p.flRolloffFactor <= 10 && p.flDopplerFactor >= 0 && p.flDopplerFactor <= 10;
    return valid ? DS_OK : DSERR_INVALIDPARAM;
}

SampleStore::SampleStore(std::shared_ptr<Device> device, const WAVEFORMATEX& format,
                         std::uint32_t bytes, bool spatial)
    : device_(std::move(device)), format_(format), spatial_(spatial),
      bytes_(bytes, format.wBitsPerSample == 8 ? std::uint8_t{0x80} : std::uint8_t{0}) {
    device_->MakeCurrent();
    alGetError();
    alGenBuffers(1, &buffer_);
    if (alGetError() != AL_NO_ERROR) {
        buffer_ = 0;
        return;
    }
    ok_ = Upload();
}

SampleStore::~SampleStore() {
    if (buffer_ == 0)
        return;
    device_->MakeCurrent();
    alDeleteBuffers(1, &buffer_);
}

std::uint32_t SampleStore::PlayableBytes() const {
    std::uint32_t frame = format_.nBlockAlign;
    return static_cast<std::uint32_t>(bytes_.size()) / frame * frame;
}

bool SampleStore::Upload() {
    device_->MakeCurrent();
    for (Voice* voice : voices_)
        voice->DetachBuffer();
    alGetError();
    const bool eightBit = format_.wBitsPerSample == 8;
    const auto rate = static_cast<ALsizei>(format_.nSamplesPerSec);
    if (format_.nChannels == 2) {
        alBufferData(buffer_, eightBit ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16, bytes_.data(),
                     static_cast<ALsizei>(PlayableBytes()), rate);
    } else if (spatial_) {
        alBufferData(buffer_, eightBit ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16, bytes_.data(),
                     static_cast<ALsizei>(PlayableBytes()), rate);
    } else {
        // A mono sound outside 3D is heard at full level from both speakers.
        // OpenAL would pan it to the centre, a few decibels down on each side.
        std::vector<std::uint8_t> stereo =
            MonoToStereo(bytes_.data(), PlayableBytes(), format_.nBlockAlign);
        alBufferData(buffer_, eightBit ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16, stereo.data(),
                     static_cast<ALsizei>(stereo.size()), rate);
    }
    bool uploaded = alGetError() == AL_NO_ERROR;
    for (Voice* voice : voices_)
        voice->AttachBuffer();
    return uploaded;
}

void SampleStore::RemoveVoice(Voice* voice) {
    std::erase(voices_, voice);
}

Voice::Voice(std::shared_ptr<Device> device, std::shared_ptr<SampleStore> store, bool is3D)
    : device_(std::move(device)), store_(std::move(store)), is3D_(is3D),
      params3D_(DefaultBufferParams()) {
    device_->MakeCurrent();
    alGetError();
    alGenSources(1, &source_);
    if (alGetError() != AL_NO_ERROR)
        return;
    ok_ = true;
    AttachBuffer();
    store_->AddVoice(this);
    device_->AddVoice(this);
    Apply3D();
}

Voice::~Voice() {
    if (!ok_)
        return;
    // Out of the device's list first: its idle watch asks the listed
    // sources whether they play.
    device_->RemoveVoice(this);
    store_->RemoveVoice(this);
    device_->MakeCurrent();
    alDeleteSources(1, &source_);
}

void Voice::DetachBuffer() {
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
}

void Voice::AttachBuffer() {
    alSourcei(source_, AL_BUFFER, static_cast<ALint>(store_->Buffer()));
}

void Voice::SetParams3D(const DS3DBUFFER& params) {
    params3D_ = params;
    Apply3D();
}

void Voice::Apply3D() {
    device_->MakeCurrent();
    ALuint s = source_;
    if (!is3D_ || params3D_.dwMode == DS3DMODE_DISABLE) {
        // Heard as recorded, from inside the listener's head.
        alSourcei(s, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(s, AL_POSITION, 0, 0, 0);
        alSource3f(s, AL_VELOCITY, 0, 0, 0);
        alSource3f(s, AL_DIRECTION, 0, 0, 0);
        alSourcef(s, AL_ROLLOFF_FACTOR, 0);
        alSourcef(s, AL_CONE_INNER_ANGLE, 360);
        alSourcef(s, AL_CONE_OUTER_ANGLE, 360);
        alSourcef(s, AL_CONE_OUTER_GAIN, 1);
        return;
    }
    const DS3DBUFFER& p = params3D_;
    auto position = ToOpenALVector(p.vPosition);
    auto velocity = ToOpenALVector(p.vVelocity);
    auto direction = ToOpenALVector(p.vConeOrientation);
    alSourcei(s, AL_SOURCE_RELATIVE, p.dwMode == DS3DMODE_HEADRELATIVE ? AL_TRUE : AL_FALSE);
    alSource3f(s, AL_POSITION, position[0], position[1], position[2]);
    alSource3f(s, AL_VELOCITY, velocity[0], velocity[1], velocity[2]);
    alSource3f(s, AL_DIRECTION, direction[0], direction[1], direction[2]);
    alSourcef(s, AL_CONE_INNER_ANGLE, static_cast<float>(p.dwInsideConeAngle));
    alSourcef(s, AL_CONE_OUTER_ANGLE, static_cast<float>(p.dwOutsideConeAngle));
    alSourcef(s, AL_CONE_OUTER_GAIN, VolumeToGain(p.lConeOutsideVolume));
    alSourcef(s, AL_REFERENCE_DISTANCE, p.flMinDistance);
    alSourcef(s, AL_MAX_DISTANCE, p.flMaxDistance);
    alSourcef(s, AL_ROLLOFF_FACTOR, device_->Listener().flRolloffFactor);
}

} // namespace dsound::openal
