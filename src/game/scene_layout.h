#pragma once
// Where the game's pictures sit on their sheets and where and how they are
// drawn: source rectangles (right and bottom exclusive), the swing table and
// the sine sways of the background and the effects.

#include "base/rect.h"

#include <cstdint>

namespace game {

// The screen a frame is drawn on, and the size of the four pictures a run loads.
inline constexpr std::int32_t kScreenWidth = 640;
inline constexpr std::int32_t kScreenHeight = 480;

enum class Sheet { Background, Characters, Pimuru1, Pimuru2 };

// A picture of a sheet and the offset of its top-left corner from the
// object's position.
struct Sprite {
    base::Rect Source;
    std::int32_t OffsetX = 0;
    std::int32_t OffsetY = 0;
};

inline constexpr int kSwingFrames = 18;
// The pimuru picture shown for each swing frame; picture 0 is at rest.
inline constexpr std::int32_t kSwingTable[kSwingFrames] = {0, 2, 4, 8, 11, 10, 9, 8, 7,
                                                           6, 5, 4, 3, 2,  1,  0, 0, 0};

inline constexpr int kBackgroundStrips = 97;

// Picture f (0…11) of a pimuru sheet, four to a row.
Sprite PimuruSprite(std::int32_t picture);
// The pimuru picture for a swing frame (clamped to the table).
std::int32_t SwingPicture(std::int32_t swingFrame);
// Ball picture 0…3 on the character sheet.
Sprite BallSprite(std::int32_t picture);
// Burst picture 0…3 on the character sheet.
Sprite BurstSprite(std::int32_t picture);
// Drifter picture 0…3 in the row below the pimuru on a pimuru sheet.
Sprite DrifterSprite(std::int32_t picture);
// Effect kinds 1…4 on the character sheet; false for any other kind.
bool EffectSprite(std::int32_t kind, Sprite& sprite);
// Knock splash A (0) or B (1); placed by the world, so no offset.
base::Rect SplashSource(std::int32_t picture);

// All drifters show the same picture m = 0…7, changing every 2 frames:
// pictures 0–3 from pimuru 1's sheet, 4–7 from pimuru 2's.
struct DrifterLook {
    Sheet SheetOf;
    std::int32_t Picture; // 0…3 on that sheet
};
DrifterLook DrifterLookAt(std::int32_t frameCounter);

// Sideways shift of background strip i (0…96): at most 4 pixels either way.
std::int32_t BackgroundOffset(std::int32_t frameCounter, int strip);
// Sideways sway of effect slot j (1…100) of a kind: at most 9 pixels either way,
// slower for higher kinds.
std::int32_t EffectSway(std::int32_t frameCounter, int slot, std::int32_t kind);

} // namespace game
