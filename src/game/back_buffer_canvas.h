#pragma once
// The scene's drawing operations carried out on the display component's back
// buffer: sheet copies with Draw, colour fills with DrawFx, and texts and
// border lines each on a short-lived canvas of their own.

#include "display/dddd.h"
#include "game/scene_canvas.h"
#include "platform/ddraw/ddraw.h"

#include <array>

namespace game {

class BackBufferCanvas : public SceneCanvas {
public:
    explicit BackBufferCanvas(dddd::TDDDD& display);

    // The surface a sheet is copied from; a sheet without one is not drawn.
    void SetSheet(Sheet sheet, dddd::TDDDDGenSurface* surface);

    void Draw(Sheet sheet, std::int32_t x, std::int32_t y, const base::Rect& source,
              bool keyed) override;
    base::Rect InkedPart(Sheet sheet, const base::Rect& source) override;
    bool SameParts(Sheet sheet, const base::Rect& first, const base::Rect& second) override;
    void DrawScreenText(std::int32_t x, std::int32_t y, const std::string& text,
                        std::int32_t points, std::uint32_t colour,
                        std::span<const base::Rect> within) override;
    base::Rect ScreenTextArea(std::int32_t x, std::int32_t y, const std::string& text,
                              std::int32_t points) override;
    void FillScreenRect(std::int32_t left, std::int32_t top, std::int32_t right,
                        std::int32_t bottom, std::uint32_t pixel) override;
    void DrawBorderLines(std::int32_t top, std::int32_t bottom) override;
    int FramesHeld() const override;
    // Something other than the scene drew over the back buffer: the next
    // frames the buffer may hold are drawn whole.
    void DrawWholeFrames();

private:
    dddd::TDDDD& display_;
    std::array<dddd::TDDDDGenSurface*, 4> sheets_{};
    // The fill record: only its fill colour changes between fills.
    ddraw::DDBLTFX fill_ = ddraw::MakeBltFx();
    mutable int wholeFrames_ = 0; // counted down as frames ask FramesHeld
};

} // namespace game
