#pragma once
// A small line font (digits, capitals, '+' and '-') drawn as strokes, so the
// pictures need no installed font and come out the same everywhere.

#include <QPainter>
#include <string>

namespace datamaker {

// Width of the text at the given letter height.
double StrokeTextWidth(const std::string& text, double height);
// Draws the text with its top-left corner at (x, y) using the painter's pen.
void DrawStrokeText(QPainter& painter, const std::string& text, double x, double y, double height);

} // namespace datamaker
