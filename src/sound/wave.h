#pragma once
// Wave objects: one sound effect loaded from a WAVE file into a sound buffer
// of its own, which channels copy to play it. A file that cannot be loaded
// leaves the wave without buffer (silent); the reason goes to "ddsd.debug".

#include "platform/dsound/com_ref.h"
#include "platform/dsound/dsound.h"
#include "sound/params_3d.h"

#include <cstdint>
#include <string>

namespace ddsd {

class TDDSD;

class TDDSDGenWave {
public:
    // Loads `fileName` when the owner has a sound device; never fails as a whole.
    TDDSDGenWave(TDDSD* owner, const std::string& fileName, bool is3D);
    virtual ~TDDSDGenWave();
    TDDSDGenWave(const TDDSDGenWave&) = delete;
    TDDSDGenWave& operator=(const TDDSDGenWave&) = delete;

    dsound::IDirectSoundBuffer* Buffer() const { return buffer_.Get(); }
    const dsound::WAVEFORMATEX& Format() const { return format_; }
    // Bytes of samples in the buffer.
    std::uint32_t Size() const { return size_; }
    TDDSD* Owner() const { return owner_; }

private:
    void LoadWAV(const std::string& fileName, bool is3D);

    dsound::ComRef<dsound::IDirectSoundBuffer> buffer_;
    dsound::WAVEFORMATEX format_{};
    std::uint32_t size_ = 0;
    TDDSD* owner_;
};

// A plain wave: its buffer has pan control and no 3D control.
class TDDSDWaveData : public TDDSDGenWave {
public:
    TDDSDWaveData(TDDSD* owner, const std::string& fileName)
        : TDDSDGenWave(owner, fileName, false) {}
};

// A 3D wave, with the 3D settings a channel takes over when it is attached.
class TDDSDWave3D : public TDDSDGenWave {
public:
    TDDSDWave3D(TDDSD* owner, const std::string& fileName)
        : TDDSDGenWave(owner, fileName, true), params3D_(nullptr) {}

    TDDSDParams3D& Params3D() { return params3D_; }

private:
    TDDSDParams3D params3D_;
};

} // namespace ddsd
