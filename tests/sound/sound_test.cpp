// The sound component, its channels and wave loading against a DirectSound
// double: the calls made, the failures logged and where the program ends.

#include "sound/ddsd.h"

#include "base/cp932.h"
#include "base/system_error_text.h"
#include "fake_direct_sound.h"
#include "sound/ddsd_log.h"
#include "support/fake_form.h"
#include "support/temp_dir.h"
#include "wav_bytes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <memory>

using namespace testsound;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

struct Halted {};

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        diagnostics::SetLogDirectoryForTesting(dir.Path().string());
        ddsd::Log().DebugLineCount = 0;
        ddsd::Log().HaltOnError = true;
        diagnostics::SetHaltAction([] { throw Halted(); });
        fake.Install();
    }
    void TearDown() override {
        diagnostics::SetHaltAction(nullptr);
        diagnostics::SetLogDirectoryForTesting("");
        ddsd::Log().HaltOnError = true;
    }

    // A component on a form, loaded as the form would load it.
    ddsd::TDDSD* LoadedSound(bool use3D = false, bool stickyFocus = true) {
        auto* sound = new ddsd::TDDSD(form.get());
        sound->Use3D = use3D;
        sound->StickyFocus = stickyFocus;
        form->Load();
        return sound;
    }
    std::string Log() const { return base::Cp932ToUtf8(ReadFileBytes(dir.File("ddsd.debug"))); }
    std::string WriteWave(const std::string& name, const std::string& bytes) const {
        WriteFileBytes(dir.File(name), bytes);
        return dir.File(name);
    }
    std::string GoodWave() const {
        return WriteWave("good.wav", SimpleWave(22050, Pcm16({1, -2, 300, -400})));
    }

    testsupport::TempDir dir;
    FakeSound fake;
    std::unique_ptr<testsupport::FakeForm> form = std::make_unique<testsupport::FakeForm>();
};

TEST_F(SoundTest, LoadingOpensTheDeviceOnTheFormsWindowWithAPrimaryBuffer) {
    ddsd::TDDSD* sound = LoadedSound();
    EXPECT_TRUE(sound->Initialized());
    EXPECT_THAT(fake.calls, ElementsAre("DirectSoundCreate", "SetCooperativeLevel 0x1234 1",
                                        "CreateSoundBuffer size=20 flags=0x1 bytes=0"));
    EXPECT_EQ(sound->Listener(), nullptr);
    EXPECT_EQ(Log(), "");
}

TEST_F(SoundTest, Use3DAddsTheListenerWithItsDefaults) {
    ddsd::TDDSD* sound = LoadedSound(true);
    EXPECT_THAT(fake.calls,
                IsSupersetOf({"CreateSoundBuffer size=20 flags=0x11 bytes=0",
                              "#1 QueryInterface Listener", "Listener SetAllParameters 0"}));
    ASSERT_NE(sound->Listener(), nullptr);
    const dsound::DS3DLISTENER& applied = fake.lastListener;
    EXPECT_EQ(applied.dwSize, 64u);
    EXPECT_EQ(applied.vOrientFront.z, 1.0f);
    EXPECT_EQ(applied.vOrientTop.y, 1.0f);
    EXPECT_EQ(applied.flDistanceFactor, 1.0f);
    EXPECT_EQ(applied.flRolloffFactor, 1.0f);
    EXPECT_EQ(applied.flDopplerFactor, 1.0f);
}

