#include "game/back_buffer_canvas.h"
#include "game/scene_composer.h"

#include "diagnostics/diagnostic_log.h"
#include "platform/ui/qt_backends.h"
#include "platform/ui/qt_form.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A window with only the display component, set up as a game run sets it up.
class DisplayForm : public ui::QtForm {
public:
    DisplayForm() {
        display = new dddd::TDDDD(this);
        display->AutoDisplayModeInitialize = false;
        FinishLoading();
    }
    dddd::TDDDD* display;
};

class BackBufferCanvasTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        diagnostics::SetLogDirectoryForTesting(logs_.Path().string());
        backends_ = ui::InstallQtBackends();
        form_ = std::make_unique<DisplayForm>();
        form_->Show();
        display().Initialize(GetParam(), 640, 480, 16, 0, "");
        white_ = back().ColorMatch(0xFFFFFF);
        canvas_ = std::make_unique<game::BackBufferCanvas>(display());
    }
    void TearDown() override {
        canvas_.reset();
        sheet_.reset();
        form_.reset();
        backends_.reset();
        diagnostics::SetLogDirectoryForTesting("");
    }

    dddd::TDDDD& display() { return *form_->display; }
    dddd::TDDDDGenSurface& back() { return *display().BackBuffer(); }
    std::uint32_t At(int x, int y) { return back().ReadPixel(x, y); }
    void FillAll(std::uint32_t pixel) { canvas_->FillScreenRect(0, 0, 640, 480, pixel); }

    // Pixels of the area that are neither black nor the given pixel value.
    int CountPixels(int left, int top, int right, int bottom, std::uint32_t pixel) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                count += At(x, y) == pixel;
        return count;
    }

    testsupport::TempDir logs_;
    std::unique_ptr<ui::QtBackends> backends_;
    std::unique_ptr<DisplayForm> form_;
    std::unique_ptr<game::BackBufferCanvas> canvas_;
    std::unique_ptr<dddd::TDDDDSurface> sheet_;
    std::uint32_t white_ = 0;
};

TEST_P(BackBufferCanvasTest, BordersCoverTheEdgeColumnsAndTheLastRowAndNothingElse) {
    FillAll(white_);
    canvas_->FillScreenRect(0, 0, 5, 479, 0);
    canvas_->FillScreenRect(634, 0, 639, 479, 0);
    canvas_->DrawBorderLines(0, 480);

    EXPECT_EQ(At(4, 0), 0u);
    EXPECT_EQ(At(5, 0), white_);
    EXPECT_EQ(At(633, 300), white_);
    EXPECT_EQ(At(634, 300), 0u);
    EXPECT_EQ(At(638, 478), 0u);
    EXPECT_EQ(At(639, 0), 0u);   // the right line, from the top
    EXPECT_EQ(At(639, 479), 0u); // ... down to the last row
    EXPECT_EQ(At(0, 479), 0u);   // the bottom line
    EXPECT_EQ(At(300, 479), 0u);
    EXPECT_EQ(At(300, 478), white_);
    // Everything inside stays as it was.
    EXPECT_EQ(CountPixels(5, 0, 634, 479, white_), 629 * 479);

    // Drawn again over some rows only, the lines stay within them.
    FillAll(white_);
    canvas_->DrawBorderLines(100, 200);
    EXPECT_EQ(At(639, 99), white_);
    EXPECT_EQ(At(639, 100), 0u);
    EXPECT_EQ(At(639, 199), 0u);
    EXPECT_EQ(At(639, 200), white_);
    EXPECT_EQ(At(0, 479), white_);
}

TEST_P(BackBufferCanvasTest, TextIsDrawnInItsColourWithinTheAreaItGives) {
    FillAll(0);
    const std::uint32_t yellow = back().ColorMatch(game::Rgb(255, 255, 0));
    const base::Rect area = canvas_->ScreenTextArea(250, 5, "最高点 120", 20);
    const base::Rect screen = base::MakeRect(0, 0, 640, 480);
    canvas_->DrawScreenText(250, 5, "最高点 120", 20, game::Rgb(255, 255, 0), {&screen, 1});
    // 20 points are 27 pixels: the text lies within its line.
    EXPECT_GT(CountPixels(250, 5, 420, 32, yellow), 100);
    EXPECT_LE(area.Height(), 60);
    // The background is drawn again only there: nothing may lie outside.
    int strays = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (At(x, y) != 0 && (x < area.Left || y < area.Top || x >= area.Right ||
                                  y >= area.Bottom || x > 450 || y > 40))
                ++strays;
    EXPECT_EQ(strays, 0);
}

