#pragma once
// The drawing operations a frame is made of, on the back buffer: copies from
// the four sheets, screen texts, colour fills and the border lines. The game
// run implements them with the display component; tests record them.

#include "base/rect.h"
#include "game/scene_layout.h"

#include <cstdint>
#include <span>
#include <string>

namespace game {

// A Windows colour reference, 0x00BBGGRR.
constexpr std::uint32_t Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return red | (green << 8) | (static_cast<std::uint32_t>(blue) << 16);
}

class SceneCanvas {
public:
    virtual ~SceneCanvas() = default;

    // Copies the source rectangle of a sheet with its top-left corner at
    // (x, y); keyed copies leave out the sheet's black pixels.
    virtual void Draw(Sheet sheet, std::int32_t x, std::int32_t y, const base::Rect& source,
                      bool keyed) = 0;
    // The smallest part of a sheet's rectangle that holds every pixel a keyed
    // copy of it draws; empty when it draws none. The whole rectangle where
    // the sheet cannot be read.
    virtual base::Rect InkedPart(Sheet sheet, const base::Rect& source) = 0;
    // Whether two rectangles of a sheet hold the same pixels; false where
    // their sizes differ or the sheet cannot be read.
    virtual bool SameParts(Sheet sheet, const base::Rect& first, const base::Rect& second) = 0;
    // Text (UTF-8) with its top-left corner at (x, y), transparent background,
    // only where it falls within the given parts of the screen.
    virtual void DrawScreenText(std::int32_t x, std::int32_t y, const std::string& text,
                                std::int32_t points, std::uint32_t colour,
                                std::span<const base::Rect> within) = 0;
    // The part of the screen DrawScreenText may change for that text.
    virtual base::Rect ScreenTextArea(std::int32_t x, std::int32_t y, const std::string& text,
                                      std::int32_t points) = 0;
    // A colour fill with a raw pixel value.
    virtual void FillScreenRect(std::int32_t left, std::int32_t top, std::int32_t right,
                                std::int32_t bottom, std::uint32_t pixel) = 0;
    // Black lines along the right edge and the last row, over the rows top
    // to bottom - 1 (the last row's line only where they include it).
    virtual void DrawBorderLines(std::int32_t top, std::int32_t bottom) = 0;
    // How many frames back the pixels the back buffer holds were drawn: 1
    // where each frame is copied out of it, 2 where flips swap it with the
    // front buffer, 0 where it holds no earlier frame.
    virtual int FramesHeld() const = 0;
};

} // namespace game