TEST_F(SoundTest, AFailedSetUpStepIsLoggedAndEndsTheProgram) {
    struct Case {
        const char* failing;
        dsound::HRESULT code;
        const char* line;
    } cases[] = {
        {"SetCooperativeLevel", dsound::DSERR_GENERIC,
         "debug#00001 ... DirectSoundの協調レベルの設定に失敗しました(Error Code(80004005))\r\n"},
        {"CreatePrimary", dsound::DSERR_OUTOFMEMORY,
         "debug#00001 ... 一次バッファの作成に失敗しました(Error Code(8007000E))\r\n"},
        {"QueryListener", dsound::DSERR_NOINTERFACE,
         "debug#00001 ... DirectSound3D Listenerの作成に失敗しました(Error Code(80004002))\r\n"},
        {"ListenerSet", dsound::DSERR_INVALIDPARAM,
         "debug#00001 ... Listenerに指定されたパラメータが不適切です(Error Code(80070057))\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        fake.failures = {{c.failing, c.code}};
        ddsd::Log().DebugLineCount = 0;
        ddsd::TDDSD sound(nullptr);
        sound.Use3D = true;
        EXPECT_THROW(sound.Initialize(), Halted);
        EXPECT_EQ(Log(), c.line);
        fake.failures.clear();
    }
}

TEST_F(SoundTest, ChannelNumbersOutsideTheRangeAreLoggedAndEndTheProgram) {
    ddsd::TDDSD* sound = LoadedSound();
    for (int n = 0; n < 8; ++n)
        EXPECT_NE(sound->GetChannel(n), nullptr);
    EXPECT_NE(sound->GetChannel(0), sound->GetChannel(7));
    EXPECT_THROW(sound->GetChannel(8), Halted);
    EXPECT_THROW(sound->GetChannel(-1), Halted);
    EXPECT_EQ(Log(),
              "debug#00001 ... チャンネル番号8は無効です、0～7の範囲で指定してください\r\n"
              "debug#00002 ... チャンネル番号-1は無効です、0～7の範囲で指定してください\r\n");
    ddsd::Log().HaltOnError = false;
    EXPECT_EQ(sound->GetChannel(8), nullptr);
}

TEST_F(SoundTest, WithoutADeviceEverythingIsSilentAndOneLineSaysWhy) {
    fake.failures = {{"DirectSoundCreate", dsound::DSERR_NODRIVER}};
    auto* sound = new ddsd::TDDSD(form.get());
    EXPECT_FALSE(sound->Initialize());
    EXPECT_FALSE(sound->Initialized());
    ddsd::TDDSDChannel* channel = sound->GetChannel(0);
    ASSERT_NE(channel, nullptr);
    {
        ddsd::TDDSDWaveData missing(sound, dir.File("missing.wav"));
        ddsd::TDDSDWaveData good(sound, GoodWave());
        EXPECT_EQ(good.Buffer(), nullptr);
        EXPECT_EQ(good.Size(), 0u);
        channel->setWaveData(&good);
        channel->Stop();
        channel->SetVolume(-10000);
        channel->Play();
        EXPECT_EQ(channel->Volume(), 0);
        EXPECT_EQ(channel->Buffer(), nullptr);
    }
    form.reset();
    EXPECT_THAT(fake.calls, ElementsAre("DirectSoundCreate"));
    // One line says why the game is silent; nothing ends the program.
    EXPECT_EQ(Log(), "debug#00001 ... サウンドデバイスが開けません。音なしで続けます" +
                         diagnostics::ErrorCodeSuffix(dsound::DSERR_NODRIVER) + "\r\n");
}

TEST_F(SoundTest, DestructionFreesChannelsThenReleasesListenerPrimaryAndDevice) {
    ddsd::TDDSD* sound = LoadedSound(true);
    {
        ddsd::TDDSDWaveData wave(sound, GoodWave());
        sound->GetChannel(3)->setWaveData(&wave);
    }
    fake.calls.clear();
    // Someone else still holds each device object: each release is reported.
    ddsd::Log().HaltOnError = false;
    fake.heldElsewhere = {{"Listener", true}, {"Primary", true}, {"DirectSound", true}};
    {
        ddsd::TDDSD held(nullptr);
        held.Use3D = true;
        held.Initialize();
    }
    EXPECT_EQ(Log(), "debug#00001 ... DirectSound3D Listnerの解放に失敗しました(Error Code(1))\r\n"
                     "debug#00002 ... 一次バッファの解放に失敗しました(Error Code(1))\r\n"
                     "debug#00003 ... DirectSoundの解放に失敗しました(Error Code(1))\r\n");
    fake.heldElsewhere.clear();
    fake.calls.clear();
    delete sound;
    // The channel's copy goes first, then the primary buffer and the device.
    EXPECT_THAT(fake.calls, ElementsAre("#3 Release", "#1 Release", "DirectSound Release"));
    EXPECT_EQ(fake.objectsAlive, 3); // only those held elsewhere
}

TEST_F(SoundTest, InDesignModeNothingIsOpened) {
    auto* sound = new ddsd::TDDSD(form.get());
    sound->SetDesigning(true);
    form->Load();
    form.reset();
    EXPECT_TRUE(fake.calls.empty());
}

TEST_F(SoundTest, AWaveCopiesItsSamplesIntoABufferAtTheFilesRate) {
    ddsd::TDDSD* sound = LoadedSound();
    fake.calls.clear();
    ddsd::TDDSDWaveData wave(sound, GoodWave());
    ASSERT_NE(wave.Buffer(), nullptr);
    EXPECT_THAT(fake.calls, ElementsAre("CreateSoundBuffer size=20 flags=0x40e2 bytes=8",
                                        "#2 Lock 0 8 0", "#2 Unlock 8 0", "#2 SetFrequency 22050"));
    EXPECT_EQ(std::string(fake.samples[2]->begin(), fake.samples[2]->end()),
              Pcm16({1, -2, 300, -400}));
    EXPECT_EQ(wave.Size(), 8u);
    EXPECT_EQ(wave.Format().nSamplesPerSec, 22050u);
    EXPECT_EQ(wave.Format().nBlockAlign, 2);
    EXPECT_EQ(wave.Format().cbSize, 0); // a 16-byte format chunk
    EXPECT_EQ(Log(), "");
}

TEST_F(SoundTest, BufferFlagsFollowStickyFocusAnd3D) {
    for (bool sticky : {false, true}) {
        ddsd::TDDSD sound(nullptr);
        sound.StickyFocus = sticky;
        sound.Initialize();
        fake.calls.clear();
        ddsd::TDDSDWaveData plain(&sound, GoodWave());
        ddsd::TDDSDWave3D spatial(&sound, GoodWave());
        EXPECT_EQ(fake.calls[0], sticky ? "CreateSoundBuffer size=20 flags=0x40e2 bytes=8"
                                        : "CreateSoundBuffer size=20 flags=0xe2 bytes=8");
        EXPECT_EQ(fake.calls[4], sticky ? "CreateSoundBuffer size=20 flags=0x40b2 bytes=8"
                                        : "CreateSoundBuffer size=20 flags=0xb2 bytes=8");
    }
}

TEST_F(SoundTest, FileProblemsAreLoggedAfterTheFileNameAndLeaveTheWaveSilent) {
    std::string fmt = Chunk("fmt ", FormatBody(1, 22050, 16));
    std::string data = Chunk("data", Pcm16({1, 2}));
    struct Case {
        std::string name;
        std::string bytes; // empty: no file at all
        std::string text;
    } cases[] = {
        {"se1.wav", "", "が、見つかりません"},
        {"movie.avi", Riff("AVI ", fmt + data), "は、WAVEファイルではありません"},
        {"text.wav", "just some text, no RIFF at all", "は、WAVEファイルではありません"},
        {"nofmt.wav", Riff("WAVE", data), "には、fmtチャンクが有りません"},
        {"shortfmt.wav", Riff("WAVE", "fmt " + Le32(16) + "\x01\x00\x01\x00"),
         "のfmtチャンクが不正です"},
        {"datafirst.wav", Riff("WAVE", data + fmt), "には、dataチャンクが有りません"},
    };
    ddsd::TDDSD* sound = LoadedSound();
    int line = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = c.bytes.empty() ? c.name : WriteWave(c.name, c.bytes);
        ddsd::TDDSDWaveData wave(sound, path);
        EXPECT_EQ(wave.Buffer(), nullptr);
        char number[16];
        std::snprintf(number, sizeof number, "debug#%.5d", ++line);
        EXPECT_THAT(Log(),
                    ::testing::EndsWith(std::string(number) + " ... " + path + c.text + "\r\n"));
    }
    // A file that is there but cannot be opened is not called missing.
    std::filesystem::create_directory(dir.File("folder.wav"));
    ddsd::TDDSDWaveData folder(sound, dir.File("folder.wav"));
    EXPECT_THAT(Log(), ::testing::EndsWith(dir.File("folder.wav") + "が、開けません(" +
                                           base::SystemErrorText(EISDIR) + ")\r\n"));
}

