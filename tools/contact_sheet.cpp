// A review picture of every sprite on grey, each with a label. It is not
// part of the game's data.

#include "sheets.h"

#include "art.h"
#include "sheet_layout.h"
#include "stroke_font.h"

#include <string>
#include <vector>

namespace datamaker {
namespace {

constexpr int kGap = 12;
constexpr int kLabelHeight = 18;
const QRgb kGrey = qRgb(128, 128, 128);

struct Entry {
    std::string label;
    QImage picture; // keyed black shows grey
};

// Cuts one cell from a sheet, black turned grey, scaled by a whole factor.
QImage Cut(const QImage& sheet, const SpriteCell& cell, int scale = 1) {
    QImage piece = sheet.copy(cell.left, cell.top, cell.Width(), cell.Height()).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < piece.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(piece.scanLine(y));
        for (int x = 0; x < piece.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0)
                line[x] = kGrey;
    }
    if (scale != 1)
        piece = piece.scaled(piece.width() * scale, piece.height() * scale);
    return piece;
}

void PutRow(QImage& page, int& y, const std::vector<Entry>& row) {
    int x = kGap;
    int tallest = 0;
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const Entry& e : row) {
        p.fillRect(x - 1, y - 1, e.picture.width() + 2, e.picture.height() + 2, QColor(100, 100, 100));
        p.drawImage(x, y, e.picture);
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        DrawStrokeText(p, e.label, x, y + e.picture.height() + 5, 9);
        x += std::max(e.picture.width(), static_cast<int>(StrokeTextWidth(e.label, 9))) + kGap;
        tallest = std::max(tallest, e.picture.height());
    }
    y += tallest + kLabelHeight + kGap;
}

} // namespace

QImage MakeContactSheet() {
    const QImage chars = MakeCharacterSheet();
    const QImage green = MakePimuruSheet(1);
    const QImage pink = MakePimuruSheet(2);
    std::vector<std::vector<Entry>> rows(8);
    for (int i = 0; i < 4; ++i)
        rows[0].push_back({"BALL " + std::to_string(i), Cut(chars, BallCell(i))});
    for (int i = 0; i < 4; ++i)
        rows[0].push_back({"BURST " + std::to_string(i), Cut(chars, BurstCell(i))});
    for (int k = 1; k <= 4; ++k)
        rows[1].push_back({"FX " + std::to_string(k), Cut(chars, EffectCell(k), k <= 2 ? 2 : 1)});
    rows[1].push_back({"SPLASH A", Cut(chars, SplashCell(0))});
    rows[1].push_back({"SPLASH B", Cut(chars, SplashCell(1))});
    const int swing[] = {0, 2, 4, 8, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    for (int pimuru = 1; pimuru <= 2; ++pimuru) {
        const QImage& sheet = pimuru == 1 ? green : pink;
        const std::string name = pimuru == 1 ? "G " : "P ";
        for (int f = 0; f < 12; ++f)
            rows[2 + (pimuru - 1) * 2 + f / 6].push_back({name + std::to_string(f), Cut(sheet, PimuruCell(f))});
        for (int m = 0; m < 4; ++m)
            rows[6].push_back({"DRIFTER " + std::to_string(m + (pimuru - 1) * 4), Cut(sheet, DrifterCell(m))});
    }
    QImage start = DrawStartPicture();
    QImage help = DrawHelpPicture().convertToFormat(QImage::Format_RGB32);
    QImage icon = DrawIcon().convertToFormat(QImage::Format_RGB32);
    rows[7].push_back({"START", start.scaled(start.width() * 2, start.height() * 2)});
    rows[7].push_back({"HELP", help.scaled(help.width() * 2, help.height() * 2)});
    rows[7].push_back({"ICON", icon.scaled(icon.width() * 2, icon.height() * 2)});
    rows[7].push_back({"BACKGROUND", DrawBackground().scaled(320, 240, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)});
    // The swing as the game plays it, pimuru 1, in a strip of small pictures.
    std::vector<Entry> strip;
    for (int s : swing)
        strip.push_back({std::to_string(s), Cut(green, PimuruCell(s)).scaled(80, 60, Qt::IgnoreAspectRatio,
                                                                             Qt::SmoothTransformation)});

    QImage page(1500, 1480, QImage::Format_RGB32);
    page.fill(qRgb(160, 160, 160));
    int y = kGap;
    for (const auto& row : rows)
        PutRow(page, y, row);
    PutRow(page, y, strip);
    return page.copy(0, 0, page.width(), y);
}

} // namespace datamaker
