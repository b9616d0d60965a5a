#include "platform/ui/qt_device_context.h"

#include "platform/ddraw/pixel_format.h"
#include "platform/ddraw/software_device_context.h"
#include "platform/ui/font_size.h"
#include "platform/ui/fonts.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {

using ddraw::COLORREF;
using ddraw::DWORD;
using ddraw::RGB;

// A surface's pixels as the software DirectDraw keeps them, with a pitch
// wider than a row to catch row arithmetic slips.
struct Surface {
    Surface(int width, int height, DWORD bits,
            ddraw::HighColorLayout layout = ddraw::HighColorLayout::Rgb565)
        : pitch((width * static_cast<int>(bits) / 8 + 3) / 4 * 4 + 8),
          bytes(static_cast<std::size_t>(pitch) * height, 0) {
        view.Pixels = bytes.data();
        view.Width = width;
        view.Height = height;
        view.Pitch = pitch;
        view.BitsPerPixel = bits;
        view.Format = ddraw::DisplayPixelFormat(bits, layout);
        if (bits == 8) {
            // Black twice (0 and 5), then the colours the tests draw with.
            palette[1] = {255, 0, 0, 0};
            palette[2] = {0, 255, 0, 0};
            palette[3] = {0, 0, 255, 0};
            palette[4] = {255, 255, 255, 0};
            for (int i = 6; i < 256; ++i)
                palette[i] = {static_cast<ddraw::BYTE>(i), 128, static_cast<ddraw::BYTE>(255 - i),
                              0};
            view.Palette = palette.data();
        }
    }

    DWORD Raw(int x, int y) const { return ddraw::ReadPixelValue(view, x, y); }
    DWORD RawOf(COLORREF colour) const {
        return ddraw::ColorToPixel(colour, view.Format, view.Palette);
    }
    void Fill(DWORD raw) {
        for (int y = 0; y < view.Height; ++y)
            for (int x = 0; x < view.Width; ++x)
                ddraw::WritePixelValue(view, x, y, raw);
    }

    int pitch;
    std::vector<ddraw::BYTE> bytes;
    std::array<ddraw::PALETTEENTRY, 256> palette{};
    ddraw::PixelView view;
};

struct Depth {
    DWORD bits;
    ddraw::HighColorLayout layout;
};

void PrintTo(const Depth& depth, std::ostream* out) {
    *out << depth.bits << " bits"
         << (depth.layout == ddraw::HighColorLayout::Rgb555 ? " 5-5-5" : "");
}

class DeviceContextOnDepth : public ::testing::TestWithParam<Depth> {
protected:
    Surface surface{64, 48, GetParam().bits, GetParam().layout};
    ui::QtDeviceContextFactory factory;
};

TEST_P(DeviceContextOnDepth, PixelsStoreTheSurfacesOwnValues) {
    {
        auto dc = factory.Create(surface.view);
        ASSERT_NE(dc, nullptr);
        EXPECT_EQ(dc->SetPixel(3, 4, RGB(255, 0, 0)), RGB(255, 0, 0));
        EXPECT_EQ(dc->GetPixel(3, 4), RGB(255, 0, 0));
        EXPECT_EQ(dc->SetPixel(63, 47, RGB(0, 0, 255)), RGB(0, 0, 255));
        EXPECT_EQ(dc->GetPixel(64, 0), ddraw::CLR_INVALID);
        EXPECT_EQ(dc->SetPixel(-1, 0, RGB(0, 0, 255)), ddraw::CLR_INVALID);
    }
    EXPECT_EQ(surface.Raw(3, 4), surface.RawOf(RGB(255, 0, 0)));
    EXPECT_EQ(surface.Raw(63, 47), surface.RawOf(RGB(0, 0, 255)));
    EXPECT_EQ(surface.Raw(4, 4), 0u);
    if (GetParam().bits == 16 && GetParam().layout == ddraw::HighColorLayout::Rgb565) {
        EXPECT_EQ(surface.Raw(3, 4), 0xF800u);
    }
    if (GetParam().bits == 16 && GetParam().layout == ddraw::HighColorLayout::Rgb555) {
        EXPECT_EQ(surface.Raw(3, 4), 0x7C00u);
    }
    if (GetParam().bits == 32) {
        EXPECT_EQ(surface.Raw(3, 4), 0x00FF0000u);
    }
}

