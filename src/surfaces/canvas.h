#pragma once
// The drawing canvas of the GUI library as the surface layer uses it: a
// font, a pen, a brush and a copy mode applied to a device context before
// each drawing call. A derived canvas supplies the context on first use.

#include "base/rect.h"
#include "platform/ddraw/ddraw_interfaces.h"
#include "platform/ddraw/device_context.h"

#include <cstdint>
#include <string>

namespace dddd {

using TColor = ddraw::COLORREF;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;

enum class TBrushStyle { bsSolid, bsClear };
enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

struct TFont {
    std::string Name = "MS Sans Serif";
    TColor Color = clBlack;
    // Size in points; Height() gives pixels at 96 dots per inch.
    std::int32_t Size = 8;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
};

struct TPen {
    TColor Color = clBlack;
    std::int32_t Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

// Only a plain source copy is offered.
enum class TCopyMode { cmSrcCopy };

class TCanvas {
public:
    TCanvas() = default;
    virtual ~TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont Font;
    TPen Pen;
    TBrush Brush;
    TCopyMode CopyMode = TCopyMode::cmSrcCopy;

    // The device context, taken through CreateHandle when first needed.
    ddraw::HDC Handle();

    // Text (UTF-8) with its top-left corner at (x, y); the background is
    // left alone when the brush is clear.
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text);
    // The width and height of the text's character cells in the font (zero
    // without a device context).
    ddraw::TextSize TextExtent(const std::string& text);
    void MoveTo(std::int32_t x, std::int32_t y);
    // A line from the pen position to (x, y), (x, y) itself not drawn.
    void LineTo(std::int32_t x, std::int32_t y);
    void FillRect(const base::Rect& rect);
    // Copies source's rectangle onto this canvas's rectangle, scaling.
    void CopyRect(const base::Rect& dest, TCanvas& source, const base::Rect& sourceRect);

protected:
    // Gives the canvas its device context (SetHandle); may leave it without.
    virtual void CreateHandle() = 0;
    void SetHandle(ddraw::HDC dc) { handle_ = dc; }
    ddraw::HDC CurrentHandle() const { return handle_; }

private:
    // The context with this canvas's font, pen and brush selected, or null
    // when there is none (drawing then does nothing).
    ddraw::HDC Prepared();

    ddraw::HDC handle_ = nullptr;
};

} // namespace dddd
