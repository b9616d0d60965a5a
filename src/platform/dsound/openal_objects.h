#pragma once
// The objects behind the OpenAL back end: one device and context, the sample
// store a buffer and its duplicates share (one AL buffer), and a voice (one
// AL source) per buffer. The interface objects hold these by shared pointer,
// so releasing them in any order is safe.

#include "platform/dsound/dsound.h"
#include "platform/dsound/ref_counted.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace dsound::openal {

class Voice;

class Device {
public:
    // The default output device with low output latency; null when none opens.
    static std::shared_ptr<Device> Open();
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Every AL call goes to the current context; several devices may be open.
    void MakeCurrent() const;

    const DS3DLISTENER& Listener() const { return listener_; }
    void SetListener(const DS3DLISTENER& params);
    // The master volume (the primary buffer's volume).
    void SetListenerGain(float gain);

    void AddVoice(Voice* voice);
    void RemoveVoice(Voice* voice);

    // Starts a source, waking the output first when it sleeps.
    void Play(ALuint source);
    // Whether the output is paused because nothing has played for a while.
    bool Sleeping();

private:
    Device(ALCdevice* device, ALCcontext* context);
    // While nothing plays, the output is paused: OpenAL's mixer would
    // otherwise wake a few hundred times a second to mix silence.
    void StartIdleWatch();
    void WatchIdle();
    bool AnyVoicePlaying() const;

    ALCdevice* device_;
    ALCcontext* context_;
    DS3DLISTENER listener_;
    std::vector<Voice*> voices_;

    std::mutex mutex_; // voices_ and sleeping_, against the idle watch
    std::condition_variable changed_;
    bool sleeping_ = false;
    bool closing_ = false;
    std::thread idleWatch_;
};

// The samples of a buffer and its duplicates, and the AL buffer they are
// uploaded to.
class SampleStore {
public:
    // `spatial`: the samples are placed in 3D (mono stays mono for that).
    SampleStore(std::shared_ptr<Device> device, const WAVEFORMATEX& format, std::uint32_t bytes,
                bool spatial);
    ~SampleStore();
    SampleStore(const SampleStore&) = delete;
    SampleStore& operator=(const SampleStore&) = delete;

    const WAVEFORMATEX& Format() const { return format_; }
    std::vector<std::uint8_t>& Bytes() { return bytes_; }
    // False when OpenAL could not make or fill the AL buffer.
    bool Ok() const { return ok_; }
    ALuint Buffer() const { return buffer_; }
    // Whole sample frames that reach the AL buffer.
    std::uint32_t PlayableBytes() const;

    // Sends the bytes to the AL buffer. AL refuses new data for a buffer that
    // sources hold, so the voices let go of it meanwhile (they stop).
    bool Upload();

    void AddVoice(Voice* voice) { voices_.push_back(voice); }
    void RemoveVoice(Voice* voice);

private:
    std::shared_ptr<Device> device_;
    WAVEFORMATEX format_;
    bool spatial_;
    std::vector<std::uint8_t> bytes_;
    ALuint buffer_ = 0;
    bool ok_ = false;
    std::vector<Voice*> voices_;
};

// One AL source playing a sample store, with the buffer's 3D settings.
class Voice {
public:
    Voice(std::shared_ptr<Device> device, std::shared_ptr<SampleStore> store, bool is3D);
    ~Voice();
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    // False when OpenAL has no source left.
    bool Ok() const { return ok_; }
    ALuint Source() const { return source_; }
    const std::shared_ptr<Device>& GetDevice() const { return device_; }
    const std::shared_ptr<SampleStore>& Store() const { return store_; }

    void DetachBuffer();
    void AttachBuffer();

    const DS3DBUFFER& Params3D() const { return params3D_; }
    void SetParams3D(const DS3DBUFFER& params);
    // Places the source as the 3D settings and the listener's rolloff say.
    void Apply3D();

private:
    std::shared_ptr<Device> device_;
    std::shared_ptr<SampleStore> store_;
    ALuint source_ = 0;
    bool ok_ = false;
    bool is3D_;
    DS3DBUFFER params3D_;
};

DS3DBUFFER DefaultBufferParams();
DS3DLISTENER DefaultListenerParams();
HRESULT CheckBufferParams(const DS3DBUFFER* params, std::uint32_t apply);
HRESULT CheckListenerParams(const DS3DLISTENER* params, std::uint32_t apply);

