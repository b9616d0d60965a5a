#include "game/back_buffer_canvas.h"

#include "surfaces/dddd_canvas.h"

#include <algorithm>
#include <cstring>

namespace game {

using namespace ddraw;

BackBufferCanvas::BackBufferCanvas(dddd::TDDDD& display) : display_(display) {}

void BackBufferCanvas::SetSheet(Sheet sheet, dddd::TDDDDGenSurface* surface) {
    sheets_[static_cast<std::size_t>(sheet)] = surface;
}

void BackBufferCanvas::Draw(Sheet sheet, std::int32_t x, std::int32_t y, const base::Rect& source,
                            bool keyed) {
    dddd::TDDDDGenSurface* back = display_.BackBuffer();
    dddd::TDDDDGenSurface* from = sheets_[static_cast<std::size_t>(sheet)];
    if (!back || !from)
        return;
    back->Draw(from, x, y, source,
               keyed ? DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT : DDBLTFAST_WAIT);
}

void BackBufferCanvas::DrawScreenText(std::int32_t x, std::int32_t y, const std::string& text,
                                      std::int32_t points, std::uint32_t colour,
                                      std::span<const base::Rect> within) {
    dddd::TDDDDCanvas canvas(display_.BackBuffer());
    canvas.Font.Color = colour;
    canvas.Font.Size = points;
    canvas.Brush.Style = dddd::TBrushStyle::bsClear;
    ddraw::HDC dc = canvas.Handle();
    if (!dc)
        return;
    for (const base::Rect& part : within) {
        dc->SetClipRect(&part);
        canvas.TextOut(x, y, text);
    }
    dc->SetClipRect(nullptr);
}

base::Rect BackBufferCanvas::InkedPart(Sheet sheet, const base::Rect& source) {
    dddd::TDDDDGenSurface* from = sheets_[static_cast<std::size_t>(sheet)];
    if (!from || !from->Surface)
        return source;
    const base::Rect part = base::Intersect(source, base::MakeRect(0, 0, from->Width, from->Height));
    DDSURFACEDESC desc = MakeSurfaceDesc();
    if (base::IsEmpty(part) ||
        from->Surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK)
        return source;
    const DWORD bytes = desc.ddpfPixelFormat.dwRGBBitCount / 8;
    base::Rect inked{part.Right, part.Bottom, part.Left, part.Top};
    if (bytes >= 1 && bytes <= 4 && desc.lpSurface &&
        static_cast<DWORD>(part.Right) <= desc.dwWidth &&
        static_cast<DWORD>(part.Bottom) <= desc.dwHeight) {
        for (std::int32_t y = part.Top; y < part.Bottom; ++y) {
            const auto* row = static_cast<const BYTE*>(desc.lpSurface) +
                              static_cast<std::ptrdiff_t>(y) * desc.lPitch;
            for (std::int32_t x = part.Left; x < part.Right; ++x) {
                std::uint32_t value = 0;
                std::memcpy(&value, row + static_cast<std::ptrdiff_t>(x) * bytes, bytes);
                if (value != from->ColorKey) {
                    inked = base::MakeRect(std::min(inked.Left, x), std::min(inked.Top, y),
                                           std::max(inked.Right, x + 1),
                                           std::max(inked.Bottom, y + 1));
                }
            }
        }
    } else {
        inked = source;
    }
    from->Surface->Unlock(nullptr);
    return base::IsEmpty(inked) ? base::Rect{} : inked;
}

base::Rect BackBufferCanvas::ScreenTextArea(std::int32_t x, std::int32_t y,
                                            const std::string& text, std::int32_t points) {
    dddd::TDDDDCanvas canvas(display_.BackBuffer());
    canvas.Font.Size = points;
    // Glyphs may reach a little past their cells (overhangs, smoothed
    // edges): a margin of a quarter of the cell's height all round.
    const ddraw::TextSize cell = canvas.TextExtent(text);
    if (cell.Width <= 0 || cell.Height <= 0) { // not measured: it may change anything
        return base::MakeRect(0, 0, kScreenWidth, kScreenHeight);
    }
    const std::int32_t margin = cell.Height / 4 + 2;
    return base::MakeRect(x - margin, y - margin, x + cell.Width + margin,
                          y + cell.Height + margin);
}

void BackBufferCanvas::FillScreenRect(std::int32_t left, std::int32_t top, std::int32_t right,
                                      std::int32_t bottom, std::uint32_t pixel) {
    dddd::TDDDDGenSurface* back = display_.BackBuffer();
    if (!back)
        return;
    fill_.dwFillColor = pixel;
    const base::Rect area = base::MakeRect(left, top, right, bottom);
    back->DrawFx(nullptr, area, area, DDBLT_COLORFILL | DDBLT_WAIT, fill_);
}

void BackBufferCanvas::DrawBorderLines(std::int32_t top, std::int32_t bottom) {
    dddd::TDDDDCanvas canvas(display_.BackBuffer());
    canvas.Pen.Color = dddd::clBlack;
    constexpr std::int32_t kRight = kScreenWidth - 1;
    constexpr std::int32_t kLastRow = kScreenHeight - 1;
    canvas.MoveTo(kRight, top);
    canvas.LineTo(kRight, bottom);
    if (top <= kLastRow && kLastRow < bottom) {
        canvas.MoveTo(0, kLastRow);
        canvas.LineTo(kRight, kLastRow);
    }
}

int BackBufferCanvas::FramesHeld() const {
    // A full-screen flip that fails copies instead; the buffer then holds
    // the last frame, which the frame before last's changes include.
    return display_.FullScreen() ? 2 : 1;
}

} // namespace game
