// The DirectSound stand-in on OpenAL's silent device: what it accepts and
// refuses, reference counts, regions, positions and the device set-up.

#include "platform/dsound/com_ref.h"
#include "platform/dsound/conversions.h"
#include "platform/dsound/openal_direct_sound.h"
#include "platform/dsound/openal_objects.h"
#include "support/temp_dir.h"

#include <AL/alc.h>
#include <AL/alext.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

using namespace dsound;

namespace {

// OpenAL reads its set-up once, at the first device: a silent device at
// 48 kHz, the rate standing for any setting of the user's own.
struct SilentDevice {
    testsupport::TempDir dir;
    std::string conf = dir.File("user.conf");
    SilentDevice() {
        testsupport::WriteFileBytes(conf, "frequency = 48000\n");
        setenv("ALSOFT_DRIVERS", "null", 1);
        setenv("ALSOFT_CONF", conf.c_str(), 1);
    }
};
SilentDevice& Device() {
    static SilentDevice device;
    return device;
}

WAVEFORMATEX Pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    auto align = static_cast<std::uint16_t>(channels * bits / 8);
    return WAVEFORMATEX{WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
}

constexpr std::uint32_t kWaveFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME;

class DirectSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        Device();
        ASSERT_EQ(CreateOpenALDirectSound(ds.Put()), DS_OK);
    }
    HRESULT Create(const WAVEFORMATEX& format, std::uint32_t bytes, ComRef<IDirectSoundBuffer>& out,
                   std::uint32_t flags = kWaveFlags) {
        DSBUFFERDESC desc{DSBUFFERDESC_SIZE, flags, bytes, 0, &format};
        return ds->CreateSoundBuffer(&desc, out.Put(), nullptr);
    }
    // One second of a loud square wave, 16-bit mono at 22.05 kHz.
    void CreateSecond(ComRef<IDirectSoundBuffer>& out) {
        ASSERT_EQ(Create(Pcm(1, 22050, 16), 44100, out), DS_OK);
        void* region1 = nullptr;
        void* region2 = nullptr;
        std::uint32_t bytes1 = 0, bytes2 = 0;
        ASSERT_EQ(out->Lock(0, 44100, &region1, &bytes1, &region2, &bytes2, 0), DS_OK);
        auto* samples = static_cast<std::int16_t*>(region1);
        for (std::uint32_t i = 0; i < bytes1 / 2; ++i)
            samples[i] = (i / 50) % 2 ? 8000 : -8000;
        ASSERT_EQ(out->Unlock(region1, bytes1, region2, bytes2), DS_OK);
    }
    static std::uint32_t Position(IDirectSoundBuffer* buffer) {
        std::uint32_t play = 0, write = 0;
        buffer->GetCurrentPosition(&play, &write);
        return play;
    }
    static void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    ComRef<IDirectSound> ds;
};

TEST(ConversionsTest, HundredthsOfADecibelBecomeGainAndDirectionsFlipDepth) {
    EXPECT_FLOAT_EQ(VolumeToGain(0), 1.0f);
    EXPECT_FLOAT_EQ(VolumeToGain(-2000), 0.1f);
    EXPECT_NEAR(VolumeToGain(-600), 0.501f, 0.001f);
    EXPECT_EQ(VolumeToGain(-10000), 0.0f);
    EXPECT_EQ(VolumeToGain(-30000), 0.0f);
    auto v = ToOpenALVector({1, 2, 3});
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[2], -3);
    EXPECT_FLOAT_EQ(FrequencyToPitch(22050, 44100), 0.5f);
    EXPECT_FLOAT_EQ(FrequencyToPitch(DSBFREQUENCY_ORIGINAL, 44100), 1.0f);
}

TEST_F(DirectSoundTest, TheDeviceUpdatesEvery256FramesAndKeepsTheUsersSettings) {
    ALCdevice* device = alcGetContextsDevice(alcGetCurrentContext());
    ASSERT_NE(device, nullptr);
    ALCint frequency = 0, refresh = 0;
    alcGetIntegerv(device, ALC_FREQUENCY, 1, &frequency);
    alcGetIntegerv(device, ALC_REFRESH, 1, &refresh);
    // The user's own settings still apply, and updates come 256 frames apart.
    EXPECT_EQ(frequency, 48000);
    EXPECT_EQ(refresh, 48000 / 256);
    EXPECT_STREQ(std::getenv("ALSOFT_CONF"), Device().conf.c_str());
    // What the device reports as the delay between mixing and hearing.
    if (alcIsExtensionPresent(device, "ALC_SOFT_device_clock")) {
        auto get = reinterpret_cast<LPALCGETINTEGER64VSOFT>(
            alcGetProcAddress(device, "alcGetInteger64vSOFT"));
        ALCint64SOFT clockAndLatency[2] = {0, 0};
        get(device, ALC_DEVICE_CLOCK_LATENCY_SOFT, 2, clockAndLatency);
        std::printf("device latency %.1f ms\n", clockAndLatency[1] / 1e6);
    }
}

