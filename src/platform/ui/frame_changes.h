#pragma once
// What changed from one frame to the next, found in tiles of a few pixels and
// kept for the last few frames: a buffer that shows an older frame is brought
// up to date with only the tiles changed since, and a compositor is told of
// no more than that. Keeps its own copy of the last frame to compare with.

#include "base/rect.h"
#include "platform/ddraw/pixel_memory.h"
#include "platform/ddraw/pixel_view.h"

#include <array>
#include <cstdint>
#include <vector>

namespace ui {

class FrameChanges {
public:
    // Small enough that a sprite moving by a pixel marks little beyond
    // itself, large enough that a frame's changes make a few dozen areas.
    static constexpr int kTileWidth = 16;
    static constexpr int kTileHeight = 2;
    // How many frames back changes are remembered; older frames are taken
    // as differing everywhere.
    static constexpr int kHistory = 4;

    // Takes the next frame (numbered from 1) and returns its number. A frame
    // of another size, pixel layout or palette differs everywhere.
    std::uint64_t Take(const ddraw::PixelView& frame);
    std::uint64_t Last() const { return taken_; }

    // Where the last frame differs from frame `since` (0: from nothing), as
    // areas of its pixels (right and bottom exclusive) that do not overlap, top to bottom; tiles in a row of tiles join
    // into one area and areas of the same columns in consecutive rows of
    // tiles into one. Empty when nothing changed. The list stays valid until
    // the next call.
    const std::vector<base::Rect>& ChangedSince(std::uint64_t since) const;

    // The last frame taken, in the copy kept here (no pixels before the
    // first).
    const ddraw::PixelView& Kept() const { return kept_; }

private:
    bool SameLayout(const ddraw::PixelView& frame) const;
    void TakeLayout(const ddraw::PixelView& frame);
    int TilesAcross() const { return (kept_.Width + kTileWidth - 1) / kTileWidth; }
    int TilesDown() const { return (kept_.Height + kTileHeight - 1) / kTileHeight; }
    // A row of tiles in bits, 64 to a word.
    int WordsAcross() const { return (TilesAcross() + 63) / 64; }

    ddraw::PixelView kept_;
    // The copy's pixels, on huge pages as a frame's are: comparing two frames
    // after a frame's sleep then walks few page tables.
    ddraw::PixelBuffer pixels_;
    std::array<ddraw::PALETTEENTRY, 256> palette_{};
    std::uint64_t taken_ = 0;
    std::uint64_t firstOfLayout_ = 0; // earlier frames differ everywhere
    // The tiles that frame n changed (one bit a tile, row by row, each row
    // in whole words), at n % kHistory.
    std::array<std::vector<std::uint64_t>, kHistory> changed_;
    // Room for finding the areas, and the areas, kept from call to call: a
    // frame asks the heap for nothing. (A large request each frame would also
    // make the heap merge every small block freed since the last one.)
    struct Scratch {
        std::vector<std::uint64_t> tiles;
        std::vector<std::size_t> above, here;
        std::vector<base::Rect> areas;
    };
    mutable Scratch scratch_;
};

} // namespace ui
