// Feeds arbitrary bytes to the wave loader as a WAVE file, on OpenAL's
// silent device: the RIFF walk, the format check, buffer creation, the copy
// of the samples and a channel playing them. A halt of the sound layer (a
// format the device refuses) is a legitimate end and is caught here.

#include "platform/dsound/openal_direct_sound.h"
#include "sound/ddsd.h"
#include "sound/ddsd_log.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct Halted {};

struct Setup {
    std::string path;
    ddsd::TDDSD* sound = nullptr;

    Setup() {
        setenv("ALSOFT_DRIVERS", "null", 0);
        auto dir = std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                       : std::filesystem::temp_directory_path();
        path = (dir / ("fuzz-wav-" + std::to_string(getpid()) + ".wav")).string();
        ddsd::Log().WriteDebugLog = false;
        diagnostics::SetHaltAction([] { throw Halted(); });
        dsound::InstallOpenALDirectSound();
        sound = new ddsd::TDDSD(nullptr);
        sound->Use3D = true;
        if (!sound->Initialize()) {
            std::fprintf(stderr, "no OpenAL device: set ALSOFT_DRIVERS=null\n");
            std::abort();
        }
    }
};

template <class Wave> void LoadAndPlay(Setup& setup) {
    try {
        Wave wave(setup.sound, setup.path);
        ddsd::TDDSDChannel* channel = setup.sound->GetChannel(0);
        channel->setWaveData(&wave);
        channel->SetVolume(-10000);
        channel->Play();
        channel->Stop();
        channel->setWaveData(nullptr);
    } catch (const Halted&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Setup setup;
    std::FILE* file = std::fopen(setup.path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    LoadAndPlay<ddsd::TDDSDWaveData>(setup);
    LoadAndPlay<ddsd::TDDSDWave3D>(setup);
    return 0;
}
