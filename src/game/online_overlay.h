#pragma once
// What an online run shows over the picture: a line at the bottom left with
// the round trip, the input delay and the frames rolled back (H hides it),
// and while the partner is quiet, that the game waits for them.

#include "game/back_buffer_canvas.h"
#include "play/online_play.h"

namespace game {

class OnlineOverlay {
public:
    explicit OnlineOverlay(BackBufferCanvas& canvas) : canvas_(canvas) {}

    // After the frame's scene is drawn.
    void Draw(const play::OnlinePlay& online, bool lineShown);

private:
    BackBufferCanvas& canvas_;
    bool lineWasShown_ = false;
    bool quietWasShown_ = false;
};

} // namespace game