// A secondary buffer: its own voice on a possibly shared sample store.
class SecondaryBuffer final : public RefCounted<IDirectSoundBuffer> {
public:
    SecondaryBuffer(std::shared_ptr<Voice> voice, std::uint32_t flags);
    // A duplicate: a new voice on the same samples with the same settings.
    SecondaryBuffer* Duplicate() const;

    HRESULT QueryInterface(IDirectSound3DBuffer** out) override;
    HRESULT QueryInterface(IDirectSound3DListener** out) override;
    HRESULT GetStatus(std::uint32_t* status) override;
    HRESULT GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) override;
    HRESULT GetVolume(std::int32_t* volume) override;
    HRESULT GetFrequency(std::uint32_t* frequency) override;
    HRESULT Lock(std::uint32_t offset, std::uint32_t bytes, void** region1, std::uint32_t* bytes1,
                 void** region2, std::uint32_t* bytes2, std::uint32_t flags) override;
    HRESULT Unlock(void* region1, std::uint32_t bytes1, void* region2,
                   std::uint32_t bytes2) override;
    HRESULT SetCurrentPosition(std::uint32_t position) override;
    HRESULT Play(std::uint32_t reserved, std::uint32_t priority, std::uint32_t flags) override;
    HRESULT Stop() override;
    HRESULT SetVolume(std::int32_t volume) override;
    HRESULT SetFrequency(std::uint32_t frequency) override;

private:
    ALint SourceState() const;
    bool Inside(const void* region, std::uint32_t bytes) const;

    std::shared_ptr<Voice> voice_;
    std::uint32_t flags_;
    std::int32_t volume_ = DSBVOLUME_MAX;
    std::uint32_t frequency_ = DSBFREQUENCY_ORIGINAL;
    // Where a stopped buffer starts next time (AL reports 0 for stopped sources).
    std::uint32_t position_ = 0;
};

// The primary buffer: the mix itself. It only carries the master volume and,
// with 3D control, the listener.
class PrimaryBuffer final : public RefCounted<IDirectSoundBuffer> {
public:
    PrimaryBuffer(std::shared_ptr<Device> device, std::uint32_t flags);

    HRESULT QueryInterface(IDirectSound3DBuffer** out) override;
    HRESULT QueryInterface(IDirectSound3DListener** out) override;
    HRESULT GetStatus(std::uint32_t* status) override;
    HRESULT GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) override;
    HRESULT GetVolume(std::int32_t* volume) override;
    HRESULT GetFrequency(std::uint32_t* frequency) override;
    HRESULT Lock(std::uint32_t offset, std::uint32_t bytes, void** region1, std::uint32_t* bytes1,
                 void** region2, std::uint32_t* bytes2, std::uint32_t flags) override;
    HRESULT Unlock(void* region1, std::uint32_t bytes1, void* region2,
                   std::uint32_t bytes2) override;
    HRESULT SetCurrentPosition(std::uint32_t position) override;
    HRESULT Play(std::uint32_t reserved, std::uint32_t priority, std::uint32_t flags) override;
    HRESULT Stop() override;
    HRESULT SetVolume(std::int32_t volume) override;
    HRESULT SetFrequency(std::uint32_t frequency) override;

private:
    std::shared_ptr<Device> device_;
    std::uint32_t flags_;
    std::int32_t volume_ = DSBVOLUME_MAX;
};

class Buffer3D final : public RefCounted<IDirectSound3DBuffer> {
public:
    explicit Buffer3D(std::shared_ptr<Voice> voice) : voice_(std::move(voice)) {}
    HRESULT GetAllParameters(DS3DBUFFER* params) override;
    HRESULT SetAllParameters(const DS3DBUFFER* params, std::uint32_t apply) override;

private:
    std::shared_ptr<Voice> voice_;
};

class Listener3D final : public RefCounted<IDirectSound3DListener> {
public:
    explicit Listener3D(std::shared_ptr<Device> device) : device_(std::move(device)) {}
    HRESULT GetAllParameters(DS3DLISTENER* params) override;
    HRESULT SetAllParameters(const DS3DLISTENER* params, std::uint32_t apply) override;

private:
    std::shared_ptr<Device> device_;
};

class DirectSound final : public RefCounted<IDirectSound> {
public:
    explicit DirectSound(std::shared_ptr<Device> device) : device_(std::move(device)) {}
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out,
                              IUnknown* outer) override;
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** out) override;
    HRESULT SetCooperativeLevel(void* window, std::uint32_t level) override;

private:
    std::shared_ptr<Device> device_;
};

} // namespace dsound::openal
