#include "display/dddd.h"
#include "display/display_doubles.h"
#include "diagnostics/log_capture.h"
#include "display/recording_direct_draw.h"
#include "diagnostics/diagnostic_log.h"
#include "platform/ui/qt_bitmap_decoder.h"
#include "surfaces/bmp_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ddraw;
using dddd::TDDDD;
using displaytest::FakeDesktop;
using displaytest::FakeForm;
using displaytest::FakeWindowSystem;
using displaytest::RecordingDirectDraw;

namespace {

struct Halted {};

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFailureInjection();
        SetSoftwareSettings(SoftwareSettings{});
        RecordingDirectDraw::Install(&calls);
        diagnostics::SetHaltAction([] { throw Halted(); });
    }
    void TearDown() override {
        form.reset();
        RecordingDirectDraw::Uninstall();
        diagnostics::SetHaltAction(nullptr);
        ResetFailureInjection();
    }

    // A form that stores the game's settings for the component unless the
    // test changes them before loading.
    TDDDD& MakeComponent(dddd::TDDDDDispMode mode = dddd::dmWin640x480x16, bool autoInit = false) {
        form = std::make_unique<FakeForm>();
        // The form's own handler is in place before its components exist.
        form->OnCreate = [this] { calls.push_back("FormCreate"); };
        display = new TDDDD(form.get());
        display->SetDisplayMode(mode);
        display->AutoDisplayModeInitialize = autoInit;
        display->OnInit = [this](ui::TComponent* sender, bool needChange) {
            calls.push_back(std::string("OnInit ") + (needChange ? "true" : "false"));
            EXPECT_EQ(sender, form.get());
        };
        display->OnCleanUp = [this](ui::TComponent*) { calls.push_back("OnCleanUp"); };
        display->OnChangeDisplayMode = [this](ui::TComponent*) { calls.push_back("OnChangeDisplayMode"); };
        return *display;
    }
    TDDDD& LoadedComponent(dddd::TDDDDDispMode mode = dddd::dmWin640x480x16, bool autoInit = false) {
        TDDDD& d = MakeComponent(mode, autoInit);
        form->Load();
        calls.clear();
        return d;
    }
    std::size_t Count(const std::string& call) const {
        return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
    }
    std::ptrdiff_t Index(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) - calls.begin();
    }

    displaytest::LogCapture log;
    FakeDesktop desktop;
    FakeWindowSystem windows;
    std::vector<std::string> calls;
    std::unique_ptr<FakeForm> form;
    TDDDD* display = nullptr;
};

TEST_F(DisplayTest, CreationMakesTheSmallSetUpThenRunsTheFormsHandlerThenOnInit) {
    TDDDD& d = MakeComponent();
    form->Load();
    EXPECT_EQ(calls, (std::vector<std::string>{"DirectDrawCreate", "QueryInterface", "GetCaps",
                                               "SetCooperativeLevel 0x8", "CreateSurface 0x1 0x200",
                                               "CreateSurface 0x7 0x4040", "CreateClipper",
                                               "FormCreate", "OnInit true"}));
    EXPECT_EQ(d.ScreenWidth(), 128);
    EXPECT_EQ(d.ScreenHeight(), 128);
    EXPECT_EQ(d.BitCount(), 32);
    EXPECT_FALSE(d.FullScreen());
    EXPECT_TRUE(d.Ready());
    EXPECT_FALSE(d.Waiting());
    ASSERT_NE(d.BackBuffer(), nullptr);
    EXPECT_EQ(d.BackBuffer()->Width, 128);
    EXPECT_EQ(d.WindowHandle(), form->Handle());
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(DisplayTest, LaterSetUpsCleanUpFirstAndAnnounceTheChangeAfterRestoring) {
    TDDDD& d = LoadedComponent();
    EXPECT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), 0);
    ASSERT_EQ(calls.front(), "OnCleanUp");
    EXPECT_LT(Index("OnCleanUp"), Index("Release DirectDraw2"));
    EXPECT_LT(Index("Release DirectDraw2"), Index("Release DirectDraw"));
    EXPECT_EQ(calls.back(), "OnChangeDisplayMode");
    EXPECT_EQ(Count("OnCleanUp"), 1u);
    EXPECT_EQ(d.BackBuffer()->Width, 640);
    DDSURFACEDESC back = MakeSurfaceDesc();
    d.BackBuffer()->Surface->GetSurfaceDesc(&back);
    EXPECT_EQ(back.dwWidth, 640u);
    EXPECT_EQ(back.dwHeight, 480u);
    EXPECT_TRUE(log.Lines().empty()); // every release answered 0
}

