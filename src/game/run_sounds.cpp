#include "game/run_sounds.h"

#include "sound/channel.h"
#include "sound/ddsd_log.h"

#include <exception>

namespace game {

void PlayEffectSound(ddsd::TDDSD& sound, int channel) {
    try {
        ddsd::TDDSDChannel* target = sound.GetChannel(channel);
        if (!target)
            return;
        target->Stop();
        // Silent while it restarts, so no click of the old sound is heard.
        target->SetVolume(-10000);
        target->Play();
        target->SetVolume(0);
    } catch (const std::exception&) {
    }
}

void StartMusic(TMediaPlayer& music, ui::Desktop& desktop) {
    try {
        music.Open();
        for (int i = 0; i < kMusicOpeningPumps; ++i)
            desktop.ProcessMessages();
        music.Rewind();
        music.Play();
    } catch (const std::exception& error) {
        // The run goes on without music; the sound log says why.
        ddsd::ReportMessage(music.FileName + "の演奏を始められません(" + error.what() + ")");
    }
}

void RestartMusic(TMediaPlayer& music) {
    try {
        music.Stop();
        music.Rewind();
        music.Play();
    } catch (const std::exception&) {
    }
}

void HoldMusic(TMediaPlayer& music, bool held) {
    try {
        if (held)
            music.Stop();
        else
            music.Play();
    } catch (const std::exception&) {
    }
}

void EndMusic(TMediaPlayer& music) {
    try {
        music.Stop();
        music.Close();
    } catch (const std::exception&) {
    }
}

} // namespace game
