#pragma once
// The sound of a game run: restarting a sound effect on its channel and
// driving the music. Neither may stop the game, so every error they raise is
// swallowed here.

#include "game/media_player.h"
#include "platform/component/desktop.h"
#include "sound/ddsd.h"

namespace game {

// How often start-up pumps the window messages between opening the music
// and playing it.
inline constexpr int kMusicOpeningPumps = 1000;

// Cuts the channel's sound off and plays it again from its beginning.
void PlayEffectSound(ddsd::TDDSD& sound, int channel);

// Opens the music, lets the window messages through, rewinds and plays.
void StartMusic(TMediaPlayer& music, ui::Desktop& desktop);
// The music again from its beginning (a new rally).
void RestartMusic(TMediaPlayer& music);
// Stops the music where it is, or plays on from there (a replay paused and
// resumed).
void HoldMusic(TMediaPlayer& music, bool held);
// Stops and closes the music (the run is over).
void EndMusic(TMediaPlayer& music);

} // namespace game