TEST_F(DisplayTest, AFixedWindowModeOnTheWrongDesktopDepthWarnsAndEnds) {
    MakeComponent(dddd::dmWin640x480x16, true);
    form->Show();
    EXPECT_THROW(form->Load(), Halted);
    EXPECT_EQ(desktop.Messages,
              std::vector<std::string>{"画面モードが不適切です 色数を16ビットにして起動し直してください"});
    EXPECT_FALSE(form->Shown);
    EXPECT_EQ(Count("DirectDrawCreate"), 0u);
}

TEST_F(DisplayTest, TheVariableWindowModeTakesTheClientAreaAndTheDesktopDepth) {
    form = std::make_unique<FakeForm>();
    form->W = 300;
    form->H = 200;
    display = new TDDDD(form.get());
    display->SetDisplayMode(dddd::dmWinVariable);
    form->Load();
    EXPECT_TRUE(desktop.Messages.empty());
    EXPECT_EQ(display->ScreenWidth(), 300);
    EXPECT_EQ(display->ScreenHeight(), 200);
    EXPECT_EQ(display->BitCount(), 32);
    EXPECT_EQ(display->BackBuffer()->Width, 300);
}

TEST_F(DisplayTest, AutomaticFullScreenSetUpFlipsByFlipping) {
    TDDDD& d = MakeComponent(dddd::dmFull640x480x16, true);
    form->Load();
    EXPECT_EQ(calls.back(), "OnInit false");
    EXPECT_TRUE(d.FullScreen());
    EXPECT_TRUE(form->Shown);
    EXPECT_TRUE(form->BroughtToFront);
    EXPECT_EQ(form->W, 1920); // the window covers the screen
    EXPECT_EQ(Count("SetCooperativeLevel 0x53"), 1u);
    EXPECT_EQ(Count("SetDisplayMode 640x480x16"), 1u);
    EXPECT_EQ(Count("CreateSurface 0x21 0x218"), 1u);
    EXPECT_EQ(d.Clipper(), nullptr);
    ASSERT_NE(d.BackBuffer()->Surface, nullptr);
    DDSCAPS caps;
    d.BackBuffer()->Surface->GetCaps(&caps);
    EXPECT_TRUE(caps.dwCaps & DDSCAPS_BACKBUFFER);

    const int blits = CallCount(Operation::Blt);
    d.Flip();
    EXPECT_EQ(CallCount(Operation::Flip), 1);
    EXPECT_EQ(CallCount(Operation::Blt), blits);

    calls.clear();
    d.Finalize();
    EXPECT_EQ(Count("RestoreDisplayMode"), 1u);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(DisplayTest, AFullScreenModeTheDisplayDoesNotListIsLeftToOnInit) {
    windows.ScreenList = {{"Small display", "display", 800, 600, 32}};
    TDDDD& d = MakeComponent(dddd::dmFull1024x768x16, true);
    form->Load();
    EXPECT_EQ(calls.back(), "OnInit true");
    EXPECT_EQ(Count("DirectDrawCreate"), 1u); // only the small set-up
    EXPECT_EQ(d.ScreenWidth(), 1024);         // the chosen mode is kept
}

TEST_F(DisplayTest, DisplayModesMatchOnTheGivenValuesOnly) {
    TDDDD& d = LoadedComponent();
    EXPECT_TRUE(d.IsDisplayModeAvailable(640, 480, 16, 0));
    EXPECT_TRUE(d.IsDisplayModeAvailable(0, 0, 0, 0));
    EXPECT_TRUE(d.IsDisplayModeAvailable(0, 0, 8, 0));
    EXPECT_FALSE(d.IsDisplayModeAvailable(641, 480, 16, 0));
    EXPECT_FALSE(d.IsDisplayModeAvailable(-640, 480, 16, 0));
    EXPECT_FALSE(d.IsDisplayModeAvailable(640, 480, 12, 0));
}

TEST_F(DisplayTest, DriversAreListedAndFoundByTheirExactEntry) {
    windows.ScreenList.push_back({"Second display", "display2", 1024, 768, 32});
    TDDDD& d = LoadedComponent();
    EXPECT_EQ(d.Drivers(), (std::vector<std::string>{"Primary display (display)",
                                                     "Second display (display2)"}));
    IDirectDraw* found = d.FindDriver("Second display (display2)");
    ASSERT_NE(found, nullptr);
    found->Release();
    EXPECT_EQ(d.FindDriver("second display (display2)"), nullptr);
    EXPECT_EQ(d.FindDriver(""), nullptr);
}

TEST_F(DisplayTest, TheScreenSaverFollowsThePropertyAndComesBackAtTheEnd) {
    desktop.SaverActive = false; // as found before the program started
    TDDDD& d = LoadedComponent();
    EXPECT_FALSE(desktop.SaverActive);
    d.SetDisableScreenSaver(false);
    EXPECT_TRUE(desktop.SaverActive);
    form.reset();
    EXPECT_FALSE(desktop.SaverActive);
    EXPECT_EQ(desktop.SaverWrites, (std::vector<bool>{false, true, false}));
}

TEST_F(DisplayTest, ReadingTheDisplayModeAtRunTimeIsLogged) {
    TDDDD& d = LoadedComponent();
    EXPECT_EQ(d.DisplayMode(), dddd::dmWin640x480x16);
    d.SetDesigning(true);
    d.DisplayMode();
    d.SetDesigning(false);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"ScreenModeプロパティは読み込み禁止です"});
}

