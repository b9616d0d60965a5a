// The sound component on a machine where OpenAL finds no output device.

#include "sound/ddsd.h"

#include "base/cp932.h"
#include "platform/dsound/openal_direct_sound.h"
#include "sound/ddsd_log.h"
#include "support/fake_form.h"
#include "support/temp_dir.h"
#include "wav_bytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

TEST(NoSoundDeviceTest, InitializeFailsWithOneLogLineAndEveryChannelOperationDoesNothing) {
    // A driver list naming nothing that exists: no device opens.
    setenv("ALSOFT_DRIVERS", "none", 1);
    testsupport::TempDir dir;
    diagnostics::SetLogDirectoryForTesting(dir.Path().string());
    diagnostics::SetHaltAction([] { FAIL() << "the program would end"; });
    dsound::InstallOpenALDirectSound();
    testsupport::WriteFileBytes(dir.File("tone.wav"),
                                testsound::SimpleWave(22050, testsound::Pcm16({1, 2, 3, 4})));
    {
        testsupport::FakeForm form;
        auto* sound = new ddsd::TDDSD(&form);
        form.Load();
        EXPECT_FALSE(sound->Initialized());
        EXPECT_FALSE(sound->Initialize());
        ddsd::TDDSDWaveData wave(sound, dir.File("tone.wav"));
        ddsd::TDDSDWaveData missing(sound, dir.File("missing.wav"));
        EXPECT_EQ(wave.Buffer(), nullptr);
        for (int n = 0; n < 8; ++n) {
            ddsd::TDDSDChannel* channel = sound->GetChannel(n);
            ASSERT_NE(channel, nullptr);
            channel->setWaveData(n % 2 ? &wave : &missing);
            channel->Stop();
            channel->SetVolume(-10000);
            channel->Play();
            channel->SetVolume(0);
            EXPECT_EQ(channel->Buffer(), nullptr);
            EXPECT_EQ(channel->Wave(), nullptr);
            EXPECT_EQ(channel->Volume(), 0);
        }
    }
    // Each attempt says why there is no sound, and the game goes on.
    const std::string line = base::Cp932ToUtf8(testsupport::ReadFileBytes(dir.File("ddsd.debug")));
    EXPECT_NE(
        line.find("debug#00002 ... サウンドデバイスが開けません。音なしで続けます(Error Code("),
        std::string::npos)
        << line;
    dsound::SetDirectSoundFactory(nullptr);
    diagnostics::SetHaltAction(nullptr);
    diagnostics::SetLogDirectoryForTesting("");
}

} // namespace