TEST_F(DirectSoundTest, OnlyPcmOf8Or16BitsInOneOrTwoChannelsIsAccepted) {
    ComRef<IDirectSoundBuffer> buffer;
    for (auto format : {Pcm(1, 8000, 8), Pcm(2, 11025, 8), Pcm(1, 44100, 16), Pcm(2, 96000, 16)})
        EXPECT_EQ(Create(format, 64, buffer), DS_OK);
    WAVEFORMATEX adpcm = Pcm(1, 22050, 16);
    adpcm.wFormatTag = 2;
    WAVEFORMATEX badAlign = Pcm(2, 22050, 16);
    badAlign.nBlockAlign = 2;
    for (auto format : {adpcm, badAlign, Pcm(3, 22050, 16), Pcm(1, 22050, 24), Pcm(1, 22050, 12),
                        Pcm(1, 0, 16), Pcm(0, 22050, 16)})
        EXPECT_EQ(Create(format, 64, buffer), DSERR_BADFORMAT);
    EXPECT_EQ(Create(Pcm(1, 22050, 16), 0, buffer), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Pcm(1, 22050, 16), DSBSIZE_MAX + 1, buffer), DSERR_INVALIDPARAM);
    DSBUFFERDESC noFormat{DSBUFFERDESC_SIZE, kWaveFlags, 64, 0, nullptr};
    EXPECT_EQ(ds->CreateSoundBuffer(&noFormat, buffer.Put(), nullptr), DSERR_INVALIDPARAM);
    EXPECT_FALSE(buffer);
}