TEST_F(DisplayTest, WritingTheDisplayModeOnceReadyMakesTheSetUp) {
    TDDDD& d = LoadedComponent();
    d.SetDisplayMode(dddd::dmWin800x600x16);
    EXPECT_EQ(d.ScreenWidth(), 800);
    EXPECT_EQ(calls.back(), "OnChangeDisplayMode");
    EXPECT_EQ(d.BackBuffer()->Width, 800);
}

TEST_F(DisplayTest, EachFailingStepWritesItsLineAndTheSetUpGoesOn) {
    TDDDD& d = LoadedComponent();
    InjectFailure(Operation::SetCooperativeLevel, DDERR_GENERIC);
    InjectFailure(Operation::ClipperSetHWnd, DDERR_INVALIDPARAMS);
    EXPECT_EQ(d.Initialize(false, 640, 480, 16, 0, ""), 0);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                               "協調レベルの設定に失敗しました(Error Code(80004005))",
                               "プライマリ・サーフェスの作成に失敗しました(Error Code(887600D4))",
                               "Clipperのフォームへの割り当てに失敗しました(Error Code(80070057))"}));
    // The back buffer was still made, and the frame goes on.
    ASSERT_NE(d.BackBuffer()->Surface, nullptr);
    EXPECT_EQ(d.FrontBuffer()->Surface, nullptr);
    d.Flip();
    EXPECT_EQ(d.Clear(), DD_OK);
    EXPECT_EQ(calls.back(), "OnChangeDisplayMode");
}