TEST_F(SoundTest, ChunksBeforeTheFormatAreSteppedOverWithTheirFillByte) {
    ddsd::TDDSD* sound = LoadedSound();
    std::string path = WriteWave(
        "odd.wav", Riff("WAVE", Chunk("junk", "abc") + Chunk("LIST", "INFOxyzzy") +
                                    Chunk("fmt ", FormatBody(2, 8000, 8, true)) +
                                    Chunk("fact", "12345") + Chunk("data", "\x10\x20\x30\x40")));
    ddsd::TDDSDWaveData wave(sound, path);
    ASSERT_NE(wave.Buffer(), nullptr);
    EXPECT_EQ(wave.Format().nChannels, 2);
    EXPECT_EQ(wave.Format().nSamplesPerSec, 8000u);
    EXPECT_EQ(std::string(fake.samples[2]->begin(), fake.samples[2]->end()), "\x10\x20\x30\x40");
    EXPECT_EQ(Log(), "");
}

TEST_F(SoundTest, LengthsInTheFileAreNotTrusted) {
    ddsd::TDDSD* sound = LoadedSound();
    std::string fmt = Chunk("fmt ", FormatBody(1, 11025, 16));
    // A cut-off file: its RIFF and data chunks claim far more than it holds.
    std::string head = "RIFF" + Le32(0xFFFFFFF0) + "WAVE" + fmt;
    WriteWave("cut.wav", head + "data" + Le32(0x0FFFFFF0) + Pcm16({5, 6, 7}));
    // With nothing left at all, the smallest buffer, silent.
    WriteWave("empty.wav", head + "data" + Le32(100000));
    // A 40-byte (extensible) format chunk keeps its first 18 bytes.
    std::string longFormat = FormatBody(1, 11025, 16) + Le16(22) + std::string(22, '\x7f');
    WriteWave("long.wav", Riff("WAVE", Chunk("fmt ", longFormat) + Chunk("data", Pcm16({9, 9}))));
    fake.calls.clear();
    ddsd::TDDSDWaveData cut(sound, dir.File("cut.wav"));
    ddsd::TDDSDWaveData empty(sound, dir.File("empty.wav"));
    ddsd::TDDSDWaveData extensible(sound, dir.File("long.wav"));
    EXPECT_TRUE(fake.Called("CreateSoundBuffer size=20 flags=0x40e2 bytes=6"));
    EXPECT_TRUE(fake.Called("CreateSoundBuffer size=20 flags=0x40e2 bytes=4"));
    EXPECT_EQ(cut.Size(), 6u);
    EXPECT_EQ(empty.Size(), 4u);
    EXPECT_NE(extensible.Buffer(), nullptr);
    EXPECT_EQ(extensible.Format().cbSize, 22);
    EXPECT_EQ(extensible.Size(), 4u);
    EXPECT_EQ(Log(), "");
}