TEST_P(DeviceContextOnDepth, LinesLeaveOutTheirEndPoint) {
    {
        auto dc = factory.Create(surface.view);
        dc->SelectPen({RGB(0, 255, 0), 1, ddraw::PenStyle::Solid});
        dc->MoveTo(0, 10);
        dc->LineTo(10, 10);
        // The game's right border: column 63 from row 0 down to the bottom.
        dc->MoveTo(63, 0);
        dc->LineTo(63, 48);
    }
    const DWORD green = surface.RawOf(RGB(0, 255, 0));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(surface.Raw(x, 10), green) << "x " << x;
    EXPECT_EQ(surface.Raw(10, 10), 0u);
    EXPECT_EQ(surface.Raw(0, 9), 0u);
    EXPECT_EQ(surface.Raw(0, 11), 0u);
    for (int y = 0; y < 48; ++y)
        EXPECT_EQ(surface.Raw(63, y), green) << "y " << y;
    EXPECT_EQ(surface.Raw(62, 20), 0u);
}

TEST_P(DeviceContextOnDepth, BackwardLinesLeaveOutTheirEndPointToo) {
    {
        auto dc = factory.Create(surface.view);
        dc->SelectPen({RGB(0, 255, 0), 1, ddraw::PenStyle::Solid});
        dc->MoveTo(10, 10);
        dc->LineTo(0, 10);
        dc->MoveTo(20, 30);
        dc->LineTo(20, 20);
    }
    const DWORD green = surface.RawOf(RGB(0, 255, 0));
    EXPECT_EQ(surface.Raw(0, 10), 0u);
    for (int x = 1; x <= 10; ++x)
        EXPECT_EQ(surface.Raw(x, 10), green) << "x " << x;
    EXPECT_EQ(surface.Raw(20, 20), 0u);
    for (int y = 21; y <= 30; ++y)
        EXPECT_EQ(surface.Raw(20, y), green) << "y " << y;
    EXPECT_EQ(surface.Raw(20, 31), 0u);
}

TEST_P(DeviceContextOnDepth, TextLandsBelowAndRightOfItsCornerOnAClearBackground) {
    surface.Fill(surface.RawOf(RGB(0, 0, 255)));
    const int left = 8;
    const int top = 6;
    ddraw::TextSize extent;
    {
        auto dc = factory.Create(surface.view);
        ddraw::FontSpec font;
        font.Height = 20; // points: 27 pixels
        dc->SelectFont(font);
        dc->SetTextColor(RGB(255, 255, 255));
        dc->SetBkMode(ddraw::BackgroundMode::Transparent);
        EXPECT_TRUE(dc->TextOut(left, top, "ピ1"));
        extent = dc->GetTextExtent("ピ1");
    }
    EXPECT_GE(extent.Height, 27);
    EXPECT_GT(extent.Width, 20);
    const DWORD blue = surface.RawOf(RGB(0, 0, 255));
    const DWORD white = surface.RawOf(RGB(255, 255, 255));
    int whites = 0;
    for (int y = 0; y < surface.view.Height; ++y) {
        for (int x = 0; x < surface.view.Width; ++x) {
            const DWORD raw = surface.Raw(x, y);
            const bool inCell =
                x >= left && y >= top && x < left + extent.Width && y < top + extent.Height;
            if (!inCell) {
                ASSERT_EQ(raw, blue) << x << "," << y;
            }
            whites += raw == white;
        }
    }
    EXPECT_GT(whites, 20);
}

