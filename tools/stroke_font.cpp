#include "stroke_font.h"

#include <QPainterPath>
#include <map>
#include <vector>

namespace datamaker {
namespace {

// Glyphs on a grid 4 wide and 6 high, y downwards; each a list of polylines.
using Polyline = std::vector<std::pair<int, int>>;
using Glyph = std::vector<Polyline>;

const Polyline kRing = {{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}};
const Polyline kPBowl = {{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}};

const std::map<char, Glyph>& Glyphs() {
    static const std::map<char, Glyph> glyphs = {
        {'0', {kRing}},
        {'1', {{{1, 1}, {2, 0}, {2, 6}}, {{1, 6}, {3, 6}}}},
        {'2', {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {0, 6}, {4, 6}}}},
        {'3', {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {2, 3}},
               {{3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
        {'4', {{{3, 6}, {3, 0}, {0, 4}, {4, 4}}}},
        {'5', {{{4, 0}, {0, 0}, {0, 3}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {0, 6}}}},
        {'6', {{{3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 4}, {3, 3}, {0, 3}}}},
        {'7', {{{0, 0}, {4, 0}, {4, 1}, {1, 6}}}},
        {'8', {{{1, 3}, {0, 2}, {0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {1, 3}, {0, 4}, {0, 5}, {1, 6},
                {3, 6}, {4, 5}, {4, 4}, {3, 3}}}},
        {'9', {{{4, 3}, {1, 3}, {0, 2}, {0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}}}},
        {'A', {{{0, 6}, {0, 2}, {2, 0}, {4, 2}, {4, 6}}, {{0, 4}, {4, 4}}}},
        {'B', {{{0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}}, {{3, 3}, {4, 4}, {4, 5}, {3, 6}, {0, 6}, {0, 0}}}},
        {'C', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}}}},
        {'D', {{{0, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {0, 6}, {0, 0}}}},
        {'E', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3, 3}}}},
        {'F', {{{4, 0}, {0, 0}, {0, 6}}, {{0, 3}, {3, 3}}}},
        {'G', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 3}, {2, 3}}}},
        {'H', {{{0, 0}, {0, 6}}, {{4, 0}, {4, 6}}, {{0, 3}, {4, 3}}}},
        {'I', {{{1, 0}, {3, 0}}, {{2, 0}, {2, 6}}, {{1, 6}, {3, 6}}}},
        {'K', {{{0, 0}, {0, 6}}, {{4, 0}, {0, 4}}, {{1, 3}, {4, 6}}}},
        {'L', {{{0, 0}, {0, 6}, {4, 6}}}},
        {'M', {{{0, 6}, {0, 0}, {2, 3}, {4, 0}, {4, 6}}}},
        {'N', {{{0, 6}, {0, 0}, {4, 6}, {4, 0}}}},
        {'O', {kRing}},
        {'P', {kPBowl}},
        {'R', {kPBowl, {{2, 3}, {4, 6}}}},
        {'S', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 2}, {1, 3}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
        {'T', {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}}},
        {'U', {{{0, 0}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 0}}}},
        {'W', {{{0, 0}, {0, 6}, {2, 3}, {4, 6}, {4, 0}}}},
        {'X', {{{0, 0}, {4, 6}}, {{4, 0}, {0, 6}}}},
        {'Y', {{{0, 0}, {2, 3}, {4, 0}}, {{2, 3}, {2, 6}}}},
        {'+', {{{0, 3}, {4, 3}}, {{2, 1}, {2, 5}}}},
        {'-', {{{0, 3}, {4, 3}}}},
        {' ', {}},
    };
    return glyphs;
}

constexpr double kAdvance = 6.0; // grid units per letter, gap included

} // namespace

double StrokeTextWidth(const std::string& text, double height) {
    if (text.empty())
        return 0;
    const double unit = height / 6.0;
    return (static_cast<double>(text.size()) * kAdvance - 2.0) * unit;
}

void DrawStrokeText(QPainter& painter, const std::string& text, double x, double y, double height) {
    const double unit = height / 6.0;
    QPainterPath path;
    double originX = x;
    for (char c : text) {
        const auto it = Glyphs().find(c);
        if (it != Glyphs().end()) {
            for (const Polyline& line : it->second) {
                path.moveTo(originX + line[0].first * unit, y + line[0].second * unit);
                for (std::size_t i = 1; i < line.size(); ++i)
                    path.lineTo(originX + line[i].first * unit, y + line[i].second * unit);
            }
        }
        originX += kAdvance * unit;
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

} // namespace datamaker
