#pragma once
// What a game run does with one frame's requests: the drawing goes onto the
// back buffer through the scene composer, sound effects restart on their
// channels and a lost ball restarts the music.

#include "game/media_player.h"
#include "game/scene_composer.h"
#include "sound/ddsd.h"

namespace game {

class RunFrameSink : public SceneComposer {
public:
    RunFrameSink(SceneCanvas& canvas, ddsd::TDDSD& sound, TMediaPlayer& music);

    void PlaySound(SoundEffect effect) override;
    void RestartMusic() override;

private:
    ddsd::TDDSD& sound_;
    TMediaPlayer& music_;
};

} // namespace game
