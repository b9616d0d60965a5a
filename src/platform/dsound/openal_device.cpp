#include "platform/dsound/conversions.h"
#include "platform/dsound/openal_objects.h"

#include "base/quiet_alsa.h"

#include <AL/alext.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>

namespace dsound::openal {
namespace {

// OpenAL Soft mixes three periods of 1024 frames ahead by default, about
// 70 ms: an effect would start two or three game frames (26 ms each) late.
// Three periods of 256 frames (about 17 ms at 44.1 kHz, 12 ms of reported
// latency) bring it within one frame. Its only knobs are configuration
// files, so the first device opened in this process reads a file that has
// our values first and then whatever ALSOFT_CONF named, which still wins.
constexpr const char* kLowLatencySettings = "[general]\nperiod_size = 256\nperiods = 3\n";

// How often a playing output checks whether anything still plays.
constexpr std::chrono::milliseconds kIdleCheck{250};

// Whether OpenAL was told to write its output to a wave file (all its
// devices carry the same name, so the choice of back ends tells).
bool WaveWriterChosen() {
    const char* drivers = std::getenv("ALSOFT_DRIVERS");
    if (!drivers)
        return false;
    std::string_view rest(drivers);
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        std::string_view name = rest.substr(0, comma);
        while (!name.empty() && name.front() == ' ')
            name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ')
            name.remove_suffix(1);
        if (name == "wave")
            return true;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return false;
}

ALCdevice* OpenDefaultDevice() {
    static bool configured = false;
    if (configured)
        return alcOpenDevice(nullptr);
    configured = true;

    // Without a sound card the device simply does not open; OpenAL's and
    // ALSA's own complaints about it would only clutter the terminal. A log
    // level the user set is kept.
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    base::QuietAlsaLog();

    const char* userConf = std::getenv("ALSOFT_CONF");
    const std::string previous = userConf ? userConf : "";
    std::string text = kLowLatencySettings;
    if (userConf) {
        std::ifstream in(previous, std::ios::binary);
        text += "\n";
        text.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::error_code error;
    std::filesystem::path path = std::filesystem::temp_directory_path(error) /
                                 ("pimuru-openal-" + std::to_string(getpid()) + ".conf");
    bool written = false;
    if (!error) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
        written = static_cast<bool>(out);
    }
    if (written)
        setenv("ALSOFT_CONF", path.c_str(), 1);
    ALCdevice* device = alcOpenDevice(nullptr);
    if (written) {
        if (userConf)
            setenv("ALSOFT_CONF", previous.c_str(), 1);
        else
            unsetenv("ALSOFT_CONF");
        std::filesystem::remove(path, error);
    }
    return device;
}

} // namespace

std::shared_ptr<Device> Device::Open() {
    ALCdevice* device = OpenDefaultDevice();
    if (!device)
        return nullptr;
    // OpenAL's output limiter works out a gain for every sample, a large
    // part of the mixer's time; a game's short effects do not need it.
    const ALCint noLimiter[] = {ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE, 0};
    const bool canTurnOff = alcIsExtensionPresent(device, "ALC_SOFT_output_limiter");
    ALCcontext* context = alcCreateContext(device, canTurnOff ? noLimiter : nullptr);
    if (!context) {
        alcCloseDevice(device);
        return nullptr;
    }
    std::shared_ptr<Device> opened(new Device(device, context));
    opened->MakeCurrent();
    // DirectSound's rolloff: full volume up to the minimum distance, no
    // further attenuation beyond the maximum distance.
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    opened->SetListener(DefaultListenerParams());
    opened->StartIdleWatch();
    return opened;
}

Device::Device(ALCdevice* device, ALCcontext* context)
    : device_(device), context_(context), listener_(DefaultListenerParams()) {}

Device::~Device() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    if (idleWatch_.joinable())
        idleWatch_.join();
    if (alcGetCurrentContext() == context_)
        alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
}

void Device::MakeCurrent() const {
    if (alcGetCurrentContext() != context_)
        alcMakeContextCurrent(context_);
}

void Device::SetListener(const DS3DLISTENER& params) {
    listener_ = params;
    MakeCurrent();
    auto position = ToOpenALVector(params.vPosition);
    auto velocity = ToOpenALVector(params.vVelocity);
    auto front = ToOpenALVector(params.vOrientFront);
    auto top = ToOpenALVector(params.vOrientTop);
    ALfloat orientation[6] = {front[0], front[1], front[2], top[0], top[1], top[2]};
    alListener3f(AL_POSITION, position[0], position[1], position[2]);
    alListener3f(AL_VELOCITY, velocity[0], velocity[1], velocity[2]);
    alListenerfv(AL_ORIENTATION, orientation);
    // The distance factor is metres per unit; sound travels 343.3 m/s.
    alSpeedOfSound(343.3f / params.flDistanceFactor);
    alDopplerFactor(params.flDopplerFactor);
    // The rolloff factor is the listener's in DirectSound, each source's in AL.
    for (Voice* voice : voices_)
        voice->Apply3D();
}

void Device::SetListenerGain(float gain) {
    MakeCurrent();
    alListenerf(AL_GAIN, gain);
}

void Device::AddVoice(Voice* voice) {
    std::lock_guard lock(mutex_);
    voices_.push_back(voice);
}

void Device::RemoveVoice(Voice* voice) {
    std::lock_guard lock(mutex_);
    std::erase(voices_, voice);
}

void Device::StartIdleWatch() {
    // A wave file records a time line, which pauses would cut short; and
    // the watch needs a context of its own thread and the pause itself.
    if (WaveWriterChosen())
        return;
    if (!alcIsExtensionPresent(device_, "ALC_SOFT_pause_device") ||
        !alcIsExtensionPresent(device_, "ALC_EXT_thread_local_context"))
        return;
    idleWatch_ = std::thread([this] { WatchIdle(); });
}

void Device::WatchIdle() {
    static const auto setThreadContext =
        reinterpret_cast<PFNALCSETTHREADCONTEXTPROC>(alcGetProcAddress(nullptr, "alcSetThreadContext"));
    static const auto pause =
        reinterpret_cast<LPALCDEVICEPAUSESOFT>(alcGetProcAddress(nullptr, "alcDevicePauseSOFT"));
    if (!setThreadContext || !pause || !setThreadContext(context_))
        return;
    std::unique_lock lock(mutex_);
    while (!closing_) {
        if (sleeping_) {
            changed_.wait(lock, [this] { return closing_ || !sleeping_; });
            continue;
        }
        changed_.wait_for(lock, kIdleCheck);
        if (!closing_ && !sleeping_ && !AnyVoicePlaying()) {
            pause(device_);
            sleeping_ = true;
        }
    }
    lock.unlock();
    setThreadContext(nullptr);
}

bool Device::AnyVoicePlaying() const {
    for (const Voice* voice : voices_) {
        ALint state = AL_INITIAL;
        alGetSourcei(voice->Source(), AL_SOURCE_STATE, &state);
        if (state == AL_PLAYING)
            return true;
    }
    return false;
}

void Device::Play(ALuint source) {
    static const auto resume =
        reinterpret_cast<LPALCDEVICERESUMESOFT>(alcGetProcAddress(nullptr, "alcDeviceResumeSOFT"));
    MakeCurrent();
    std::lock_guard lock(mutex_);
    if (sleeping_ && resume) {
        resume(device_);
        sleeping_ = false;
        changed_.notify_all();
    }
    // Under the lock: the watch cannot pause between the wake and the start.
    alSourcePlay(source);
}

bool Device::Sleeping() {
    std::lock_guard lock(mutex_);
    return sleeping_;
}

} // namespace dsound::openal