TEST_F(DisplayTest, TheWindowedBackBufferFallsBackOnceAndOnlyTheSecondTryIsChecked) {
    TDDDD& d = LoadedComponent();
    InjectFailure(Operation::CreateSurface, DDERR_OUTOFVIDEOMEMORY, 1, 1);
    d.Initialize(false, 640, 480, 16, 0, "");
    EXPECT_EQ(Count("CreateSurface 0x7 0x4040"), 1u);
    EXPECT_EQ(Count("CreateSurface 0x7 0x40"), 1u);
    EXPECT_TRUE(log.Lines().empty());

    InjectFailure(Operation::CreateSurface, DDERR_OUTOFVIDEOMEMORY, 1, 2);
    d.Initialize(false, 640, 480, 16, 0, "");
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"バックバッファの作成に失敗しました(Error Code(8876017C))"});
    EXPECT_EQ(d.BackBuffer()->Surface, nullptr);
    EXPECT_NE(d.Clear(), DD_OK);
}

TEST_F(DisplayTest, FullScreenStepsAndAFailedModeChange) {
    TDDDD& d = LoadedComponent();
    InjectFailure(Operation::SetDisplayMode, DDERR_INVALIDMODE);
    d.Initialize(true, 640, 480, 16, 0, "");
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"画面モード640x480x16の初期化に失敗しました(Error Code(88760078))"});
    const auto first = Index("SetCooperativeLevel 0x53");
    EXPECT_LT(first, Index("SetDisplayMode 640x480x16"));
    EXPECT_LT(Index("SetDisplayMode 640x480x16"), Index("CreateSurface 0x21 0x218"));
    EXPECT_TRUE(d.FullScreen());
}

TEST_F(DisplayTest, AtEightBitsAPaletteIsSharedByBothBuffers) {
    TDDDD& d = LoadedComponent();
    d.Initialize(true, 640, 480, 8, 0, "");
    EXPECT_EQ(Count("CreatePalette 0x4"), 1u);
    EXPECT_EQ(CallCount(Operation::SetPalette), 2);
    ASSERT_NE(d.Palette(), nullptr);
    EXPECT_EQ(d.PaletteEntries()[17].peFlags, PC_NOCOLLAPSE);
    d.Initialize(false, 640, 480, 16, 0, "");
    EXPECT_EQ(d.Palette(), nullptr);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(DisplayTest, AWindowedFinaliseLeavesTheDisplayModeAlone) {
    TDDDD& d = LoadedComponent();
    d.Finalize();
    EXPECT_EQ(Count("RestoreDisplayMode"), 0u);
    EXPECT_EQ(d.DirectDraw2(), nullptr);
    EXPECT_EQ(d.FrontBuffer(), nullptr);
    EXPECT_EQ(d.BackBuffer(), nullptr);
}

// The primary and back buffer are given back when a set-up ends, so that
// set-ups in a row (two for every game run) leave nothing behind.
TEST_F(DisplayTest, FinalizeGivesBackTheBuffersSurfaces) {
    for (bool fullScreen : {false, true}) {
        TDDDD& d = LoadedComponent();
        d.Initialize(fullScreen, 640, 480, 16, 0, "");
        IDirectDrawSurface* front = d.FrontBuffer()->Surface;
        IDirectDrawSurface* back = d.BackBuffer()->Surface;
        front->AddRef();
        back->AddRef();
        d.Finalize();
        EXPECT_EQ(back->Release(), 0u) << "full screen " << fullScreen;
        EXPECT_EQ(front->Release(), 0u) << "full screen " << fullScreen;
    }
}

TEST_F(DisplayTest, ClearBlackensTheBackBuffer) {
    TDDDD& d = LoadedComponent();
    d.Initialize(false, 640, 480, 32, 0, "");
    DDBLTFX fx = MakeBltFx();
    fx.dwFillColor = 0x00FFFFFF;
    d.BackBuffer()->Surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    EXPECT_EQ(d.Clear(), DD_OK);
    DDSURFACEDESC desc = d.BackBuffer()->Lock();
    bool allBlack = true;
    for (DWORD y = 0; y < desc.dwHeight; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(desc.lpSurface) +
                                                                 y * desc.lPitch);
        for (DWORD x = 0; x < desc.dwWidth; ++x)
            allBlack = allBlack && row[x] == 0;
    }
    d.BackBuffer()->Unlock();
    EXPECT_TRUE(allBlack);
}