TEST_F(SoundTest, AFormatTheDeviceRefusesIsLoggedAndEndsTheProgram) {
    ddsd::TDDSD* sound = LoadedSound();
    std::string path = WriteWave("24bit.wav", SimpleWave(44100, std::string(6, '\0'), 1, 24));
    EXPECT_THROW(ddsd::TDDSDWaveData wave(sound, path), Halted);
    EXPECT_EQ(Log(),
              "debug#00001 ... サウンドバッファの作成に失敗しました(Error Code(88780064))\r\n");
}

TEST_F(SoundTest, ReleasingAWaveThatIsStillHeldIsReported) {
    ddsd::TDDSD* sound = LoadedSound();
    ddsd::Log().HaltOnError = false;
    fake.heldElsewhere = {{"Secondary", true}};
    { ddsd::TDDSDWaveData wave(sound, GoodWave()); }
    EXPECT_EQ(Log(), "debug#00001 ... 二次バッファの解放に失敗しました(Error Code(1))\r\n");
}

TEST_F(SoundTest, AChannelPlaysItsOwnCopyOfTheWave) {
    ddsd::TDDSD* sound = LoadedSound();
    ddsd::TDDSDWaveData wave(sound, GoodWave()); // buffer #2
    ddsd::TDDSDChannel* channel = sound->GetChannel(1);
    fake.calls.clear();
    channel->setWaveData(&wave); // copy #3
    channel->Stop();
    channel->SetVolume(-10000);
    channel->Play();
    channel->SetVolume(0);
    EXPECT_THAT(fake.calls,
                ElementsAre("DuplicateSoundBuffer wave", "#3 Stop", "#3 SetVolume -10000",
                            "#3 SetCurrentPosition 0", "#3 Play 0 0 0", "#3 SetVolume 0"));
    EXPECT_EQ(channel->Frequency(), 22050u);
    EXPECT_EQ(channel->Wave(), &wave);
    EXPECT_FALSE(channel->Is3D());

    fake.calls.clear();
    channel->setWaveData(&wave); // the same wave again: a fresh copy #4
    channel->SetVolume(-300);
    channel->setWaveData(nullptr);
    channel->Play();
    channel->SetVolume(-500);
    EXPECT_THAT(fake.calls, ElementsAre("#3 Release", "DuplicateSoundBuffer wave",
                                        "#4 SetVolume -300", "#4 Release"));
    EXPECT_EQ(channel->Volume(), -300);
    EXPECT_EQ(channel->Buffer(), nullptr);
    channel->setWaveData(&wave); // leaves a copy for the component to free
}

