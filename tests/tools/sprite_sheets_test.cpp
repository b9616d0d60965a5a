// The committed pictures as the game will load them: sizes and depths, every
// sprite inside its rectangle and centred on its drawing point, and no
// sprite pixel that a 15- or 16-bit screen would turn into the see-through
// black.

#include "committed_data.h"
#include "sheet_layout.h"

#include <QImage>
#include <gtest/gtest.h>
#include <cmath>
#include <map>
#include <vector>

namespace toolstest {
namespace {

using datamaker::SpriteCell;

QImage Load(const std::string& name) {
    const std::string bytes = CommittedFile(name);
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP")
        .convertToFormat(QImage::Format_RGB32);
}

int BitsPerPixel(const std::string& name) {
    const std::string b = CommittedFile(name);
    return b.size() < 30 ? 0 : static_cast<std::uint8_t>(b[28]) | static_cast<std::uint8_t>(b[29]) << 8;
}

bool IsKey(QRgb c) {
    return (c & 0xFFFFFF) == 0;
}

struct Centroid {
    double x = 0, y = 0;
    int count = 0;
};

Centroid CentroidOf(const QImage& sheet, const SpriteCell& cell) {
    Centroid c;
    for (int y = cell.top; y < cell.bottom; ++y)
        for (int x = cell.left; x < cell.right; ++x)
            if (!IsKey(sheet.pixel(x, y))) {
                c.x += x - cell.left + 0.5;
                c.y += y - cell.top + 0.5;
                ++c.count;
            }
    if (c.count > 0) {
        c.x /= c.count;
        c.y /= c.count;
    }
    return c;
}

std::vector<SpriteCell> CharacterCells() {
    std::vector<SpriteCell> cells;
    for (int i = 0; i < 4; ++i) {
        cells.push_back(datamaker::BallCell(i));
        cells.push_back(datamaker::BurstCell(i));
    }
    for (int k = 1; k <= 4; ++k)
        cells.push_back(datamaker::EffectCell(k));
    cells.push_back(datamaker::SplashCell(0));
    cells.push_back(datamaker::SplashCell(1));
    return cells;
}

std::vector<SpriteCell> PimuruSheetCells() {
    std::vector<SpriteCell> cells;
    for (int f = 0; f < 12; ++f)
        cells.push_back(datamaker::PimuruCell(f));
    for (int m = 0; m < 4; ++m)
        cells.push_back(datamaker::DrifterCell(m));
    return cells;
}

// Every visible pixel of a sheet lies inside one of its sprites' rectangles.
void ExpectNothingOutsideCells(const std::string& name, const std::vector<SpriteCell>& cells) {
    const QImage sheet = Load(name);
    int strays = 0;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x) {
            if (IsKey(sheet.pixel(x, y)))
                continue;
            bool inside = false;
            for (const SpriteCell& c : cells)
                inside = inside || (x >= c.left && x < c.right && y >= c.top && y < c.bottom);
            if (!inside && ++strays <= 3)
                ADD_FAILURE() << name << ": visible pixel outside every sprite at " << x << "," << y;
        }
    EXPECT_EQ(strays, 0) << name;
}

TEST(SpriteSheets, AreSixHundredFortyByFourHundredEightyAtTwentyFourBits) {
    for (const char* name : {"haikei.bmp", "char.bmp", "kai_g.bmp", "kai_p.bmp"}) {
        const QImage image = Load(name);
        EXPECT_EQ(image.width(), 640) << name;
        EXPECT_EQ(image.height(), 480) << name;
        EXPECT_EQ(BitsPerPixel(name), 24) << name;
    }
}

TEST(SpriteSheets, LauncherPicturesHaveTheirSizesAndDepths) {
    struct Expected {
        const char* name;
        int width, height, bits;
    };
    for (const Expected& e : {Expected{"start.bmp", 32, 69, 24}, Expected{"help.bmp", 34, 30, 4},
                              Expected{"icon.bmp", 32, 32, 4}}) {
        const QImage image = Load(e.name);
        EXPECT_EQ(image.width(), e.width) << e.name;
        EXPECT_EQ(image.height(), e.height) << e.name;
        EXPECT_EQ(BitsPerPixel(e.name), e.bits) << e.name;
    }
}

TEST(SpriteSheets, NothingSpillsOutsideTheSpriteRectangles) {
    ExpectNothingOutsideCells("char.bmp", CharacterCells());
    ExpectNothingOutsideCells("kai_g.bmp", PimuruSheetCells());
    ExpectNothingOutsideCells("kai_p.bmp", PimuruSheetCells());
}

TEST(SpriteSheets, NoSpritePixelTurnsIntoTheKeyAtFifteenOrSixteenBits) {
    for (const char* name : {"char.bmp", "kai_g.bmp", "kai_p.bmp", "haikei.bmp"}) {
        const QImage sheet = Load(name);
        int holes = 0;
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x) {
                const QRgb c = sheet.pixel(x, y);
                if (!IsKey(c) && qRed(c) < 8 && qGreen(c) < 8 && qBlue(c) < 8)
                    ++holes;
            }
        EXPECT_EQ(holes, 0) << name;
    }
}

TEST(SpriteSheets, TheBackgroundHasNoSeeThroughPixels) {
    const QImage background = Load("haikei.bmp");
    int black = 0;
    for (int y = 0; y < background.height(); ++y)
        for (int x = 0; x < background.width(); ++x)
            black += IsKey(background.pixel(x, y)) ? 1 : 0;
    EXPECT_EQ(black, 0);
}