// The desktop pixel at (x, y), read through the windowed primary.
std::uint32_t DesktopPixel(TDDDD& d, int x, int y) {
    DDSURFACEDESC desc = MakeSurfaceDesc();
    d.FrontBuffer()->Surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    const std::uint32_t value =
        reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(desc.lpSurface) + y * desc.lPitch)[x];
    d.FrontBuffer()->Surface->Unlock(nullptr);
    return value;
}

TEST_F(DisplayTest, WindowedFlipOfAWindowPartlyOffTheScreenCopiesTheVisiblePart) {
    TDDDD& d = LoadedComponent();
    form->X = -100;
    form->Y = 50;
    d.Initialize(false, 640, 480, 32, 0, "");
    DDBLTFX fx = MakeBltFx();
    fx.dwFillColor = 0x00EEEEEE;
    d.BackBuffer()->Surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    const std::uint32_t outside[] = {DesktopPixel(d, 540, 50), DesktopPixel(d, 0, 49),
                                     DesktopPixel(d, 0, 530)};
    d.BackBuffer()->Lock();
    for (int x = 0; x < 640; ++x)
        d.BackBuffer()->WritePixel(x, 0, static_cast<std::uint32_t>(x + 1));
    d.BackBuffer()->WritePixel(639, 479, 0xABCDEF);
    d.BackBuffer()->Unlock();
    calls.clear();
    d.Flip();
    EXPECT_EQ(calls, std::vector<std::string>{"WaitForVerticalBlank 0x1"});
    EXPECT_EQ(DesktopPixel(d, 0, 50), 101u);
    EXPECT_EQ(DesktopPixel(d, 539, 50), 640u);
    EXPECT_EQ(DesktopPixel(d, 539, 529), 0xABCDEFu);
    EXPECT_EQ(DesktopPixel(d, 100, 51), 0x00EEEEEEu);
    EXPECT_EQ(DesktopPixel(d, 540, 50), outside[0]);
    EXPECT_EQ(DesktopPixel(d, 0, 49), outside[1]);
    EXPECT_EQ(DesktopPixel(d, 0, 530), outside[2]);
    EXPECT_NE(outside[0], 0x00EEEEEEu);
}

TEST_F(DisplayTest, WindowedFlipIntoAClientAreaOfAnotherSizeStretches) {
    TDDDD& d = LoadedComponent();
    d.VsyncAtWindowed = false;
    form->X = 10;
    form->Y = 10;
    d.Initialize(false, 640, 480, 32, 0, "");
    form->W = 1280;
    form->H = 960;
    d.BackBuffer()->WritePixel(0, 0, 0x00FF00FF);
    d.BackBuffer()->WritePixel(639, 479, 0x0000FF00);
    calls.clear();
    d.Flip();
    EXPECT_TRUE(calls.empty()); // no vertical blank wait
    EXPECT_EQ(DesktopPixel(d, 10, 10), 0x00FF00FFu);
    EXPECT_EQ(DesktopPixel(d, 11, 11), 0x00FF00FFu);
    EXPECT_EQ(DesktopPixel(d, 1289, 969), 0x0000FF00u);
}

// A window the desktop made wider than 4 : 3 (a tiling manager, a
// compositor's maximise) shows the whole frame centred, bars black.
TEST_F(DisplayTest, WindowedFlipIntoAClientAreaOfAnotherShapeKeepsTheAspectWithBlackBars) {
    TDDDD& d = LoadedComponent();
    d.VsyncAtWindowed = false;
    form->X = 10;
    form->Y = 10;
    d.Initialize(false, 640, 480, 32, 0, "");
    form->W = 1000;
    form->H = 480;
    DDBLTFX fx = MakeBltFx();
    fx.dwFillColor = 0x00EEEEEE;
    d.FrontBuffer()->Surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx); // the window's area
    const std::uint32_t beside = DesktopPixel(d, 10 + 1000, 10);
    d.BackBuffer()->WritePixel(0, 0, 0x00FF00FF);
    d.BackBuffer()->WritePixel(639, 479, 0x0000FF00);
    d.Flip();
    EXPECT_EQ(DesktopPixel(d, 10 + 180, 10), 0x00FF00FFu);
    EXPECT_EQ(DesktopPixel(d, 10 + 180 + 639, 10 + 479), 0x0000FF00u);
    EXPECT_EQ(DesktopPixel(d, 10, 10), 0u);
    EXPECT_EQ(DesktopPixel(d, 10 + 179, 10 + 479), 0u);
    EXPECT_EQ(DesktopPixel(d, 10 + 820, 10), 0u);
    EXPECT_EQ(DesktopPixel(d, 10 + 999, 10 + 479), 0u);
    EXPECT_EQ(DesktopPixel(d, 10 + 1000, 10), beside);
}