TEST_P(DeviceContextOnDepth, DrawnAreasHoldEveryPixelPaintingChanged) {
    // Windows shown a copy of a surface look again only where these say.
    surface.Fill(surface.RawOf(RGB(0, 0, 255)));
    const std::vector<ddraw::BYTE> before = surface.bytes;
    std::vector<ddraw::RECT> areas;
    {
        auto dc = factory.Create(surface.view);
        dc->SetTextColor(RGB(255, 255, 255));
        dc->SetBkMode(ddraw::BackgroundMode::Transparent);
        EXPECT_TRUE(dc->TextOut(2, 2, "ピ1"));
        dc->SelectPen(ddraw::PenSpec{RGB(255, 0, 0), 1, ddraw::PenStyle::Solid});
        dc->MoveTo(40, 30);
        dc->LineTo(60, 40);
        dc->SetPixel(5, 45, RGB(0, 255, 0));
        dc->AddDrawnAreas(areas);
    }
    const auto inAreas = [&](int x, int y) {
        return std::any_of(areas.begin(), areas.end(), [&](const ddraw::RECT& r) {
            return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
        });
    };
    ASSERT_NE(surface.bytes, before);
    Surface original = surface;
    original.bytes = before;
    original.view.Pixels = original.bytes.data();
    for (int y = 0; y < surface.view.Height; ++y) {
        for (int x = 0; x < surface.view.Width; ++x) {
            if (surface.Raw(x, y) != original.Raw(x, y)) {
                ASSERT_TRUE(inAreas(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_FALSE(inAreas(63, 0)); // not simply the whole surface
}

TEST_P(DeviceContextOnDepth, ClippedPaintingIsWholePaintingInsideTheClipAndNothingElse) {
    const auto paint = [&](Surface& on, const ddraw::RECT* clip, std::vector<ddraw::RECT>* areas) {
        on.Fill(on.RawOf(RGB(0, 0, 255)));
        auto dc = factory.Create(on.view);
        dc->SetClipRect(clip);
        dc->SetTextColor(RGB(255, 255, 255));
        dc->SetBkMode(ddraw::BackgroundMode::Transparent);
        dc->TextOut(2, 2, "ピ1");
        dc->SelectPen(ddraw::PenSpec{RGB(255, 0, 0), 1, ddraw::PenStyle::Solid});
        dc->MoveTo(0, 20); // straight, then slanting
        dc->LineTo(64, 20);
        dc->LineTo(20, 47);
        dc->SelectBrush(ddraw::BrushSpec{RGB(0, 255, 0), ddraw::BrushStyle::Solid});
        dc->FillRect(ddraw::RECT{30, 0, 50, 48});
        dc->SetPixel(10, 40, RGB(0, 255, 0));
        dc->SetPixel(11, 30, RGB(0, 255, 0));
        if (areas)
            dc->AddDrawnAreas(*areas);
    };
    const Depth depth = GetParam();
    Surface whole{64, 48, depth.bits, depth.layout};
    paint(whole, nullptr, nullptr);
    const ddraw::RECT clip{8, 10, 40, 35};
    std::vector<ddraw::RECT> areas;
    paint(surface, &clip, &areas);
    const DWORD blue = surface.RawOf(RGB(0, 0, 255));
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool inside = x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom;
            ASSERT_EQ(surface.Raw(x, y), inside ? whole.Raw(x, y) : blue) << x << "," << y;
        }
    }
    for (const ddraw::RECT& area : areas) {
        EXPECT_TRUE(area.Left >= clip.Left && area.Top >= clip.Top && area.Right <= clip.Right &&
                    area.Bottom <= clip.Bottom);
    }
}

TEST_P(DeviceContextOnDepth, StretchedCopyScalesByNearestPixel) {
    // A 2 by 2 picture as the loader's decoded image: red, green / blue, white.
    std::vector<std::uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    ddraw::PixelView picture;
    picture.Pixels = reinterpret_cast<ddraw::BYTE*>(pixels.data());
    picture.Width = 2;
    picture.Height = 2;
    picture.Pitch = 8;
    picture.BitsPerPixel = 32;
    picture.Format = ddraw::DisplayPixelFormat(32, ddraw::HighColorLayout::Rgb565);
    {
        auto source = factory.Create(picture);
        auto dc = factory.Create(surface.view);
        EXPECT_TRUE(dc->StretchBlt(0, 0, 64, 48, *source, 0, 0, 2, 2));
        // Mirrored, from a context of another kind.
        ddraw::SoftwareDeviceContext plain(picture);
        EXPECT_TRUE(dc->StretchBlt(10, 40, -4, 4, plain, 0, 0, 2, 2));
    }
    EXPECT_EQ(surface.Raw(0, 0), surface.RawOf(RGB(255, 0, 0)));
    EXPECT_EQ(surface.Raw(31, 23), surface.RawOf(RGB(255, 0, 0)));
    EXPECT_EQ(surface.Raw(32, 0), surface.RawOf(RGB(0, 255, 0)));
    EXPECT_EQ(surface.Raw(0, 24), surface.RawOf(RGB(0, 0, 255)));
    EXPECT_EQ(surface.Raw(63, 39), surface.RawOf(RGB(255, 255, 255)));
    EXPECT_EQ(surface.Raw(6, 40), surface.RawOf(RGB(0, 255, 0)));
    EXPECT_EQ(surface.Raw(9, 40), surface.RawOf(RGB(255, 0, 0)));
    // The source picture is untouched.
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
}

INSTANTIATE_TEST_SUITE_P(Depths, DeviceContextOnDepth,
                         ::testing::Values(Depth{8, ddraw::HighColorLayout::Rgb565},
                                           Depth{16, ddraw::HighColorLayout::Rgb565},
                                           Depth{16, ddraw::HighColorLayout::Rgb555},
                                           Depth{24, ddraw::HighColorLayout::Rgb565},
                                           Depth{32, ddraw::HighColorLayout::Rgb565}),
                         [](const auto& info) {
                             return std::to_string(info.param.bits) +
                                    (info.param.layout == ddraw::HighColorLayout::Rgb555 ? "_555"
                                                                                         : "");
                         });

// Text is mixed onto 16 and 32-bit surfaces without a painter; it must come
// out as the painter itself draws it, edges and all, over any background.
TEST(QtDeviceContext, TextComesOutAsThePainterDrawsIt) {
    struct Text {
        int x, y;
        const char* text;
        COLORREF colour;
        bool opaque;
    };
    const Text texts[] = {{-3, 10, "得点 120", RGB(255, 255, 0), false},
                          {90, 40, "ab一", RGB(0, 0, 128), true}, // 一: a solid run of ink
                          {150, 50, "9", RGB(255, 255, 255), false}}; // cut by the edges
    const COLORREF background = RGB(200, 100, 50);
    for (DWORD bits : {DWORD{16}, DWORD{32}}) {
        Surface surface(160, 60, bits);
        for (int y = 0; y < 60; ++y) { // a ramp behind the text, so edges mix with something
            for (int x = 0; x < 160; ++x)
                ddraw::WritePixelValue(surface.view, x, y,
                                       surface.RawOf(RGB(x, 255 - 4 * y, (x * y) & 0xFF)));
        }
        const QImage::Format format = bits == 16 ? QImage::Format_RGB16 : QImage::Format_RGB32;
        QImage expected = QImage(surface.view.Pixels, 160, 60, surface.pitch, format).copy();
        ddraw::FontSpec spec;
        spec.Height = 18;
        spec.Bold = true;
        ui::QtDeviceContextFactory factory;
        {
            auto dc = factory.Create(surface.view);
            dc->SelectFont(spec);
            dc->SetBkColor(background);
            for (const Text& t : texts) {
                dc->SetTextColor(t.colour);
                dc->SetBkMode(t.opaque ? ddraw::BackgroundMode::Opaque : ddraw::BackgroundMode::Transparent);
                EXPECT_TRUE(dc->TextOut(t.x, t.y, t.text));
            }
        }
        {
            QFont font = ui::MakeFont(spec.FaceName, ui::PointsToPixels(spec.Height));
            font.setBold(true);
            const QFontMetrics metrics(font);
            QPainter painter(&expected);
            painter.setFont(font);
            for (const Text& t : texts) {
                const QString text = QString::fromUtf8(t.text);
                if (t.opaque)
                    painter.fillRect(QRect(t.x, t.y, metrics.horizontalAdvance(text), metrics.height()),
                                     QColor(200, 100, 50));
                painter.setPen(QColor(t.colour & 0xFF, (t.colour >> 8) & 0xFF, (t.colour >> 16) & 0xFF));
                painter.drawText(QPoint(t.x, t.y + metrics.ascent()), text);
            }
        }
        const QImage actual = QImage(surface.view.Pixels, 160, 60, surface.pitch, format);
        int differing = 0;
        int changed = 0;
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 160; ++x) {
                const QRgb a = actual.pixel(x, y);
                const QRgb e = expected.pixel(x, y);
                const int worst = std::max({std::abs(qRed(a) - qRed(e)), std::abs(qGreen(a) - qGreen(e)),
                                            std::abs(qBlue(a) - qBlue(e))});
                // At 16 bits the painter rounds glyph edges its own way: up
                // to two steps of 5-6-5 apart.
                differing += worst > (bits == 16 ? 17 : 1);
                changed += surface.Raw(x, y) != surface.RawOf(RGB(x, 255 - 4 * y, (x * y) & 0xFF));
            }
        }
        EXPECT_EQ(differing, 0) << bits << " bits";
        EXPECT_GT(changed, 300) << bits << " bits"; // the texts were drawn at all
        if (bits == 32) {
            EXPECT_EQ(surface.Raw(5, 20) >> 24, 0u); // the unused byte stays 0
        }
    }
}

TEST(QtDeviceContext, EightBitSurfaceKeepsIndicesPaintingDidNotTouch) {
    // Index 5 is a second black; painting on the 32-bit copy must not turn
    // untouched pixels into index 0.
    Surface surface(32, 32, 8);
    surface.Fill(5);
    ui::QtDeviceContextFactory factory;
    {
        auto dc = factory.Create(surface.view);
        auto* qt = dynamic_cast<ui::QtDeviceContext*>(dc.get());
        ASSERT_NE(qt, nullptr);
        EXPECT_TRUE(qt->PaintsOnCopy());
        dc->SelectPen({RGB(255, 0, 0), 1, ddraw::PenStyle::Solid});
        dc->MoveTo(0, 0);
        dc->LineTo(32, 32);
        dc->SelectBrush({RGB(250, 0, 0), ddraw::BrushStyle::Solid});
        dc->FillRect(base::MakeRect(20, 0, 24, 4));
    }
    EXPECT_EQ(surface.Raw(3, 3), 1u);
    EXPECT_EQ(surface.Raw(4, 3), 5u);
    EXPECT_EQ(surface.Raw(31, 0), 5u);
    EXPECT_EQ(surface.Raw(21, 1), 1u); // nearest palette colour to (250, 0, 0)
}

TEST(QtDeviceContext, ThirtyTwoBitPaintingLeavesTheUnusedByteZero) {
    Surface surface(16, 16, 32);
    ui::QtDeviceContextFactory factory;
    {
        auto dc = factory.Create(surface.view);
        dc->SelectBrush({RGB(1, 2, 3), ddraw::BrushStyle::Solid});
        dc->FillRect(base::MakeRect(0, 0, 16, 16));
    }
    EXPECT_EQ(surface.Raw(0, 0), 0x00010203u);
    EXPECT_EQ(surface.Raw(15, 15), 0x00010203u);
}

TEST(QtDeviceContext, FactoryRefusesWhatItCannotPaint) {
    ui::QtDeviceContextFactory factory;
    Surface surface(8, 8, 16);
    ddraw::PixelView odd = surface.view;
    odd.BitsPerPixel = 4;
    EXPECT_EQ(factory.Create(odd), nullptr);
    ddraw::PixelView empty = surface.view;
    empty.Pixels = nullptr;
    EXPECT_EQ(factory.Create(empty), nullptr);
}

} // namespace
