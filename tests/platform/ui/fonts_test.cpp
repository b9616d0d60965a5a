#include "platform/ui/font_size.h"
#include "platform/ui/fonts.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

static_assert(ui::PointsToPixels(20) == 27);
static_assert(ui::PointsToPixels(40) == 53);
static_assert(ui::PointsToPixels(50) == 67);
static_assert(ui::PointsToPixels(9) == 12);
static_assert(ui::PointsToPixels(0) == 0);

TEST(Fonts, WindowsFacesResolveToTheJapaneseFaces) {
    EXPECT_EQ(QFontInfo(ui::MakeFont("ＭＳ ゴシック", 12)).family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(QFontInfo(ui::MakeFont("ＭＳ Ｐゴシック", 12)).family(),
              QStringLiteral("IPAPGothic"));
    const QFont screenText = ui::MakeFont("MS Sans Serif", ui::PointsToPixels(50));
    EXPECT_EQ(QFontInfo(screenText).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(screenText).pixelSize(), 67);
    // The score texts and titles are Japanese.
    EXPECT_TRUE(QFontMetrics(screenText).inFontUcs4(U'は'));
    EXPECT_TRUE(QFontMetrics(screenText).inFontUcs4(U'ピ'));
}

} // namespace
