#include "surfaces/clipping.h"

#include <gtest/gtest.h>

using base::MakeRect;
using base::Rect;

namespace {

const Rect kScreen = MakeRect(0, 0, 640, 480);

struct PointCopy {
    bool kept;
    std::int32_t x, y;
    Rect src;
};

PointCopy ClipAt(std::int32_t x, std::int32_t y, Rect src, Rect clip = kScreen) {
    bool kept = dddd::ClipSourceAt(x, y, src, clip);
    return {kept, x, y, src};
}

TEST(ClipSourceAt, CutsTheSourceWhereTheCopyLeavesTheClipRectangle) {
    auto left = ClipAt(-8, 10, MakeRect(0, 0, 32, 32));
    ASSERT_TRUE(left.kept);
    EXPECT_EQ(left.x, 0);
    EXPECT_EQ(left.src, MakeRect(8, 0, 32, 32));

    auto right = ClipAt(630, 10, MakeRect(0, 0, 32, 32));
    ASSERT_TRUE(right.kept);
    EXPECT_EQ(right.x, 630);
    EXPECT_EQ(right.src, MakeRect(0, 0, 10, 32));

    auto bottom = ClipAt(5, 470, MakeRect(100, 200, 132, 232));
    ASSERT_TRUE(bottom.kept);
    EXPECT_EQ(bottom.src, MakeRect(100, 200, 132, 210));

    // Wider than the clip on both sides: the source keeps the middle part.
    auto both = ClipAt(-10, 0, MakeRect(0, 0, 660, 10));
    ASSERT_TRUE(both.kept);
    EXPECT_EQ(both.x, 0);
    EXPECT_EQ(both.src, MakeRect(10, 0, 650, 10));
}

TEST(ClipSourceAt, RejectsOnlyWhatLiesStrictlyOutside) {
    EXPECT_FALSE(ClipAt(-40, 10, MakeRect(0, 0, 32, 32)).kept);
    EXPECT_FALSE(ClipAt(10, 481, MakeRect(0, 0, 32, 32)).kept);

    // Touching from the right or below passes and leaves an empty source.
    auto right = ClipAt(640, 10, MakeRect(0, 0, 32, 32));
    ASSERT_TRUE(right.kept);
    EXPECT_EQ(right.x, 640);
    EXPECT_EQ(right.src.Width(), 0);
    EXPECT_EQ(right.src.Left, 0);

    // Touching from the left: the source start moves up to its end.
    auto left = ClipAt(-32, 10, MakeRect(0, 0, 32, 32));
    ASSERT_TRUE(left.kept);
    EXPECT_EQ(left.x, 0);
    EXPECT_EQ(left.src, MakeRect(32, 0, 32, 32));
}

TEST(ClipSourceAt, MirroredRectanglesAreNormalised) {
    auto given = ClipAt(-8, 10, MakeRect(32, 32, 0, 0));
    auto plain = ClipAt(-8, 10, MakeRect(0, 0, 32, 32));
    EXPECT_EQ(given.kept, plain.kept);
    EXPECT_EQ(given.src, plain.src);
    EXPECT_EQ(given.x, plain.x);
    // A mirrored clip rectangle clips like its normal form.
    auto mirroredClip = ClipAt(630, 10, MakeRect(0, 0, 32, 32), MakeRect(640, 480, 0, 0));
    EXPECT_EQ(mirroredClip.src, MakeRect(0, 0, 10, 32));
}

TEST(ClipSourceAt, ExtremeCoordinatesDoNotOverflow) {
    auto far = ClipAt(INT32_MAX - 4, 0, MakeRect(0, 0, 32, 32));
    EXPECT_FALSE(far.kept);
    auto wide = ClipAt(INT32_MIN, 0, MakeRect(INT32_MIN, 0, INT32_MAX, 1));
    (void)wide; // only the absence of undefined behaviour matters here
}

struct ScaledCopy {
    bool kept;
    Rect dst, src;
};

ScaledCopy ClipScaled(Rect dst, Rect src, Rect clip = kScreen) {
    bool kept = dddd::ClipStretched(dst, src, clip);
    return {kept, dst, src};
}

TEST(ClipStretched, FillRectangleIsCutToTheSurface) {
    auto fill = ClipScaled(MakeRect(600, 470, 700, 500), MakeRect(600, 470, 700, 500));
    ASSERT_TRUE(fill.kept);
    EXPECT_EQ(fill.dst, MakeRect(600, 470, 640, 480));
    EXPECT_EQ(fill.src, MakeRect(600, 470, 640, 480));
}

TEST(ClipStretched, ShrinkMovesTheSourceByTheIntegerQuotient) {
    auto shrink = ClipScaled(MakeRect(-16, 0, 16, 32), MakeRect(0, 0, 64, 64));
    ASSERT_TRUE(shrink.kept);
    EXPECT_EQ(shrink.dst, MakeRect(0, 0, 16, 32));
    EXPECT_EQ(shrink.src, MakeRect(32, 0, 64, 64));

    // 3:2 is not an integer ratio: the quotient 1 is used, not 1.5.
    auto odd = ClipScaled(MakeRect(620, 0, 660, 10), MakeRect(0, 0, 60, 10));
    ASSERT_TRUE(odd.kept);
    EXPECT_EQ(odd.dst, MakeRect(620, 0, 640, 10));
    EXPECT_EQ(odd.src, MakeRect(0, 0, 20, 10));
}

TEST(ClipStretched, EnlargementThatNeedsClippingGetsAnEmptySource) {
    auto grow = ClipScaled(MakeRect(-16, 0, 16, 32), MakeRect(0, 0, 16, 16));
    ASSERT_TRUE(grow.kept);
    EXPECT_EQ(grow.dst, MakeRect(0, 0, 16, 32));
    EXPECT_EQ(grow.src.Left, 16);
    EXPECT_EQ(grow.src.Right, 16);
    // The unclipped axis keeps its full extent.
    EXPECT_EQ(grow.src.Top, 0);
    EXPECT_EQ(grow.src.Bottom, 16);

    // Clipped on the right: the end comes back to the start.
    auto right = ClipScaled(MakeRect(630, 0, 650, 20), MakeRect(5, 0, 15, 10));
    ASSERT_TRUE(right.kept);
    EXPECT_EQ(right.src.Left, 5);
    EXPECT_EQ(right.src.Right, 5);
}

TEST(ClipStretched, RejectsOutsideAndNormalisesMirroredRectangles) {
    EXPECT_FALSE(ClipScaled(MakeRect(641, 0, 700, 10), MakeRect(0, 0, 59, 10)).kept);
    EXPECT_FALSE(ClipScaled(MakeRect(0, -20, 10, -1), MakeRect(0, 0, 10, 19)).kept);
    auto mirrored = ClipScaled(MakeRect(16, 32, -16, 0), MakeRect(64, 64, 0, 0));
    ASSERT_TRUE(mirrored.kept);
    EXPECT_EQ(mirrored.dst, MakeRect(0, 0, 16, 32));
    EXPECT_EQ(mirrored.src, MakeRect(32, 0, 64, 64));
    // Empty destination spans never divide by zero.
    EXPECT_TRUE(ClipScaled(MakeRect(10, 10, 10, 10), MakeRect(0, 0, 5, 5)).kept);
    EXPECT_FALSE(ClipScaled(MakeRect(700, 10, 700, 10), MakeRect(0, 0, 5, 5)).kept);
}

} // namespace
