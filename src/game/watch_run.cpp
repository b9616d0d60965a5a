#include "game/watch_run.h"

#include "game/run_sounds.h"

namespace game {

void WatchRun::Advance(FrameSink& shown) {
    overlay_.Show(keys_.OverlayShown());
    playback_.Advance(shown);
    overlay_.Draw(playback_);
    const bool still = playback_.Paused() || playback_.AtEnd();
    if (still != musicHeld_)
        HoldMusic(music_, musicHeld_ = still);
}

} // namespace game
