#include "game/back_buffer_canvas.h"

#include "game/scene_repaint.h"
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

namespace {

// A sheet's pixels, locked for reading while this lives: none where the sheet
// cannot be read or `part` does not lie within it.
class SheetPixels {
public:
    SheetPixels(dddd::TDDDDGenSurface* sheet, const base::Rect& part) {
        if (!sheet || !sheet->Surface || base::IsEmpty(part) || part.Left < 0 || part.Top < 0 ||
            sheet->Surface->Lock(nullptr, &desc_, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK)
            return;
        surface_ = sheet->Surface;
        bytes_ = desc_.ddpfPixelFormat.dwRGBBitCount / 8;
        readable_ = bytes_ >= 1 && bytes_ <= 4 && desc_.lpSurface &&
                    static_cast<DWORD>(part.Right) <= desc_.dwWidth &&
                    static_cast<DWORD>(part.Bottom) <= desc_.dwHeight;
    }
    ~SheetPixels() {
        if (surface_)
            surface_->Unlock(nullptr);
    }
    SheetPixels(const SheetPixels&) = delete;
    SheetPixels& operator=(const SheetPixels&) = delete;

    explicit operator bool() const { return readable_; }
    DWORD Bytes() const { return bytes_; }
    const BYTE* At(std::int32_t x, std::int32_t y) const {
        return static_cast<const BYTE*>(desc_.lpSurface) + static_cast<std::ptrdiff_t>(y) * desc_.lPitch +
               static_cast<std::ptrdiff_t>(x) * bytes_;
    }

private:
    DDSURFACEDESC desc_ = MakeSurfaceDesc();
    IDirectDrawSurface* surface_ = nullptr;
    DWORD bytes_ = 0;
    bool readable_ = false;
};

} // namespace

base::Rect BackBufferCanvas::InkedPart(Sheet sheet, const base::Rect& source) {
    dddd::TDDDDGenSurface* from = sheets_[static_cast<std::size_t>(sheet)];
    const base::Rect part =
        from ? base::Intersect(source, base::MakeRect(0, 0, from->Width, from->Height)) : source;
    const SheetPixels pixels(from, part);
    if (!pixels)
        return source;
    const DWORD bytes = pixels.Bytes();
    base::Rect inked{part.Right, part.Bottom, part.Left, part.Top};
    for (std::int32_t y = part.Top; y < part.Bottom; ++y) {
        for (std::int32_t x = part.Left; x < part.Right; ++x) {
            std::uint32_t value = 0;
            std::memcpy(&value, pixels.At(x, y), bytes);
            if (value != from->ColorKey) {
                inked = base::MakeRect(std::min(inked.Left, x), std::min(inked.Top, y),
                                       std::max(inked.Right, x + 1), std::max(inked.Bottom, y + 1));
            }
        }
    }
    return base::IsEmpty(inked) ? base::Rect{} : inked;
}

bool BackBufferCanvas::SameParts(Sheet sheet, const base::Rect& first, const base::Rect& second) {
    if (first.Width() != second.Width() || first.Height() != second.Height())
        return false;
    const SheetPixels pixels(sheets_[static_cast<std::size_t>(sheet)],
                             base::MakeRect(std::min(first.Left, second.Left), std::min(first.Top, second.Top),
                                            std::max(first.Right, second.Right),
                                            std::max(first.Bottom, second.Bottom)));
    if (!pixels)
        return false;
    const std::size_t rowBytes = static_cast<std::size_t>(first.Width()) * pixels.Bytes();
    for (std::int32_t y = 0; y < first.Height(); ++y) {
        if (std::memcmp(pixels.At(first.Left, first.Top + y), pixels.At(second.Left, second.Top + y),
                        rowBytes) != 0)
            return false;
    }
    return true;
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

void BackBufferCanvas::DrawWholeFrames() { wholeFrames_ = SceneRepaint::kMostFramesHeld; }

int BackBufferCanvas::FramesHeld() const {
    if (wholeFrames_ > 0) {
        --wholeFrames_;
        return 0;
    }
    // A full-screen flip that fails copies instead; the buffer then holds
    // the last frame, which the frame before last's changes include.
    return display_.FullScreen() ? 2 : 1;
}

} // namespace game
