#pragma once
// One drawing step of a frame over the background: a keyed copy from a sheet
// or a text. Two frames that make the same steps in the same order leave the
// same pixels wherever their backgrounds agree.

#include "base/rect.h"
#include "game/scene_layout.h"

#include <cstdint>
#include <string>

namespace game {

struct SceneDraw {
    bool IsText = false;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    Sheet SheetOf = Sheet::Background; // copies
    base::Rect Source;                 // copies: the sheet's rectangle
    std::string Text;                  // texts, UTF-8
    std::int32_t Points = 0;           // texts
    std::uint32_t Colour = 0;          // texts
    base::Rect Area;                   // the part of the screen it may change

    friend bool operator==(const SceneDraw&, const SceneDraw&) = default;
};

} // namespace game
