#include "platform/ui/qt_device_context.h"

#include "platform/ddraw/pixel_format.h"
#include "platform/ddraw/software_device_context.h"
#include "platform/ui/font_size.h"
#include "platform/ui/fonts.h"
#include "platform/ui/pixel_image.h"
#include "platform/ui/plain_painting.h"
#include "platform/ui/shaped_text.h"

#include <QFontMetrics>
#include <QPen>
#include <cstdlib>
#include <vector>

namespace ui {

namespace {

QColor ToQColor(ddraw::COLORREF color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

ddraw::COLORREF ToColorRef(QRgb rgb) {
    return static_cast<ddraw::COLORREF>(qRed(rgb)) |
           (static_cast<ddraw::COLORREF>(qGreen(rgb)) << 8) |
           (static_cast<ddraw::COLORREF>(qBlue(rgb)) << 16);
}

Qt::PenStyle ToQtPenStyle(ddraw::PenStyle style) {
    switch (style) {
    case ddraw::PenStyle::Solid:
        return Qt::SolidLine;
    case ddraw::PenStyle::Dash:
        return Qt::DashLine;
    case ddraw::PenStyle::Dot:
        return Qt::DotLine;
    case ddraw::PenStyle::DashDot:
        return Qt::DashDotLine;
    case ddraw::PenStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case ddraw::PenStyle::Null:
        return Qt::NoPen;
    }
    return Qt::SolidLine;
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QtDeviceContext::QtDeviceContext(const ddraw::PixelView& surface) : target_(surface) {
    image_ = WrapPixels(target_);
    if (image_.isNull()) {
        onCopy_ = true;
        image_ = CopyToRgb32(target_, QRect(0, 0, target_.Width, target_.Height));
        original_ = image_.copy();
    }
    SelectFont(ddraw::FontSpec{});
}

QtDeviceContext::~QtDeviceContext() {
    FinishPainting();
}

QPainter& QtDeviceContext::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::TextAntialiasing, true);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        ClipPainter();
    }
    return *painter_;
}

void QtDeviceContext::ClipPainter() {
    if (clipped_)
        painter_->setClipRect(clip_);
    else
        painter_->setClipping(false);
}

void QtDeviceContext::SetClipRect(const ddraw::RECT* clip) {
    clipped_ = clip != nullptr;
    clip_ = clip ? QRect(clip->Left, clip->Top, clip->Width(), clip->Height()) : QRect();
    if (painter_)
        ClipPainter();
}

void QtDeviceContext::Touched(const QRect& area) {
    dirty_ += area.intersected(Bounds());
    Drew(area);
}

void QtDeviceContext::Drew(const QRect& area) {
    drawn_ += area.intersected(Bounds());
}

void QtDeviceContext::AddDrawnAreas(std::vector<ddraw::RECT>& areas) const {
    for (const QRect& area : drawn_)
        areas.push_back(ddraw::RECT{area.left(), area.top(), area.right() + 1, area.bottom() + 1});
}

void QtDeviceContext::FinishPainting() {
    painter_.reset();
    if (dirty_.isEmpty() || image_.isNull())
        return;
    // The painted areas are kept apart: a line along the right edge and one
    // along the bottom must not turn into the whole surface.
    for (const QRect& area : dirty_) {
        if (onCopy_) {
            // Only the pixels painting changed go back, each as the nearest
            // colour the surface holds; the rest keep their exact values.
            for (int y = area.top(); y <= area.bottom(); ++y) {
                const auto* now = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
                const auto* before = reinterpret_cast<const QRgb*>(original_.constScanLine(y));
                for (int x = area.left(); x <= area.right(); ++x) {
                    if (now[x] == before[x])
                        continue;
                    ddraw::WritePixelValue(
                        target_, x, y,
                        ddraw::ColorToPixel(ToColorRef(now[x]), target_.Format, target_.Palette));
                }
            }
        } else if (image_.format() == QImage::Format_RGB32) {
            // Qt marks painted pixels opaque in the unused byte; surfaces keep
            // it 0 so raw values compare as the blitter and colour keys expect.
            for (int y = area.top(); y <= area.bottom(); ++y) {
                auto* row = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
                for (int x = area.left(); x <= area.right(); ++x)
                    row[x] &= 0x00FFFFFFu;
            }
        }
    }
    if (onCopy_)
        original_ = image_.copy();
    dirty_ = QRegion();
}

void QtDeviceContext::SelectFont(const ddraw::FontSpec& spec) {
    // A game selects the same few fonts on every frame; each is made once.
    struct Kept {
        ddraw::FontSpec spec;
        QFont font;
        QString key;
    };
    static auto& kept = *new std::vector<Kept>; // never destroyed, as the text layouts
    for (const Kept& entry : kept) {
        if (entry.spec == spec) {
            font_ = entry.font;
            fontKey_ = entry.key;
            return;
        }
    }
    const int height = std::abs(spec.Height);
    const int pixels =
        spec.HeightUnit == ddraw::FontSpec::Unit::Points ? PointsToPixels(height) : height;
    font_ = MakeFont(spec.FaceName, pixels);
    font_.setBold(spec.Bold);
    font_.setItalic(spec.Italic);
    font_.setUnderline(spec.Underline);
    font_.setStrikeOut(spec.StrikeOut);
    fontKey_ = font_.key();
    if (kept.size() >= 32) // bounded, however many fonts come and go
        kept.clear();
    kept.push_back({spec, font_, fontKey_});
}

bool QtDeviceContext::TextOut(ddraw::LONG x, ddraw::LONG y, std::string_view text) {
    if (image_.isNull())
        return false;
    const ShapedText& shaped = ShapeText(font_, fontKey_, FromUtf8(text));
    // (x, y) is the top-left corner of the character cell; Qt places text
    // by its baseline.
    const QRect cell(x, y, shaped.advance, shaped.height);
    if (PaintsPlainly() && !shaped.coverage.isNull()) {
        // The usual case, without a painter.
        if (backgroundMode_ == ddraw::BackgroundMode::Opaque)
            FillSolid(cell, backgroundColor_);
        StampText(image_, QPoint(x, y), shaped, ToQColor(textColor_).rgb(), Bounds());
        Drew(QRect(QPoint(x, y) + shaped.coverageAt, shaped.coverage.size()));
        return true;
    }
    QPainter& painter = Painter();
    painter.setFont(font_);
    const QFontMetrics metrics(font_);
    if (backgroundMode_ == ddraw::BackgroundMode::Opaque)
        painter.fillRect(cell, ToQColor(backgroundColor_));
    painter.setPen(ToQColor(textColor_));
    const QPoint baseline(x, y + metrics.ascent());
    if (font_.underline() || font_.strikeOut())
        painter.drawText(baseline, shaped.layout.text()); // lines the kept layout leaves out
    else
        painter.drawStaticText(QPoint(x, y), shaped.layout);
    Touched(cell.united(shaped.inked.translated(baseline)).adjusted(-2, -2, 2, 2));
    return true;
}

ddraw::TextSize QtDeviceContext::GetTextExtent(std::string_view text) {
    const ShapedText& shaped = ShapeText(font_, fontKey_, FromUtf8(text));
    return {shaped.advance, shaped.height};
}

void QtDeviceContext::MoveTo(ddraw::LONG x, ddraw::LONG y) {
    penPosition_ = QPoint(x, y);
}

void QtDeviceContext::LineTo(ddraw::LONG x, ddraw::LONG y) {
    const QPoint from = penPosition_;
    const QPoint to(x, y);
    penPosition_ = to;
    if (pen_.Style == ddraw::PenStyle::Null || image_.isNull() || from == to)
        return;
    if (pen_.Width <= 1 && pen_.Style == ddraw::PenStyle::Solid &&
        (from.x() == to.x() || from.y() == to.y())) {
        // Straight one-pixel lines are filled as rectangles: Qt hands a long
        // cosmetic line to its thread pool, which costs far more than the line.
        const int left = to.x() > from.x() ? from.x() : to.x() < from.x() ? to.x() + 1 : from.x();
        const int right = to.x() > from.x() ? to.x() - 1 : from.x();
        const int top = to.y() > from.y() ? from.y() : to.y() < from.y() ? to.y() + 1 : from.y();
        const int bottom = to.y() > from.y() ? to.y() - 1 : from.y();
        FillSolid(QRect(QPoint(left, top), QPoint(right, bottom)), pen_.Color);
        return;
    }
    QPen pen(ToQColor(pen_.Color));
    pen.setStyle(ToQtPenStyle(pen_.Style));
    if (pen_.Width <= 1) {
        // A one-pixel line that leaves out its end point, as GDI draws it.
        pen.setWidth(1);
        pen.setCosmetic(true);
        pen.setCapStyle(Qt::FlatCap);
    } else {
        pen.setWidth(pen_.Width);
        pen.setCapStyle(Qt::RoundCap);
    }
    QPainter& painter = Painter();
    painter.setPen(pen);
    painter.drawLine(from, to);
    const int margin = std::max<int>(1, pen_.Width) + 1;
    Touched(QRect(from, to).normalized().adjusted(-margin, -margin, margin, margin));
}

void QtDeviceContext::FillRect(const ddraw::RECT& rect) {
    if (brush_.Style == ddraw::BrushStyle::Null || image_.isNull())
        return;
    const QRect area(rect.Left, rect.Top, rect.Width(), rect.Height());
    if (area.isEmpty())
        return;
    FillSolid(area, brush_.Color);
}

void QtDeviceContext::FillSolid(const QRect& area, ddraw::COLORREF colour) {
    if (PaintsPlainly()) {
        FillRaw(image_, area.intersected(Bounds()),
                ddraw::ColorToPixel(colour, target_.Format, target_.Palette));
        Drew(area);
        return;
    }
    Painter().fillRect(area, ToQColor(colour));
    Touched(area);
}

bool QtDeviceContext::StretchBlt(ddraw::LONG x, ddraw::LONG y, ddraw::LONG width,
                                 ddraw::LONG height, ddraw::DeviceContext& source, ddraw::LONG srcX,
                                 ddraw::LONG srcY, ddraw::LONG srcWidth, ddraw::LONG srcHeight) {
    if (image_.isNull() || width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0)
        return false;
    // Negative sizes mirror, as in GDI.
    const bool mirrorX = (width < 0) != (srcWidth < 0);
    const bool mirrorY = (height < 0) != (srcHeight < 0);
    const QRect target = QRect(x, y, width, height).normalized();
    const QRect from = QRect(srcX, srcY, srcWidth, srcHeight).normalized();

    // The source part is copied first: it may be this very surface.
    QImage part;
    auto* qtSource = dynamic_cast<QtDeviceContext*>(&source);
    if (qtSource && qtSource->onCopy_)
        part = qtSource->image_.copy(from);
    else
        part = CopyToRgb32(source.Target(), from);
    if (part.isNull())
        return false;
    if (mirrorX || mirrorY)
        part = part.mirrored(mirrorX, mirrorY);
    QPainter& painter = Painter();
    painter.drawImage(target, part);
    Touched(target);
    return true;
}

ddraw::COLORREF QtDeviceContext::GetPixel(ddraw::LONG x, ddraw::LONG y) {
    if (x < 0 || y < 0 || x >= target_.Width || y >= target_.Height || !target_.Pixels)
        return ddraw::CLR_INVALID;
    if (onCopy_)
        return ToColorRef(image_.pixel(x, y));
    // Painting goes straight into the surface's memory, so its pixels are
    // current.
    return ddraw::PixelToColor(ddraw::ReadPixelValue(target_, x, y), target_.Format,
                               target_.Palette);
}

ddraw::COLORREF QtDeviceContext::SetPixel(ddraw::LONG x, ddraw::LONG y, ddraw::COLORREF color) {
    if (x < 0 || y < 0 || x >= target_.Width || y >= target_.Height || !target_.Pixels ||
        (clipped_ && !clip_.contains(x, y)))
        return ddraw::CLR_INVALID;
    const ddraw::DWORD raw =
        ddraw::ColorToPixel(color & 0x00FFFFFF, target_.Format, target_.Palette);
    ddraw::WritePixelValue(target_, x, y, raw);
    Drew(QRect(x, y, 1, 1));
    const ddraw::COLORREF stored = ddraw::PixelToColor(raw, target_.Format, target_.Palette);
    if (onCopy_) {
        // The copy follows, so the release does not map this pixel again.
        const QRgb rgb = qRgb(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF);
        image_.setPixel(x, y, rgb);
        original_.setPixel(x, y, rgb);
    }
    return stored;
}

std::unique_ptr<ddraw::DeviceContext>
QtDeviceContextFactory::Create(const ddraw::PixelView& surface) {
    if (!surface.Pixels || surface.Width <= 0 || surface.Height <= 0 || surface.Pitch <= 0)
        return nullptr;
    const ddraw::DWORD bits = surface.BitsPerPixel;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return nullptr;
    return std::make_unique<QtDeviceContext>(surface);
}

} // namespace ui
