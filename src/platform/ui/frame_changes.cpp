#include "platform/ui/frame_changes.h"

#include "base/bit_runs.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace ui {

namespace {

std::size_t RowBytes(const ddraw::PixelView& view) {
    return static_cast<std::size_t>(view.Width) * (view.BitsPerPixel / 8);
}

// Runs of marked tiles, row of tiles by row of tiles, as areas of pixels;
// a run with the same columns as one in the row above lengthens that one.
// `above` and `here` are room for the areas that reach the row above and
// this one.
void AreasOf(const std::vector<std::uint64_t>& tiles, int across, int words, int down, int width, int height,
             std::vector<std::size_t>& above, std::vector<std::size_t>& here, std::vector<base::Rect>& areas) {
    areas.clear();
    above.clear();
    for (int ty = 0; ty < down; ++ty) {
        const std::span<const std::uint64_t> row(tiles.data() + static_cast<std::size_t>(ty) * words,
                                                 static_cast<std::size_t>(words));
        const int top = ty * FrameChanges::kTileHeight;
        const int bottom = std::min(top + FrameChanges::kTileHeight, height);
        here.clear();
        base::ForEachRun(row, across, [&](int first, int end) {
            const int left = first * FrameChanges::kTileWidth;
            const int right = std::min(end * FrameChanges::kTileWidth, width);
            const auto same = std::find_if(above.begin(), above.end(), [&](std::size_t i) {
                return areas[i].Left == left && areas[i].Right == right;
            });
            if (same != above.end()) {
                areas[*same].Bottom = bottom;
                here.push_back(*same);
            } else {
                here.push_back(areas.size());
                areas.push_back({left, top, right, bottom});
            }
        });
        std::swap(above, here);
    }
}

} // namespace

bool FrameChanges::SameLayout(const ddraw::PixelView& frame) const {
    const ddraw::PixelView& k = kept_;
    if (!k.Pixels || k.Width != frame.Width || k.Height != frame.Height ||
        k.BitsPerPixel != frame.BitsPerPixel || k.Format.dwRBitMask != frame.Format.dwRBitMask ||
        k.Format.dwGBitMask != frame.Format.dwGBitMask || k.Format.dwBBitMask != frame.Format.dwBBitMask ||
        (k.Palette == nullptr) != (frame.Palette == nullptr))
        return false;
    return !frame.Palette || std::equal(palette_.begin(), palette_.end(), frame.Palette);
}

void FrameChanges::TakeLayout(const ddraw::PixelView& frame) {
    const std::size_t rowBytes = RowBytes(frame);
    const std::size_t bytes = rowBytes * static_cast<std::size_t>(std::max<ddraw::LONG>(frame.Height, 0));
    if (!pixels_.Fit(bytes)) {
        kept_ = {};
        throw std::bad_alloc(); // as the vector it replaces did
    }
    kept_ = frame;
    kept_.Pixels = pixels_.Data();
    kept_.Pitch = static_cast<ddraw::LONG>(rowBytes);
    for (int y = 0; bytes && y < frame.Height; ++y)
        std::memcpy(kept_.Row(y), frame.Row(y), rowBytes);
    if (frame.Palette) {
        std::copy(frame.Palette, frame.Palette + palette_.size(), palette_.begin());
        kept_.Palette = palette_.data();
    }
    for (auto& tiles : changed_)
        tiles.clear();
}

std::uint64_t FrameChanges::Take(const ddraw::PixelView& frame) {
    ++taken_;
    if (!SameLayout(frame)) {
        TakeLayout(frame);
        firstOfLayout_ = taken_;
        return taken_;
    }
    const int across = TilesAcross(), words = WordsAcross();
    std::vector<std::uint64_t>& tiles = changed_[taken_ % kHistory];
    tiles.assign(static_cast<std::size_t>(words) * TilesDown(), 0);
    const std::size_t rowBytes = RowBytes(frame);
    const std::size_t tileBytes = static_cast<std::size_t>(kTileWidth) * (frame.BitsPerPixel / 8);
    for (int y = 0; y < frame.Height; ++y) {
        const ddraw::BYTE* in = frame.Row(y);
        ddraw::BYTE* kept = kept_.Row(y);
        // Most rows of a game's frame stay as they were: one comparison
        // tells, and only a row that changed is looked at tile by tile.
        if (std::memcmp(in, kept, rowBytes) == 0)
            continue;
        std::uint64_t* marks = tiles.data() + static_cast<std::size_t>(y / kTileHeight) * words;
        for (int tx = 0; tx < across; ++tx) {
            const std::size_t offset = static_cast<std::size_t>(tx) * tileBytes;
            const std::uint64_t bit = std::uint64_t{1} << (tx % 64);
            if (!(marks[tx / 64] & bit) &&
                std::memcmp(in + offset, kept + offset, std::min(tileBytes, rowBytes - offset)) != 0)
                marks[tx / 64] |= bit;
        }
        std::memcpy(kept, in, rowBytes);
    }
    return taken_;
}

const std::vector<base::Rect>& FrameChanges::ChangedSince(std::uint64_t since) const {
    std::vector<base::Rect>& areas = scratch_.areas;
    areas.clear();
    if (since >= taken_)
        return areas;
    const int across = TilesAcross(), words = WordsAcross(), down = TilesDown();
    std::vector<std::uint64_t>& tiles = scratch_.tiles;
    tiles.assign(static_cast<std::size_t>(words) * down, 0);
    if (since < firstOfLayout_ || taken_ - since > kHistory) {
        for (std::size_t row = 0; row < tiles.size(); row += static_cast<std::size_t>(words))
            base::SetBits(std::span(tiles).subspan(row, static_cast<std::size_t>(words)), 0, across);
    } else {
        for (std::uint64_t n = since + 1; n <= taken_; ++n) {
            const std::vector<std::uint64_t>& changed = changed_[n % kHistory];
            for (std::size_t i = 0; i < tiles.size(); ++i)
                tiles[i] |= changed[i];
        }
    }
    AreasOf(tiles, across, words, down, kept_.Width, kept_.Height, scratch_.above, scratch_.here, areas);
    return areas;
}

} // namespace ui
