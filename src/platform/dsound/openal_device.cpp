#include "platform/dsound/conversions.h"
#include "platform/dsound/openal_objects.h"

#include "base/quiet_alsa.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
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
    ALCcontext* context = alcCreateContext(device, nullptr);
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
    return opened;
}

Device::Device(ALCdevice* device, ALCcontext* context)
    : device_(device), context_(context), listener_(DefaultListenerParams()) {}

Device::~Device() {
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

void Device::RemoveVoice(Voice* voice) {
    std::erase(voices_, voice);
}

} // namespace dsound::openal
