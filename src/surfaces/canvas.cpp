#include "surfaces/canvas.h"

namespace dddd {

using namespace ddraw;

HDC TCanvas::Handle() {
    if (!handle_)
        CreateHandle();
    return handle_;
}

HDC TCanvas::Prepared() {
    HDC dc = Handle();
    if (!dc)
        return nullptr;
    FontSpec font;
    font.FaceName = Font.Name;
    font.Height = Font.Size;
    font.HeightUnit = FontSpec::Unit::Points;
    font.Bold = Font.Bold;
    font.Italic = Font.Italic;
    font.Underline = Font.Underline;
    font.StrikeOut = Font.StrikeOut;
    dc->SelectFont(font);
    dc->SetTextColor(Font.Color);

    PenSpec pen;
    pen.Color = Pen.Color;
    pen.Width = Pen.Width;
    static constexpr PenStyle kPenStyles[] = {PenStyle::Solid,      PenStyle::Dash,
                                              PenStyle::Dot,        PenStyle::DashDot,
                                              PenStyle::DashDotDot, PenStyle::Null};
    pen.Style = kPenStyles[static_cast<int>(Pen.Style)];
    dc->SelectPen(pen);

    BrushSpec brush;
    brush.Color = Brush.Color;
    brush.Style = Brush.Style == TBrushStyle::bsClear ? BrushStyle::Null : BrushStyle::Solid;
    dc->SelectBrush(brush);
    // Text is drawn over a box of the brush colour unless the brush is clear.
    dc->SetBkMode(Brush.Style == TBrushStyle::bsClear ? BackgroundMode::Transparent
                                                      : BackgroundMode::Opaque);
    dc->SetBkColor(Brush.Color);
    return dc;
}

void TCanvas::TextOut(std::int32_t x, std::int32_t y, const std::string& text) {
    if (HDC dc = Prepared())
        dc->TextOut(x, y, text);
}

ddraw::TextSize TCanvas::TextExtent(const std::string& text) {
    if (HDC dc = Prepared())
        return dc->GetTextExtent(text);
    return {};
}

void TCanvas::MoveTo(std::int32_t x, std::int32_t y) {
    if (HDC dc = Prepared())
        dc->MoveTo(x, y);
}

void TCanvas::LineTo(std::int32_t x, std::int32_t y) {
    if (HDC dc = Prepared())
        dc->LineTo(x, y);
}

void TCanvas::FillRect(const base::Rect& rect) {
    if (HDC dc = Prepared())
        dc->FillRect(rect);
}

void TCanvas::CopyRect(const base::Rect& dest, TCanvas& source, const base::Rect& sourceRect) {
    HDC dc = Prepared();
    HDC from = source.Handle();
    if (!dc || !from)
        return;
    dc->StretchBlt(dest.Left, dest.Top, dest.Width(), dest.Height(), *from, sourceRect.Left,
                   sourceRect.Top, sourceRect.Width(), sourceRect.Height());
}

} // namespace dddd