TEST_P(BackBufferCanvasTest, SpritesLeaveOutTheirBlackPixelsAndClipAtTheEdges) {
    sheet_ = std::make_unique<dddd::TDDDDSurface>(&display(), 640, 480, 0);
    const std::uint32_t red = sheet_->ColorMatch(game::Rgb(255, 0, 0));
    ddraw::DDBLTFX fx = ddraw::MakeBltFx();
    fx.dwFillColor = red;
    sheet_->DrawFx(nullptr, base::MakeRect(0, 0, 80, 100), base::MakeRect(0, 0, 80, 100),
                   ddraw::DDBLT_COLORFILL | ddraw::DDBLT_WAIT, fx);
    fx.dwFillColor = 0;
    sheet_->DrawFx(nullptr, base::MakeRect(80, 0, 160, 100), base::MakeRect(80, 0, 160, 100),
                   ddraw::DDBLT_COLORFILL | ddraw::DDBLT_WAIT, fx);
    canvas_->SetSheet(game::Sheet::Pimuru1, sheet_.get());

    FillAll(white_);
    // A pimuru at its leftmost: three quarters of it off the screen.
    canvas_->Draw(game::Sheet::Pimuru1, -40, 200, base::MakeRect(0, 0, 160, 100), true);
    EXPECT_EQ(At(0, 200), red);
    EXPECT_EQ(At(39, 299), red);
    EXPECT_EQ(At(40, 250), white_); // black in the sheet: left out
    EXPECT_EQ(At(0, 300), white_);

    canvas_->Draw(game::Sheet::Pimuru1, 540, 0, base::MakeRect(0, 0, 160, 100), false);
    EXPECT_EQ(At(620, 50), 0u); // opaque: the black is copied
    EXPECT_EQ(At(540, 0), red);

    // A sheet that is not loaded draws nothing.
    canvas_->Draw(game::Sheet::Characters, 0, 0, base::MakeRect(0, 0, 160, 100), false);
    EXPECT_EQ(At(0, 0), white_);

    // What a keyed copy draws lies in the red part; the black part draws
    // nothing; an unloaded sheet is taken whole.
    EXPECT_EQ(canvas_->InkedPart(game::Sheet::Pimuru1, base::MakeRect(40, 10, 160, 100)),
              base::MakeRect(40, 10, 80, 100));
    EXPECT_TRUE(base::IsEmpty(
        canvas_->InkedPart(game::Sheet::Pimuru1, base::MakeRect(80, 0, 160, 100))));
    EXPECT_EQ(canvas_->InkedPart(game::Sheet::Characters, base::MakeRect(1, 2, 3, 4)),
              base::MakeRect(1, 2, 3, 4));

    // Parts of a sheet compare by their pixels: red with red, not with a part
    // that reaches into the black; not at all on an unloaded sheet.
    EXPECT_TRUE(canvas_->SameParts(game::Sheet::Pimuru1, base::MakeRect(0, 0, 16, 5),
                                   base::MakeRect(64, 95, 80, 100)));
    EXPECT_FALSE(canvas_->SameParts(game::Sheet::Pimuru1, base::MakeRect(0, 0, 16, 5),
                                    base::MakeRect(65, 95, 81, 100)));
    EXPECT_FALSE(canvas_->SameParts(game::Sheet::Characters, base::MakeRect(0, 0, 16, 5),
                                    base::MakeRect(0, 0, 16, 5)));
}

TEST_P(BackBufferCanvasTest, TitleIsMagentaOnBlack) {
    FillAll(0);
    game::SceneComposer::DrawTitle(*canvas_);
    const std::uint32_t magenta = back().ColorMatch(game::Rgb(255, 0, 255));
    EXPECT_GT(CountPixels(60, 100, 640, 170, magenta), 500);
    EXPECT_GT(CountPixels(160, 250, 640, 320, magenta), 500);
    EXPECT_EQ(CountPixels(0, 180, 640, 240, magenta), 0);
}

INSTANTIATE_TEST_SUITE_P(WindowAndFullScreen, BackBufferCanvasTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "FullScreen" : "Window"; });

} // namespace
