#pragma once
// The device context GetDC hands out: GDI-shaped drawing (text, lines,
// stretched copies, single pixels) over a surface's pixels. The Qt back end
// installs a factory that paints with QPainter; without one GetDC uses a
// plain software context that draws no text.

#include "platform/ddraw/pixel_view.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ddraw {

// GetPixel's answer outside the surface.
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

inline constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue) {
    return COLORREF{red} | (COLORREF{green} << 8) | (COLORREF{blue} << 16);
}
inline constexpr BYTE GetRValue(COLORREF c) {
    return static_cast<BYTE>(c & 0xFF);
}
inline constexpr BYTE GetGValue(COLORREF c) {
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
inline constexpr BYTE GetBValue(COLORREF c) {
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

struct FontSpec {
    enum class Unit { Pixels, Points };
    std::string FaceName = "MS Sans Serif"; // UTF-8; the back end maps it to a real face
    LONG Height = 8;                        // character height, in Unit
    Unit HeightUnit = Unit::Points;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Null };
struct PenSpec {
    COLORREF Color = 0;
    LONG Width = 1;
    PenStyle Style = PenStyle::Solid;
    friend bool operator==(const PenSpec&, const PenSpec&) = default;
};

enum class BrushStyle { Solid, Null };
struct BrushSpec {
    COLORREF Color = 0xFFFFFF;
    BrushStyle Style = BrushStyle::Solid;
    friend bool operator==(const BrushSpec&, const BrushSpec&) = default;
};

enum class BackgroundMode { Transparent, Opaque };

struct TextSize {
    LONG Width = 0;
    LONG Height = 0;
};

// Drawing on one surface while GetDC holds it. Coordinates are the
// surface's pixels, (0, 0) top-left. The context is destroyed by ReleaseDC;
// a context that paints on a copy (an 8-bit surface painted in 32 bits)
// writes its result back into the surface's pixels in its destructor.
class DeviceContext {
public:
    virtual ~DeviceContext() = default;

    // The surface this context draws on (pixels, size, format, palette).
    virtual const PixelView& Target() const = 0;

    virtual void SelectFont(const FontSpec& font) = 0;
    virtual void SetTextColor(COLORREF color) = 0;
    virtual void SetBkMode(BackgroundMode mode) = 0;
    virtual void SetBkColor(COLORREF color) = 0;
    virtual void SelectPen(const PenSpec& pen) = 0;
    virtual void SelectBrush(const BrushSpec& brush) = 0;

    // Text (UTF-8) with its top-left corner at (x, y); false when the
    // context cannot draw text.
    virtual bool TextOut(LONG x, LONG y, std::string_view text) = 0;
    virtual TextSize GetTextExtent(std::string_view text) = 0;
    virtual void MoveTo(LONG x, LONG y) = 0;
    // A line with the pen from the current position to (x, y), the end
    // point itself not drawn; (x, y) becomes the current position.
    virtual void LineTo(LONG x, LONG y) = 0;
    // The rectangle filled with the brush (nothing for a null brush).
    virtual void FillRect(const RECT& rect) = 0;
    // Copies a rectangle of source onto a rectangle of this context,
    // scaling as needed (SRCCOPY). False when it cannot.
    virtual bool StretchBlt(LONG x, LONG y, LONG width, LONG height, DeviceContext& source,
                            LONG srcX, LONG srcY, LONG srcWidth, LONG srcHeight) = 0;
    // The colour at (x, y), CLR_INVALID outside.
    virtual COLORREF GetPixel(LONG x, LONG y) = 0;
    // Stores the nearest colour the surface can hold and returns it;
    // CLR_INVALID outside.
    virtual COLORREF SetPixel(LONG x, LONG y, COLORREF color) = 0;

    // Drawing from here on changes only pixels inside the rectangle (GDI's
    // clipping rectangle); null lifts it.
    virtual void SetClipRect(const RECT* clip) = 0;

    // Appends the parts of the surface drawing may have changed so far. A
    // context that does not keep count gives the whole surface.
    virtual void AddDrawnAreas(std::vector<RECT>& areas) const {
        areas.push_back(RECT{0, 0, Target().Width, Target().Height});
    }
};

class DeviceContextFactory {
public:
    virtual ~DeviceContextFactory() = default;
    // A context over the surface's pixels, or null when none can be made.
    virtual std::unique_ptr<DeviceContext> Create(const PixelView& surface) = 0;
};

// Installs the factory GetDC uses (not owned; keep it alive while
// installed). Null puts back the built-in software contexts.
void SetDeviceContextFactory(DeviceContextFactory* factory);
DeviceContextFactory& CurrentDeviceContextFactory();

} // namespace ddraw
