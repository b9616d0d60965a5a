#pragma once
// Turns the drawing steps of a frame into the pictures, texts and fills of
// the scene, on a SceneCanvas. It gathers the frame's steps and draws when
// the frame ends, only what the back buffer does not already show. The game
// run's frame sink derives from it and adds the sounds and the music.

#include "game/background_pieces.h"
#include "game/border_repaint.h"
#include "game/scene_canvas.h"
#include "game/scene_draw.h"
#include "game/scene_repaint.h"
#include "rules/frame_sink.h"

#include <string>
#include <vector>

namespace game {

class SceneComposer : public FrameSink {
public:
    explicit SceneComposer(SceneCanvas& canvas) : canvas_(canvas), repaint_(canvas) {}

    void DrawBackground(const World& world) override;
    void DrawPimuru(const World& world, int index) override;
    void DrawBall(const World& world) override;
    void DrawDrifter(const World& world, int slot) override;
    void DrawEffect(const World& world, int slot) override;
    void DrawTexts(const World& world) override;
    void DrawBorders(const World& world) override;
    void DrawLastScore(const World& world) override;
    void EndFrame() override;

    // The title shown on a cleared back buffer before the run starts.
    static void DrawTitle(SceneCanvas& canvas);
    // "得点 " and the score, as the texts show it.
    static std::string ScoreText(std::int32_t score);

private:
    void DrawSprite(Sheet sheet, std::int32_t x, std::int32_t y, const Sprite& sprite);
    // A keyed copy over the background.
    void DrawOver(Sheet sheet, std::int32_t x, std::int32_t y, const base::Rect& whole);
    void DrawText(std::int32_t x, std::int32_t y, const std::string& text, std::int32_t points,
                  std::uint32_t colour);
    // The part of a sheet's rectangle a keyed copy draws, asked of the canvas
    // once for each rectangle.
    const base::Rect& Inked(Sheet sheet, const base::Rect& source);
    // The frame's next step, its room reused from earlier frames.
    SceneDraw& NextDraw();
    // Draws a step over the parts of the frame drawn again.
    void DrawStep(const SceneDraw& draw);
    void DrawBackgroundParts(const BackgroundShifts::Shifts& shifts);
    void DrawBorderParts();

    SceneCanvas& canvas_;
    std::vector<BackgroundPiece> backgroundPieces_; // kept to spare an allocation per frame
    BackgroundShifts shifts_;
    SceneRepaint repaint_;
    BorderRepaint borders_;
    // The frame being gathered: its counter, its steps (the first `count_`
    // of `draws_`) and where the borders come among them.
    bool gathering_ = false;
    std::int32_t frameCounter_ = 0;
    std::vector<SceneDraw> draws_;
    std::size_t count_ = 0;
    std::vector<base::Rect> parts_; // of the step being drawn
    struct InkedSource {
        Sheet sheet;
        base::Rect source;
        base::Rect inked;
    };
    std::vector<InkedSource> inked_;
    static constexpr std::size_t kNoBorders = static_cast<std::size_t>(-1);
    std::size_t afterBorders_ = kNoBorders;
};

} // namespace game
