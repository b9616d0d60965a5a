#pragma once
// What one frame of the world asks of the game run, in the order the frame
// makes its requests: sounds, the music restart and each drawing step. The
// world never draws; the game run's sink draws into the back buffer.

#include "rules/world_types.h"

namespace game {

class World;

class FrameSink {
public:
    virtual ~FrameSink() = default;

    virtual void PlaySound(SoundEffect) {}
    // The ball was lost: the music starts again from its beginning.
    virtual void RestartMusic() {}

    virtual void DrawBackground(const World&) {}
    // index 0 or 1; World::SplashOf(index) tells whether a knock splash goes with it.
    virtual void DrawPimuru(const World&, int /*index*/) {}
    virtual void DrawBall(const World&) {}
    // A drifter that is not free, right after its update (slot 1…capacity).
    virtual void DrawDrifter(const World&, int /*slot*/) {}
    // An effect that was active when the pass reached it (slot 1…100); it
    // may have become inactive in this very frame and is drawn all the same.
    virtual void DrawEffect(const World&, int /*slot*/) {}
    virtual void DrawTexts(const World&) {}
    virtual void DrawBorders(const World&) {}
    // Only while the last rally's score is on show.
    virtual void DrawLastScore(const World&) {}
    // The frame's requests are all made.
    virtual void EndFrame() {}
};

} // namespace game