// A window made larger than the screen's lower part (no window manager
// keeps it on the screen) shows the frame fitted to the whole window, the
// screen showing the part that lies on it.
TEST_F(DisplayTest, WindowedFlipIntoAClientAreaPastTheScreensEdgeIsFittedToTheWholeWindow) {
    TDDDD& d = LoadedComponent();
    d.VsyncAtWindowed = false;
    form->X = 10;
    form->Y = 600;
    d.Initialize(false, 640, 480, 32, 0, "");
    form->W = 1000; // the frame fits as 1000 x 750 from y 675, past 1080
    form->H = 900;
    // Marks of 3 x 3 pixels, centred on (1, 1), (320, 200) and (638, 256).
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            d.BackBuffer()->WritePixel(1 + dx, 1 + dy, 0x00FF00FF);
            d.BackBuffer()->WritePixel(320 + dx, 200 + dy, 0x0000FF00);
            d.BackBuffer()->WritePixel(638 + dx, 256 + dy, 0x000000FF);
        }
    }
    d.Flip();
    EXPECT_EQ(DesktopPixel(d, 10, 674), 0u); // the bar above
    EXPECT_EQ(DesktopPixel(d, 11, 676), 0x00FF00FFu);
    EXPECT_EQ(DesktopPixel(d, 10 + 500, 675 + 313), 0x0000FF00u); // 320 × 1000/640, 200 × 750/480
    EXPECT_EQ(DesktopPixel(d, 10 + 997, 675 + 400), 0x000000FFu); // 638 × 1000/640, 256 × 750/480
}

TEST_F(DisplayTest, RakugakiWithEqualSizesCopiesUnscaledWithoutAClipper) {
    TDDDD& d = LoadedComponent();
    d.AllowRakugaki = true;
    form->X = 1800;
    form->Y = 0;
    d.Initialize(false, 640, 480, 32, 0, "");
    EXPECT_EQ(d.Clipper(), nullptr);
    d.BackBuffer()->WritePixel(119, 0, 0x00777777);
    const int fast = CallCount(Operation::BltFast);
    d.Flip();
    EXPECT_EQ(CallCount(Operation::BltFast), fast + 1);
    EXPECT_EQ(DesktopPixel(d, 1919, 0), 0x00777777u);
}

TEST_F(DisplayTest, RegisteringTwiceLeavesOneKeeperAtTheEnd) {
    TDDDD& d = LoadedComponent();
    dddd::TDDDDSurface a(&d, 8, 8, 0);
    dddd::TDDDDSurface b(&d, 8, 8, 0);
    d.RegisterSurface(&a);
    ASSERT_EQ(d.Keepers().size(), 2u);
    EXPECT_EQ(d.Keepers()[0]->Surface, &b);
    EXPECT_EQ(d.Keepers()[1]->Surface, &a);
    EXPECT_EQ(d.Keepers()[1]->ScreenBits, 32);
}

