// What changed between frames, as the areas a compositor is told to repaint
// and a buffer is brought up to date with.
#include "platform/ui/frame_changes.h"

#include "platform/ddraw/pixel_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using ui::FrameChanges;

constexpr int kTileW = FrameChanges::kTileWidth;
constexpr int kTileH = FrameChanges::kTileHeight;

// A 16-bit frame eight tiles wide and four tiles high, all zero.
struct Frame {
    Frame() : pixels(static_cast<std::size_t>(kWidth) * kHeight, 0) {
        view.Pixels = reinterpret_cast<ddraw::BYTE*>(pixels.data());
        view.Width = kWidth;
        view.Height = kHeight;
        view.Pitch = kWidth * 2;
        view.BitsPerPixel = 16;
        view.Format = ddraw::DisplayPixelFormat(16, ddraw::HighColorLayout::Rgb565);
    }
    void Set(int x, int y, std::uint16_t value) { pixels[static_cast<std::size_t>(y) * kWidth + x] = value; }

    static constexpr int kWidth = 8 * kTileW;
    static constexpr int kHeight = 4 * kTileH;
    std::vector<std::uint16_t> pixels;
    ddraw::PixelView view;
};

const base::Rect kWhole{0, 0, Frame::kWidth, Frame::kHeight};

TEST(FrameChanges, FindsOnlyTheTilesThatChangedAndJoinsThem) {
    FrameChanges changes;
    Frame frame;
    const std::uint64_t first = changes.Take(frame.view);
    EXPECT_EQ(changes.ChangedSince(0), std::vector<base::Rect>{kWhole});

    // Two pixels far apart in one row of tiles: two areas, not the row's
    // span. A pixel in each of two rows of tiles in the same column of
    // tiles: one area over both.
    frame.Set(1, 1, 7);
    frame.Set(6 * kTileW + 3, 1, 7);
    frame.Set(3 * kTileW, 2 * kTileH, 7);
    frame.Set(3 * kTileW + 1, 3 * kTileH + 1, 7);
    changes.Take(frame.view);
    const std::vector<base::Rect> expected{{0, 0, kTileW, kTileH},
                                          {6 * kTileW, 0, 7 * kTileW, kTileH},
                                          {3 * kTileW, 2 * kTileH, 4 * kTileW, 4 * kTileH}};
    EXPECT_EQ(changes.ChangedSince(first), expected);

    // The same frame again changes nothing.
    const std::uint64_t second = changes.Take(frame.view);
    EXPECT_TRUE(changes.ChangedSince(second - 1).empty());
    EXPECT_TRUE(changes.ChangedSince(second).empty());
    EXPECT_EQ(changes.Kept().Width, Frame::kWidth);
    EXPECT_EQ(reinterpret_cast<const std::uint16_t*>(changes.Kept().Row(1))[1], 7);
}

TEST(FrameChanges, RemembersChangesOfRecentFramesOnly) {
    FrameChanges changes;
    Frame frame;
    const std::uint64_t first = changes.Take(frame.view);
    frame.Set(0, 0, 1);
    changes.Take(frame.view);
    frame.Set(0, 0, 0); // back as it was, but a buffer that held frame 2 must change
    frame.Set(Frame::kWidth - 1, Frame::kHeight - 1, 1);
    const std::uint64_t third = changes.Take(frame.view);
    const std::vector<base::Rect> sinceFirst{{0, 0, kTileW, kTileH},
                                            {Frame::kWidth - kTileW, Frame::kHeight - kTileH, Frame::kWidth,
                                             Frame::kHeight}};
    EXPECT_EQ(changes.ChangedSince(first), sinceFirst);
    EXPECT_EQ(changes.ChangedSince(third - 1), sinceFirst);

    // Older than the remembered frames: everything.
    for (int i = 0; i < FrameChanges::kHistory; ++i)
        changes.Take(frame.view);
    EXPECT_EQ(changes.ChangedSince(third), std::vector<base::Rect>{});
    EXPECT_EQ(changes.ChangedSince(first), std::vector<base::Rect>{kWhole});

    // Another palette or pixel layout: everything.
    const std::uint64_t last = changes.Last();
    frame.view.Format = ddraw::DisplayPixelFormat(16, ddraw::HighColorLayout::Rgb555);
    changes.Take(frame.view);
    EXPECT_EQ(changes.ChangedSince(last), std::vector<base::Rect>{kWhole});
}

} // namespace
