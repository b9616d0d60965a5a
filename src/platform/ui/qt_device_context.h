#pragma once
// Device contexts over surfaces painted with QPainter. 16, 24 and 32-bit
// surfaces are painted in place through a QImage over their own pixels (fills
// and text on 16 and 32 bits without a painter); an 8-bit surface (or one
// with unusual channel masks) is painted on a 32-bit copy, and what changed
// is mapped back through its palette on release.

#include "platform/ddraw/device_context.h"
#include "platform/ui/plain_painting.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <memory>

namespace ui {

class QtDeviceContext : public ddraw::DeviceContext {
public:
    explicit QtDeviceContext(const ddraw::PixelView& surface);
    ~QtDeviceContext() override;

    const ddraw::PixelView& Target() const override { return target_; }

    void SelectFont(const ddraw::FontSpec& font) override;
    void SetTextColor(ddraw::COLORREF color) override { textColor_ = color; }
    void SetBkMode(ddraw::BackgroundMode mode) override { backgroundMode_ = mode; }
    void SetBkColor(ddraw::COLORREF color) override { backgroundColor_ = color; }
    void SelectPen(const ddraw::PenSpec& pen) override { pen_ = pen; }
    void SelectBrush(const ddraw::BrushSpec& brush) override { brush_ = brush; }

    bool TextOut(ddraw::LONG x, ddraw::LONG y, std::string_view text) override;
    ddraw::TextSize GetTextExtent(std::string_view text) override;
    void MoveTo(ddraw::LONG x, ddraw::LONG y) override;
    void LineTo(ddraw::LONG x, ddraw::LONG y) override;
    void FillRect(const ddraw::RECT& rect) override;
    bool StretchBlt(ddraw::LONG x, ddraw::LONG y, ddraw::LONG width, ddraw::LONG height,
                    ddraw::DeviceContext& source, ddraw::LONG srcX, ddraw::LONG srcY,
                    ddraw::LONG srcWidth, ddraw::LONG srcHeight) override;
    ddraw::COLORREF GetPixel(ddraw::LONG x, ddraw::LONG y) override;
    ddraw::COLORREF SetPixel(ddraw::LONG x, ddraw::LONG y, ddraw::COLORREF color) override;
    void SetClipRect(const ddraw::RECT* clip) override;
    void AddDrawnAreas(std::vector<ddraw::RECT>& areas) const override;

    // Whether this context paints on a copy rather than in place.
    bool PaintsOnCopy() const { return onCopy_; }
    // The image painted on (the surface itself or its copy).
    const QImage& Image() const { return image_; }

private:
    QPainter& Painter();
    // The pixels painting may change: the image within the clipping rectangle.
    QRect Bounds() const { return clipped_ ? image_.rect().intersected(clip_) : image_.rect(); }
    void ClipPainter();
    // Whether fills and text go onto the surface's pixels without a painter.
    bool PaintsPlainly() const { return !onCopy_ && CanPaintPlainlyOn(image_.format()); }
    void FillSolid(const QRect& area, ddraw::COLORREF colour);
    // Painting that must be finished on release (and was drawn).
    void Touched(const QRect& area);
    // Pixels that may have changed, for AddDrawnAreas.
    void Drew(const QRect& area);
    void FinishPainting();

    ddraw::PixelView target_;
    bool onCopy_ = false;
    QImage image_;
    QImage original_; // the copy as it was made, to find what painting changed
    std::unique_ptr<QPainter> painter_;
    QRegion dirty_;
    QRegion drawn_; // all painting since the context was made

    QFont font_;
    QString fontKey_; // names the font among kept text layouts
    ddraw::COLORREF textColor_ = 0;
    ddraw::COLORREF backgroundColor_ = 0xFFFFFF;
    ddraw::BackgroundMode backgroundMode_ = ddraw::BackgroundMode::Opaque;
    ddraw::PenSpec pen_;
    ddraw::BrushSpec brush_;
    QPoint penPosition_;
    bool clipped_ = false;
    QRect clip_;
};

class QtDeviceContextFactory : public ddraw::DeviceContextFactory {
public:
    std::unique_ptr<ddraw::DeviceContext> Create(const ddraw::PixelView& surface) override;
};

} // namespace ui
