#include "game/run_frame_sink.h"

#include "game/run_sounds.h"

namespace game {

RunFrameSink::RunFrameSink(SceneCanvas& canvas, ddsd::TDDSD& sound, TMediaPlayer& music)
    : SceneComposer(canvas), sound_(sound), music_(music) {}

void RunFrameSink::PlaySound(SoundEffect effect) {
    PlayEffectSound(sound_, static_cast<int>(effect));
}

void RunFrameSink::RestartMusic() { game::RestartMusic(music_); }

} // namespace game
