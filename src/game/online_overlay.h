#pragma once
// What an online run shows over the picture: a line at the bottom left with
// the way to the partner (直接 direct, 中継 through the relay), the round trip,
// the input delay and the frames rolled back (H hides it),
// and while the partner is quiet, that the game waits for them.

#include "game/back_buffer_canvas.h"
#include "play/online_play.h"

namespace game {

class OnlineOverlay {
public:
    // relayed: whether the run's datagrams go through the meeting server's relay.
    OnlineOverlay(BackBufferCanvas& canvas, bool relayed) : canvas_(canvas), relayed_(relayed) {}

    // After the frame's scene is drawn.
    void Draw(const play::OnlinePlay& online, bool lineShown);

private:
    BackBufferCanvas& canvas_;
    bool relayed_;
    bool lineWasShown_ = false;
    bool quietWasShown_ = false;
};

} // namespace game