TEST_F(SoundTest, AWaveWhoseFileDidNotLoadOnlySilencesItsChannel) {
    ddsd::TDDSD* sound = LoadedSound();
    ddsd::TDDSDWaveData missing(sound, "se3.wav");
    ddsd::TDDSDChannel* channel = sound->GetChannel(2);
    EXPECT_NO_THROW(channel->setWaveData(&missing));
    EXPECT_EQ(channel->Buffer(), nullptr);
    fake.calls.clear();
    channel->Play();
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(Log(), "debug#00001 ... se3.wavが、見つかりません\r\n"
                     "debug#00002 ... setWaveData サウンドバッファの複製に失敗しました(Error "
                     "Code(80070057))\r\n");
}

TEST_F(SoundTest, AFailedCopyOfALoadedWaveEndsTheProgram) {
    ddsd::TDDSD* sound = LoadedSound();
    ddsd::TDDSDWaveData wave(sound, GoodWave());
    fake.failures = {{"Duplicate", dsound::DSERR_OUTOFMEMORY}};
    EXPECT_THROW(sound->GetChannel(0)->setWaveData(&wave), Halted);
    EXPECT_EQ(Log(), "debug#00001 ... setWaveData サウンドバッファの複製に失敗しました(Error "
                     "Code(8007000E))\r\n");
}

TEST_F(SoundTest, A3DWaveHandsItsSettingsToTheChannel) {
    ddsd::TDDSD* sound = LoadedSound(true);
    ddsd::TDDSDWave3D wave(sound, GoodWave());
    wave.Params3D().Params.vPosition = {1, 2, 3};
    ddsd::TDDSDChannel* channel = sound->GetChannel(0);
    fake.calls.clear();
    channel->setWaveData(&wave);
    EXPECT_THAT(fake.calls, ElementsAre("DuplicateSoundBuffer wave", "#3 QueryInterface 3DBuffer",
                                        "#3 3D SetAllParameters 0"));
    EXPECT_TRUE(channel->Is3D());
    EXPECT_EQ(fake.last3D.vPosition.z, 3.0f);
    EXPECT_EQ(fake.last3D.flMinDistance, 5.0f);
    EXPECT_EQ(fake.last3D.flMaxDistance, 100.0f);
    EXPECT_EQ(fake.last3D.dwInsideConeAngle, 360u);

    // Attaching again releases the 3D interface before the buffer.
    fake.calls.clear();
    fake.failures = {{"Buffer3DSet", dsound::DSERR_INVALIDPARAM}};
    EXPECT_THROW(channel->setWaveData(&wave), Halted);
    ASSERT_GE(fake.calls.size(), 2u);
    EXPECT_EQ(fake.calls[0], "#3 3D Release");
    EXPECT_EQ(fake.calls[1], "#3 Release");
    EXPECT_EQ(
        Log(),
        "debug#00001 ... Params3Dに指定されたパラメータが不適切です(Error Code(80070057))\r\n");
}

} // namespace
