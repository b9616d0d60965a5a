#pragma once
// The device context GetDC hands out when no window system back end has
// installed its own: pixels, lines, filled rectangles and stretched copies
// straight on the surface's memory. It has no font engine, so its TextOut
// answers false and draws nothing.

#include "platform/ddraw/device_context.h"

namespace ddraw {

class SoftwareDeviceContext final : public DeviceContext {
public:
    explicit SoftwareDeviceContext(const PixelView& target);

    const PixelView& Target() const override { return target_; }
    void SelectFont(const FontSpec& font) override { font_ = font; }
    void SetTextColor(COLORREF color) override { textColor_ = color; }
    void SetBkMode(BackgroundMode mode) override { bkMode_ = mode; }
    void SetBkColor(COLORREF color) override { bkColor_ = color; }
    void SelectPen(const PenSpec& pen) override { pen_ = pen; }
    void SelectBrush(const BrushSpec& brush) override { brush_ = brush; }

    bool TextOut(LONG x, LONG y, std::string_view text) override;
    TextSize GetTextExtent(std::string_view text) override;
    void MoveTo(LONG x, LONG y) override;
    void LineTo(LONG x, LONG y) override;
    void FillRect(const RECT& rect) override;
    bool StretchBlt(LONG x, LONG y, LONG width, LONG height, DeviceContext& source, LONG srcX,
                    LONG srcY, LONG srcWidth, LONG srcHeight) override;
    COLORREF GetPixel(LONG x, LONG y) override;
    COLORREF SetPixel(LONG x, LONG y, COLORREF color) override;
    void SetClipRect(const RECT* clip) override;

private:
    bool Inside(LONG x, LONG y) const;
    bool InsideClip(LONG x, LONG y) const;
    DWORD ReadRaw(LONG x, LONG y) const;
    void WriteRaw(LONG x, LONG y, DWORD value);
    void Plot(long long x, long long y, DWORD value);
    void DrawLine(long long x0, long long y0, long long x1, long long y1, DWORD value);

    PixelView target_;
    FontSpec font_;
    COLORREF textColor_ = 0;
    COLORREF bkColor_ = 0xFFFFFF;
    BackgroundMode bkMode_ = BackgroundMode::Opaque;
    PenSpec pen_;
    BrushSpec brush_;
    LONG penX_ = 0;
    LONG penY_ = 0;
    bool clipped_ = false;
    RECT clip_{};
};

// Raw pixel access on a view, shared with the surfaces.
DWORD ReadPixelValue(const PixelView& view, LONG x, LONG y);
void WritePixelValue(const PixelView& view, LONG x, LONG y, DWORD value);

} // namespace ddraw
