#pragma once
// The line over the picture while a replay is watched: where it is, its
// length and speed, in a black box at the bottom left. Hidden, the box's
// place is drawn afresh by the scene.

#include "game/back_buffer_canvas.h"
#include "play/replay_playback.h"

namespace game {

class WatchOverlay {
public:
    explicit WatchOverlay(BackBufferCanvas& canvas) : canvas_(canvas) {}

    // Before the frame's scene is drawn: whether the line is shown in it.
    // Once hidden, the frames the back buffer holds are drawn whole.
    void Show(bool shown);
    // After the frame's scene is drawn, when shown.
    void Draw(const play::ReplayPlayback& playback);

private:
    BackBufferCanvas& canvas_;
    bool shown_ = false;
};

} // namespace game