TEST(SpriteSheets, SpritesSitOnTheirDrawingPoints) {
    struct Case {
        const char* sheet;
        SpriteCell cell;
        double tolerance;
        const char* what;
    };
    std::vector<Case> cases;
    for (int i = 0; i < 4; ++i) {
        cases.push_back({"char.bmp", datamaker::BallCell(i), 1.0, "ball"});
        cases.push_back({"char.bmp", datamaker::BurstCell(i), 4.0, "burst"});
    }
    cases.push_back({"char.bmp", datamaker::EffectCell(1), 2.0, "spark"});
    cases.push_back({"char.bmp", datamaker::EffectCell(2), 1.5, "star"});
    cases.push_back({"char.bmp", datamaker::EffectCell(3), 3.0, "heart"});
    cases.push_back({"char.bmp", datamaker::EffectCell(4), 3.0, "pass mark"});
    cases.push_back({"char.bmp", datamaker::SplashCell(0), 4.0, "splash A"});
    cases.push_back({"char.bmp", datamaker::SplashCell(1), 4.0, "splash B"});
    for (int m = 0; m < 4; ++m) {
        cases.push_back({"kai_g.bmp", datamaker::DrifterCell(m), 5.0, "drifter"});
        cases.push_back({"kai_p.bmp", datamaker::DrifterCell(m), 5.0, "drifter"});
    }
    std::map<std::string, QImage> sheets;
    for (const char* name : {"char.bmp", "kai_g.bmp", "kai_p.bmp"})
        sheets[name] = Load(name);
    for (const Case& c : cases) {
        const Centroid centroid = CentroidOf(sheets[c.sheet], c.cell);
        ASSERT_GT(centroid.count, 20) << c.what << " at " << c.cell.left << "," << c.cell.top << " is empty";
        EXPECT_NEAR(centroid.x, c.cell.centreX, c.tolerance) << c.what << " at " << c.cell.left << "," << c.cell.top;
        EXPECT_NEAR(centroid.y, c.cell.centreY, c.tolerance) << c.what << " at " << c.cell.left << "," << c.cell.top;
    }
}

TEST(SpriteSheets, PimuruStandOnTheirPositionWithTheBodyCentred) {
    // The body (the paddle aside) covers the drawing point, and the feet end
    // within the rectangle.
    for (const char* name : {"kai_g.bmp", "kai_p.bmp"}) {
        const QImage sheet = Load(name);
        for (int f = 0; f < 12; ++f) {
            const SpriteCell cell = datamaker::PimuruCell(f);
            EXPECT_FALSE(IsKey(sheet.pixel(cell.left + cell.centreX, cell.top + cell.centreY)))
                << name << " picture " << f;
            EXPECT_GT(CentroidOf(sheet, cell).count, 2500) << name << " picture " << f;
        }
    }
}

TEST(SpriteSheets, MovingPicturesChangeFromOneToTheNext) {
    const QImage chars = Load("char.bmp");
    auto differs = [](const QImage& a, const SpriteCell& ca, const QImage& b, const SpriteCell& cb) {
        int changed = 0;
        for (int y = 0; y < ca.Height(); ++y)
            for (int x = 0; x < ca.Width(); ++x)
                changed += a.pixel(ca.left + x, ca.top + y) != b.pixel(cb.left + x, cb.top + y) ? 1 : 0;
        return changed;
    };
    for (int i = 0; i < 4; ++i)
        EXPECT_GT(differs(chars, datamaker::BallCell(i), chars, datamaker::BallCell((i + 1) % 4)), 150)
            << "ball " << i << " does not turn";
    const QImage green = Load("kai_g.bmp");
    const QImage pink = Load("kai_p.bmp");
    for (int m = 0; m < 8; ++m) {
        const int next = (m + 1) % 8;
        const QImage& a = m < 4 ? green : pink;
        const QImage& b = next < 4 ? green : pink;
        EXPECT_GT(differs(a, datamaker::DrifterCell(m % 4), b, datamaker::DrifterCell(next % 4)), 150)
            << "drifter " << m;
    }
    const int swing[] = {0, 2, 4, 8, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    for (std::size_t s = 0; s + 1 < std::size(swing); ++s)
        EXPECT_GT(differs(green, datamaker::PimuruCell(swing[s]), green, datamaker::PimuruCell(swing[s + 1])), 50)
            << "swing step " << s;
}

TEST(SpriteSheets, TheTwoPimuruAreTwoDifferentColours) {
    auto average = [](const QImage& sheet) {
        const SpriteCell cell = datamaker::PimuruCell(0);
        double r = 0, g = 0;
        for (int y = cell.top; y < cell.bottom; ++y)
            for (int x = cell.left; x < cell.right; ++x) {
                r += qRed(sheet.pixel(x, y));
                g += qGreen(sheet.pixel(x, y));
            }
        return std::pair{r, g};
    };
    const auto [greenR, greenG] = average(Load("kai_g.bmp"));
    const auto [pinkR, pinkG] = average(Load("kai_p.bmp"));
    EXPECT_GT(greenG, greenR * 1.3);
    EXPECT_GT(pinkR, pinkG * 1.3);
}

} // namespace
} // namespace toolstest
