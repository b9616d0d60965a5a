#pragma once
// One numbered channel of the sound component: plays the wave attached to it
// through its own copy of the wave's buffer, so channels sound independently.

#include "platform/dsound/com_ref.h"
#include "platform/dsound/dsound.h"
#include "sound/params_3d.h"

#include <cstdint>
#include <memory>

namespace ddsd {

class TDDSD;
class TDDSDGenWave;

class TDDSDChannel {
public:
    explicit TDDSDChannel(TDDSD* owner);
    virtual ~TDDSDChannel();
    TDDSDChannel(const TDDSDChannel&) = delete;
    TDDSDChannel& operator=(const TDDSDChannel&) = delete;

    // Attaches a wave (none detaches); nothing happens without a sound device.
    void setWaveData(TDDSDGenWave* wave);
    // Plays the wave once from its beginning, cutting it off if it sounds.
    void Play();
    void Stop();
    // Attenuation in hundredths of a decibel: 0 full volume, -10000 silence.
    void SetVolume(std::int32_t value);

    std::int32_t Volume() const { return volume_; }
    TDDSDGenWave* Wave() const { return wave_; }
    std::uint32_t Frequency() const { return frequency_; }
    bool Is3D() const { return is3D_; }
    TDDSD* Owner() const { return owner_; }
    TDDSDParams3D& Params3D() { return *params3D_; }
    dsound::IDirectSoundBuffer* Buffer() const { return buffer_.Get(); }
    dsound::IDirectSound3DBuffer* Buffer3D() const { return buffer3D_.Get(); }

private:
    dsound::ComRef<dsound::IDirectSoundBuffer> buffer_;
    dsound::ComRef<dsound::IDirectSound3DBuffer> buffer3D_;
    bool is3D_ = false;
    TDDSD* owner_;
    std::uint32_t frequency_ = 0;
    std::int32_t volume_ = 0;
    TDDSDGenWave* wave_ = nullptr;
    std::unique_ptr<TDDSDParams3D> params3D_;
};

} // namespace ddsd
