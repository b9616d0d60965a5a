#pragma once
// Watching a replay as a run: the playback moves the world on, the line over
// the picture shows where it is when its key asks, and the music waits while
// the picture stands still.

#include "game/back_buffer_canvas.h"
#include "game/media_player.h"
#include "game/run_driver.h"
#include "game/watch_overlay.h"
#include "play/replay_playback.h"
#include "play/watch_keys.h"

namespace game {

class WatchRun : public RunDriver {
public:
    WatchRun(play::ReplayPlayback& playback, const play::WatchKeys& keys, BackBufferCanvas& canvas,
             TMediaPlayer& music)
        : playback_(playback), keys_(keys), overlay_(canvas), music_(music) {}

    const World& GameWorld() const override { return playback_.GameWorld(); }
    void Advance(FrameSink& shown) override;
    bool Continue(bool quitAsked) override { return playback_.Continue(quitAsked); }
    std::uint32_t ExtraFrameMs() override { return playback_.ExtraFrameMs(); }

private:
    play::ReplayPlayback& playback_;
    const play::WatchKeys& keys_;
    WatchOverlay overlay_;
    TMediaPlayer& music_;
    bool musicHeld_ = false;
};

} // namespace game