TEST_F(DirectSoundTest, APrimaryBufferWith3DControlGivesTheListener) {
    ComRef<IDirectSoundBuffer> plain, spatial;
    DSBUFFERDESC desc{DSBUFFERDESC_SIZE, DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr};
    ASSERT_EQ(ds->CreateSoundBuffer(&desc, plain.Put(), nullptr), DS_OK);
    desc.dwFlags |= DSBCAPS_CTRL3D;
    ASSERT_EQ(ds->CreateSoundBuffer(&desc, spatial.Put(), nullptr), DS_OK);
    ComRef<IDirectSound3DListener> listener;
    EXPECT_EQ(plain->QueryInterface(listener.Put()), DSERR_NOINTERFACE);
    ASSERT_EQ(spatial->QueryInterface(listener.Put()), DS_OK);

    DS3DLISTENER params{};
    params.dwSize = sizeof params;
    ASSERT_EQ(listener->GetAllParameters(&params), DS_OK);
    EXPECT_EQ(params.vOrientFront.z, 1.0f);
    params.vPosition = {1, 2, 3};
    params.flRolloffFactor = 2;
    EXPECT_EQ(listener->SetAllParameters(&params, DS3D_IMMEDIATE), DS_OK);
    EXPECT_EQ(listener->SetAllParameters(&params, DS3D_DEFERRED), DSERR_UNSUPPORTED);
    DS3DLISTENER wrong = params;
    wrong.vOrientFront = {0, 0, 0};
    EXPECT_EQ(listener->SetAllParameters(&wrong, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    DS3DLISTENER read{};
    read.dwSize = sizeof read;
    listener->GetAllParameters(&read);
    EXPECT_EQ(read.vPosition.z, 3.0f);
    EXPECT_EQ(read.flRolloffFactor, 2.0f);
    // Each interface counts its own references.
    EXPECT_EQ(listener.Reset(), 0u);
    EXPECT_EQ(spatial.Reset(), 0u);
}

TEST_F(DirectSoundTest, OnlyBuffersWith3DControlHave3DSettings) {
    ComRef<IDirectSoundBuffer> plain, spatial;
    ASSERT_EQ(Create(Pcm(1, 22050, 16), 64, plain), DS_OK);
    ASSERT_EQ(Create(Pcm(1, 22050, 16), 64, spatial, kWaveFlags | DSBCAPS_CTRL3D), DS_OK);
    ComRef<IDirectSound3DBuffer> none, buffer3D;
    EXPECT_EQ(plain->QueryInterface(none.Put()), DSERR_NOINTERFACE);
    ASSERT_EQ(spatial->QueryInterface(buffer3D.Put()), DS_OK);
    DS3DBUFFER params{};
    params.dwSize = sizeof params;
    ASSERT_EQ(buffer3D->GetAllParameters(&params), DS_OK);
    params.vPosition = {4, 0, -2};
    params.dwInsideConeAngle = 90;
    params.dwOutsideConeAngle = 180;
    params.lConeOutsideVolume = -1000;
    params.dwMode = DS3DMODE_HEADRELATIVE;
    EXPECT_EQ(buffer3D->SetAllParameters(&params, DS3D_IMMEDIATE), DS_OK);
    for (auto spoil :
         {+[](DS3DBUFFER& p) { p.dwOutsideConeAngle = 361; },
          +[](DS3DBUFFER& p) { p.flMinDistance = 0; }, +[](DS3DBUFFER& p) { p.dwMode = 3; },
          +[](DS3DBUFFER& p) { p.dwSize = 60; }}) {
        DS3DBUFFER wrong = params;
        spoil(wrong);
        EXPECT_EQ(buffer3D->SetAllParameters(&wrong, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    }
    // A duplicate starts with the original's settings.
    ComRef<IDirectSoundBuffer> copy;
    ASSERT_EQ(ds->DuplicateSoundBuffer(spatial.Get(), copy.Put()), DS_OK);
    ComRef<IDirectSound3DBuffer> copy3D;
    ASSERT_EQ(copy->QueryInterface(copy3D.Put()), DS_OK);
    DS3DBUFFER copied{};
    copied.dwSize = sizeof copied;
    copy3D->GetAllParameters(&copied);
    EXPECT_EQ(copied.vPosition.x, 4.0f);
    EXPECT_EQ(copied.dwMode, DS3DMODE_HEADRELATIVE);
}

TEST_F(DirectSoundTest, LockHandsOutTheBytesAsARing) {
    ComRef<IDirectSoundBuffer> buffer;
    ASSERT_EQ(Create(Pcm(1, 22050, 8), 10, buffer), DS_OK);
    void* region1 = nullptr;
    void* region2 = nullptr;
    std::uint32_t bytes1 = 0, bytes2 = 0;
    ASSERT_EQ(buffer->Lock(6, 8, &region1, &bytes1, &region2, &bytes2, 0), DS_OK);
    EXPECT_EQ(bytes1, 4u);
    EXPECT_EQ(bytes2, 4u);
    EXPECT_EQ(static_cast<std::uint8_t*>(region1) - static_cast<std::uint8_t*>(region2), 6);
    // Fresh 8-bit samples are silence, which is 0x80.
    EXPECT_EQ(*static_cast<std::uint8_t*>(region1), 0x80);
    std::uint8_t foreign[4];
    EXPECT_EQ(buffer->Unlock(foreign, 4, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(region1, 5, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(region1, bytes1, region2, bytes2), DS_OK);
    EXPECT_EQ(buffer->Lock(10, 1, &region1, &bytes1, &region2, &bytes2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 11, &region1, &bytes1, &region2, &bytes2, 0), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, DuplicatesShareSamplesButNotPositionOrVolume) {
    ComRef<IDirectSoundBuffer> original, copy;
    CreateSecond(original);
    EXPECT_EQ(ds->DuplicateSoundBuffer(nullptr, copy.Put()), DSERR_INVALIDPARAM);
    ComRef<IDirectSoundBuffer> primary;
    DSBUFFERDESC desc{DSBUFFERDESC_SIZE, DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr};
    ds->CreateSoundBuffer(&desc, primary.Put(), nullptr);
    EXPECT_EQ(ds->DuplicateSoundBuffer(primary.Get(), copy.Put()), DSERR_INVALIDPARAM);

    ASSERT_EQ(original->SetVolume(-1200), DS_OK);
    ASSERT_EQ(ds->DuplicateSoundBuffer(original.Get(), copy.Put()), DS_OK);
    std::int32_t volume = 0;
    copy->GetVolume(&volume);
    EXPECT_EQ(volume, -1200); // starts at the original's volume
    copy->SetVolume(0);
    original->GetVolume(&volume);
    EXPECT_EQ(volume, -1200);
    EXPECT_EQ(copy->SetVolume(-10001), DSERR_INVALIDPARAM);

    copy->Play(0, 0, 0);
    Wait(150);
    EXPECT_GT(Position(copy.Get()), 0u);
    EXPECT_EQ(Position(original.Get()), 0u);
    // The device goes first; what it made still works until released.
    EXPECT_EQ(ds.Reset(), 0u);
    EXPECT_EQ(original.Reset(), 0u);
    std::uint32_t status = 0;
    copy->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING);
}

TEST_F(DirectSoundTest, StopPausesAndPlayGoesOnWithoutRestarting) {
    ComRef<IDirectSoundBuffer> buffer;
    CreateSecond(buffer);
    EXPECT_EQ(buffer->Play(1, 0, 0), DSERR_INVALIDPARAM);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    Wait(200);
    std::uint32_t playing = Position(buffer.Get());
    EXPECT_GT(playing, 0u);
    // Play on a playing buffer does not rewind it.
    buffer->Play(0, 0, 0);
    EXPECT_GE(Position(buffer.Get()), playing);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    std::uint32_t stopped = Position(buffer.Get());
    std::uint32_t status = 1;
    buffer->GetStatus(&status);
    EXPECT_EQ(status, 0u);
    Wait(100);
    EXPECT_EQ(Position(buffer.Get()), stopped);
    buffer->Play(0, 0, 0);
    Wait(50);
    EXPECT_GT(Position(buffer.Get()), stopped);
    buffer->Stop();
    ASSERT_EQ(buffer->SetCurrentPosition(1001), DS_OK);
    EXPECT_EQ(Position(buffer.Get()), 1000u); // whole samples only
    EXPECT_EQ(buffer->SetCurrentPosition(44100), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, FrequencyAndVolumeNeedTheirControls) {
    ComRef<IDirectSoundBuffer> bare, wave;
    ASSERT_EQ(Create(Pcm(1, 22050, 16), 64, bare, DSBCAPS_STATIC), DS_OK);
    ASSERT_EQ(Create(Pcm(1, 22050, 16), 64, wave), DS_OK);
    EXPECT_EQ(bare->SetVolume(-100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(bare->SetFrequency(11025), DSERR_CONTROLUNAVAIL);
    std::uint32_t frequency = 0;
    wave->GetFrequency(&frequency);
    EXPECT_EQ(frequency, 22050u);
    EXPECT_EQ(wave->SetFrequency(44100), DS_OK);
    wave->GetFrequency(&frequency);
    EXPECT_EQ(frequency, 44100u);
    EXPECT_EQ(wave->SetFrequency(50), DSERR_INVALIDPARAM);
    EXPECT_EQ(wave->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    wave->GetFrequency(&frequency);
    EXPECT_EQ(frequency, 22050u);
}

// Waits up to two seconds for `condition`.
bool Eventually(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

TEST(OpenALOutput, SleepsWhileNothingPlaysAndWakesToPlayWholeSounds) {
    Device();
    auto device = openal::Device::Open();
    ASSERT_NE(device, nullptr);
    // 100 ms of sound.
    auto store = std::make_shared<openal::SampleStore>(device, Pcm(1, 22050, 16), 4410, false);
    auto voice = std::make_shared<openal::Voice>(device, store, false);
    ASSERT_TRUE(store->Ok() && voice->Ok());
    auto state = [&] {
        device->MakeCurrent();
        ALint value = AL_INITIAL;
        alGetSourcei(voice->Source(), AL_SOURCE_STATE, &value);
        return value;
    };
    EXPECT_TRUE(Eventually([&] { return device->Sleeping(); }));

    for (int round = 0; round < 2; ++round) {
        device->Play(voice->Source());
        EXPECT_FALSE(device->Sleeping());
        EXPECT_EQ(state(), AL_PLAYING);
        // Played to its end (a paused output would hold it at the start),
        // then the output sleeps again.
        EXPECT_TRUE(Eventually([&] { return state() == AL_STOPPED; })) << "round " << round;
        EXPECT_TRUE(Eventually([&] { return device->Sleeping(); })) << "round " << round;
    }
    // A looping sound keeps it awake.
    device->MakeCurrent();
    alSourcei(voice->Source(), AL_LOOPING, AL_TRUE);
    device->Play(voice->Source());
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_FALSE(device->Sleeping());
    EXPECT_EQ(state(), AL_PLAYING);
    alSourceStop(voice->Source());
}

} // namespace
