#pragma once
// A frame's requests split in two: the sounds alone, for frames that go by
// faster than they can be shown, and the pictures alone, for a frame drawn
// again while watching is paused.

#include "rules/frame_sink.h"

namespace play {

class SoundsOnly : public game::FrameSink {
public:
    explicit SoundsOnly(game::FrameSink& to) : to_(to) {}
    void PlaySound(game::SoundEffect effect) override { to_.PlaySound(effect); }
    void RestartMusic() override { to_.RestartMusic(); }

private:
    game::FrameSink& to_;
};

class PicturesOnly : public game::FrameSink {
public:
    explicit PicturesOnly(game::FrameSink& to) : to_(to) {}
    void DrawBackground(const game::World& w) override { to_.DrawBackground(w); }
    void DrawPimuru(const game::World& w, int index) override { to_.DrawPimuru(w, index); }
    void DrawBall(const game::World& w) override { to_.DrawBall(w); }
    void DrawDrifter(const game::World& w, int slot) override { to_.DrawDrifter(w, slot); }
    void DrawEffect(const game::World& w, int slot) override { to_.DrawEffect(w, slot); }
    void DrawTexts(const game::World& w) override { to_.DrawTexts(w); }
    void DrawBorders(const game::World& w) override { to_.DrawBorders(w); }
    void DrawLastScore(const game::World& w) override { to_.DrawLastScore(w); }
    void EndFrame() override { to_.EndFrame(); }

private:
    game::FrameSink& to_;
};

} // namespace play