TEST_F(DisplayTest, DestroyingASurfaceRemovesItsKeeper) {
    TDDDD& d = LoadedComponent();
    dddd::TDDDDSurface kept(&d, 8, 8, 0);
    {
        dddd::TDDDDSurface gone(&d, 8, 8, 0);
        EXPECT_EQ(d.Keepers().size(), 2u);
    }
    ASSERT_EQ(d.Keepers().size(), 1u);
    EXPECT_EQ(d.Keepers()[0]->Surface, &kept);
    d.Initialize(false, 640, 480, 32, 0, ""); // restores only the kept one
    EXPECT_FALSE(kept.IsLost());
}

TEST_F(DisplayTest, AfterANewSetUpALoadedSurfaceShowsItsPictureAgain) {
    ui::QtBitmapDecoder decoder;
    ui::BitmapDecoder* previous = ui::SetBitmapDecoder(&decoder);
    TDDDD& d = LoadedComponent();
    d.SetSurfaceLocation(dddd::smtSystemMemory);
    auto pattern = [](int x, int y) { return static_cast<std::uint32_t>((x * 4) << 16 | (y * 8) << 8 | 0x40); };
    const surfacetest::Bytes bmp = surfacetest::MakeBmp24(64, 32, pattern);
    const std::string path = log.Dir().File("char.bmp");
    testsupport::WriteFileBytes(path, std::string(bmp.begin(), bmp.end()));
    dddd::TDDDDSurface picture(&d, 64, 32, 0);
    picture.LoadFromFile(path);
    picture.SetColorKey(0x40);
    dddd::TDDDDSurface blank(&d, 8, 8, 3);
    EXPECT_EQ(picture.ReadPixel(63, 31), pattern(63, 31));

    d.Initialize(false, 640, 480, 32, 0, "");
    ASSERT_FALSE(picture.IsLost());
    EXPECT_FALSE(blank.IsLost());
    EXPECT_EQ(picture.Width, 64);
    EXPECT_EQ(picture.ReadPixel(0, 0), pattern(0, 0));
    EXPECT_EQ(picture.ReadPixel(63, 31), pattern(63, 31));
    DDCOLORKEY key;
    picture.Surface->GetColorKey(DDCKEY_SRCBLT, &key);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0x40u);
    EXPECT_TRUE(log.Lines().empty());
    ui::SetBitmapDecoder(previous);
}

TEST_F(DisplayTest, SurfacesOutlivingTheComponentDoNotCallBack) {
    TDDDD& d = LoadedComponent();
    auto late = std::make_unique<dddd::TDDDDSurface>(&d, 8, 8, 0);
    form.reset();
    EXPECT_EQ(late->Owner, nullptr);
    late.reset();
}

TEST_F(DisplayTest, With3DTheSetUpAsksFor3DSurfacesAndPreparesItsPalettes) {
    TDDDD& d = LoadedComponent();
    d.Use3D = true;
    d.Initialize(false, 640, 480, 16, 0, "");
    // The software display has no 3D hardware: the back buffer goes to system memory.
    EXPECT_FALSE(d.Hardware3D());
    EXPECT_EQ(Count("CreateSurface 0x7 0x2840"), 1u);
    EXPECT_EQ(d.PaletteEntries()[9].peFlags, 0x40);
    EXPECT_EQ(d.PaletteEntries()[10].peFlags, PC_RESERVED);
    EXPECT_EQ(d.PaletteEntries()[245].peFlags, PC_RESERVED);
    EXPECT_EQ(d.PaletteEntries()[246].peFlags, 0x40);

    d.BackBufferLocationAtWindowed = dddd::bmtVideoMemory;
    d.Initialize(false, 640, 480, 16, 0, "");
    EXPECT_EQ(Count("CreateSurface 0x7 0x6040"), 1u);

    d.Initialize(true, 640, 480, 8, 0, "");
    EXPECT_EQ(Count("CreateSurface 0x21 0x2218"), 1u);
    EXPECT_EQ(d.PaletteEntries()[0xFF], (PALETTEENTRY{255, 255, 255, 0x40}));
    EXPECT_EQ(d.PaletteEntries()[0x25], (PALETTEENTRY{36, 36, 85, 0x40}));
    EXPECT_TRUE(log.Lines().empty());
}

} // namespace
