// What a frame draws, where, and in which order.
#include "game/scene_composer.h"
#include "rules/world.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

using namespace game;

namespace {

// What the pixel model holds at a sheet's pixel: each is its own, but for
// the background's left half, whose rows are one colour each, as a sky's are.
std::int64_t SheetPixel(Sheet sheet, int x, int y) {
    const bool plain = sheet == Sheet::Background && x < 320;
    return static_cast<std::int64_t>(sheet) * 1'000'000 + y * 640 + (plain ? 0 : x);
}

struct Op {
    std::string kind; // "draw", "text", "fill", "lines"
    Sheet sheet = Sheet::Background;
    int x = 0, y = 0;
    base::Rect source;
    bool keyed = false;
    std::string text;
    int points = 0;
    std::uint32_t colour = 0;
    std::vector<base::Rect> within; // texts
};

class RecordingCanvas : public SceneCanvas {
public:
    std::vector<Op> ops;

    void Draw(Sheet sheet, std::int32_t x, std::int32_t y, const base::Rect& source,
              bool keyed) override {
        ops.push_back({"draw", sheet, x, y, source, keyed, "", 0, 0, {}});
    }
    void DrawScreenText(std::int32_t x, std::int32_t y, const std::string& text,
                        std::int32_t points, std::uint32_t colour,
                        std::span<const base::Rect> within) override {
        ops.push_back({"text", Sheet::Background, x, y, ScreenTextArea(x, y, text, points), false,
                       text, points, colour, {within.begin(), within.end()}});
    }
    base::Rect ScreenTextArea(std::int32_t x, std::int32_t y, const std::string& text,
                              std::int32_t points) override {
        return base::MakeRect(x, y, x + points * static_cast<int>(text.size()) / 2,
                              y + points * 3 / 2);
    }
    void FillScreenRect(std::int32_t left, std::int32_t top, std::int32_t right,
                        std::int32_t bottom, std::uint32_t pixel) override {
        ops.push_back({"fill", Sheet::Background, left, top,
                       base::MakeRect(left, top, right, bottom), false, "", 0, pixel, {}});
    }
    void DrawBorderLines(std::int32_t top, std::int32_t bottom) override {
        Op op;
        op.kind = "lines";
        op.source = base::MakeRect(0, top, 640, bottom);
        ops.push_back(op);
    }
    bool SameParts(Sheet sheet, const base::Rect& first, const base::Rect& second) override {
        if (first.Width() != second.Width() || first.Height() != second.Height()) {
            return false;
        }
        for (int y = 0; y < first.Height(); ++y) {
            for (int x = 0; x < first.Width(); ++x) {
                if (SheetPixel(sheet, first.Left + x, first.Top + y) !=
                    SheetPixel(sheet, second.Left + x, second.Top + y)) {
                    return false;
                }
            }
        }
        return true;
    }
    base::Rect InkedPart(Sheet, const base::Rect& source) override {
        return base::MakeRect(source.Left + trim, source.Top + trim, source.Right - trim,
                              source.Bottom - trim);
    }
    int trim = 0; // of every sprite's sides
    int FramesHeld() const override { return framesHeld; }
    int framesHeld = 0; // every frame drawn whole

    std::vector<Op> Texts() const {
        std::vector<Op> texts;
        for (const Op& op : ops) {
            if (op.kind == "text") {
                texts.push_back(op);
            }
        }
        return texts;
    }
    bool HasText(const std::string& text) const {
        for (const Op& op : ops) {
            if (op.kind == "text" && op.text == text) {
                return true;
            }
        }
        return false;
    }
};

struct Scene {
    World world;
    RecordingCanvas canvas;
    SceneComposer composer{canvas};

    Scene() { world.StartRun(false, false); }
    void Frame(const FrameInput& input = {}) {
        canvas.ops.clear();
        world.Step(input, composer);
    }
    // What the last frame drew after the background.
    std::vector<Op> AfterBackground() const {
        const auto background = static_cast<std::ptrdiff_t>(Draws(Sheet::Background).size());
        return {canvas.ops.begin() + background, canvas.ops.end()};
    }
    // The sprites of one sheet drawn in the last frame.
    std::vector<Op> Draws(Sheet sheet) const {
        std::vector<Op> draws;
        for (const Op& op : canvas.ops) {
            if (op.kind == "draw" && op.sheet == sheet) {
                draws.push_back(op);
            }
        }
        return draws;
    }
};

} // namespace

namespace {

// A 640 × 480 back buffer as a pixel model: each pixel names what put it
// there. Background pixels are the sheet pixel (y · 640 + x); sprites, fills
// and lines leave marks of their own; text mixes with what lies beneath, as
// smoothed glyphs do, so text stamped twice differs from text stamped once.
using Screen = std::vector<std::int64_t>;

void PaintWithin(Screen& screen, const Op& op, const base::Rect& area) {
    const bool draw = op.kind == "draw";
    const bool text = op.kind == "text";
    const bool fill = op.kind == "fill";
    const std::int64_t keyedMark = op.keyed * std::int64_t{4'000'000};
    for (int y = std::max(area.Top, 0); y < std::min(area.Bottom, 480); ++y) {
        std::int64_t* row = &screen[static_cast<std::size_t>(y * 640)];
        for (int x = std::max(area.Left, 0); x < std::min(area.Right, 640); ++x) {
            if (draw) {
                row[x] = keyedMark + SheetPixel(op.sheet, op.source.Left + x - op.x,
                                                op.source.Top + y - op.y);
            } else if (text) {
                row[x] = (row[x] * 31 + op.colour + 7) % 1'000'000'007;
            } else if (fill) {
                row[x] = -2 - static_cast<std::int64_t>(op.colour);
            } else if (x == 639 || y == 479) {
                row[x] = -1;
            }
        }
    }
}

void Paint(Screen& screen, const Op& op) {
    if (op.kind == "text") {
        for (const base::Rect& part : op.within) {
            PaintWithin(screen, op, base::Intersect(op.source, part));
        }
    } else if (op.kind == "draw") {
        PaintWithin(screen, op,
                    base::MakeRect(op.x, op.y, op.x + op.source.Width(), op.y + op.source.Height()));
    } else {
        PaintWithin(screen, op, op.source);
    }
}

// The borders as a full repaint draws them.
std::vector<Op> WholeBorders() {
    std::vector<Op> ops(3);
    ops[0].kind = ops[1].kind = "fill";
    ops[0].source = base::MakeRect(0, 0, 5, 479);
    ops[1].source = base::MakeRect(634, 0, 639, 479);
    ops[2].kind = "lines";
    ops[2].source = base::MakeRect(0, 0, 640, 480);
    return ops;
}

// Plays `frames` frames onto back buffers that each hold the frame
// `framesHeld` back, and checks every frame against a full repaint of the
// same play.
struct HeldPlay {
    std::int64_t backgroundPixels = 0; // drawn
    std::int64_t spritePixels = 0;     // drawn, and those a full repaint draws
    std::int64_t wholeSpritePixels = 0;
    bool lastScoreShown = false;
};
HeldPlay PlayOntoHeldBuffers(int framesHeld, int frames) {
    HeldPlay play;
    Scene s;     // onto held buffers
    Scene whole; // the same play drawn whole
    s.canvas.framesHeld = framesHeld;
    std::vector<Screen> buffers(static_cast<std::size_t>(framesHeld), Screen(640 * 480, 0));
    for (int frame = 1; frame <= frames; ++frame) {
        FrameInput input;
        input.Pads[0] = {(frame / 40) % 2 ? 1 : -1, 0, frame % 30 == 0};
        input.Pads[1] = {(frame / 55) % 2 ? -1 : 1, 0, frame % 17 == 0};
        if (frame > frames / 3) { // the pimuru rest a while
            input.Pads[0] = input.Pads[1] = {};
        }
        for (Scene* scene : {&s, &whole}) {
            if (frame == frames / 2) { // a rally ends with points: its score shows a while
                scene->world.SetScoreForTesting(40);
                scene->world.BallForTesting() = Ball{320, 549, 0, 4, 0};
            }
            scene->Frame(input);
        }
        Screen full(640 * 480, 0);
        for (int i = 0; i < kBackgroundStrips; ++i) {
            Op strip;
            strip.kind = "draw";
            strip.x = static_cast<int>(std::sin((frame + i) / 10.0) * 5);
            strip.y = 5 * i;
            strip.source = base::MakeRect(0, 5 * i, 639, 5 * i + 10);
            Paint(full, strip);
        }
        // A full repaint draws the borders whole, where the composer's first
        // border fill or line comes.
        bool bordersDrawn = false;
        for (const Op& op : whole.AfterBackground()) {
            if (op.kind == "fill" || op.kind == "lines") {
                if (!bordersDrawn) {
                    for (const Op& border : WholeBorders()) {
                        Paint(full, border);
                    }
                    bordersDrawn = true;
                }
                continue;
            }
            Paint(full, op);
            play.lastScoreShown = play.lastScoreShown || (op.kind == "text" && op.points == 40);
            play.wholeSpritePixels += op.kind == "draw" ? op.source.Width() * op.source.Height() : 0;
        }
        Screen& held = buffers[static_cast<std::size_t>(frame % framesHeld)];
        for (const Op& op : s.canvas.ops) {
            Paint(held, op);
        }
        for (const Op& op : s.canvas.ops) {
            if (op.kind == "draw" && op.sheet == Sheet::Background) {
                EXPECT_FALSE(op.keyed);
                play.backgroundPixels += op.source.Width() * op.source.Height();
            } else if (op.kind == "draw") {
                play.spritePixels += op.source.Width() * op.source.Height();
            }
        }
        if (held != full) {
            ADD_FAILURE() << "frame " << frame << " on a buffer held " << framesHeld;
            break;
        }
    }
    return play;
}

} // namespace

TEST(Scene, BackBuffersShowWhatAFullRepaintWouldDrawingOnlyWhatIsStale) {
    // A window's back buffer holds the last frame; full screen flips two.
    constexpr int kFrames = 300; // rallies, misses, last scores and rest
    for (int framesHeld : {1, 2}) {
        const HeldPlay play = PlayOntoHeldBuffers(framesHeld, kFrames);
        EXPECT_TRUE(play.lastScoreShown);
        std::printf("buffer held %d: per frame, background pixels drawn: %lld, sprite pixels "
                    "drawn: %lld of %lld\n",
                    framesHeld, static_cast<long long>(play.backgroundPixels / kFrames),
                    static_cast<long long>(play.spritePixels / kFrames),
                    static_cast<long long>(play.wholeSpritePixels / kFrames));
        EXPECT_LT(play.backgroundPixels, std::int64_t{kFrames} * 640 * 480 * 3 / 4);
        EXPECT_LT(play.spritePixels, play.wholeSpritePixels * 3 / 4);
    }
}

TEST(Scene, FirstFrameOfARun) {
    Scene s;
    s.Frame();
    const std::vector<Op> ops = s.AfterBackground();
    ASSERT_EQ(ops.size(), 2u + 1 + 2 + 2 + 1);
    // Pimuru at rest, pimuru 2 over pimuru 1.
    EXPECT_EQ(ops[0].sheet, Sheet::Pimuru1);
    EXPECT_EQ(ops[0].x, 140);
    EXPECT_EQ(ops[0].y, 340);
    EXPECT_EQ(ops[0].source, base::MakeRect(0, 0, 159, 120));
    EXPECT_TRUE(ops[0].keyed);
    EXPECT_EQ(ops[1].sheet, Sheet::Pimuru2);
    EXPECT_EQ(ops[1].x, 340);
    // The ball fell by 1 and turned to picture 1.
    EXPECT_EQ(ops[2].sheet, Sheet::Characters);
    EXPECT_EQ(ops[2].x, 240);
    EXPECT_EQ(ops[2].y, 1 - 50);
    EXPECT_EQ(ops[2].source, base::MakeRect(160, 0, 319, 100));
    // cycle16 is 1: the score blinks off, high score and speed stay.
    EXPECT_EQ(ops[3].text, "最高点 0");
    EXPECT_EQ(ops[3].x, 250);
    EXPECT_EQ(ops[3].colour, Rgb(255, 255, 0));
    EXPECT_EQ(ops[4].text, "速度 1");
    EXPECT_EQ(ops[4].x, 520);
    EXPECT_EQ(ops[4].points, 20);
    EXPECT_EQ(ops[5].kind, "fill");
    EXPECT_EQ(ops[5].source, base::MakeRect(0, 0, 5, 479));
    EXPECT_EQ(ops[6].source, base::MakeRect(634, 0, 639, 479));
    EXPECT_EQ(ops[6].colour, 0u);
    EXPECT_EQ(ops[7].kind, "lines");
}

TEST(Scene, SpritesAreCopiedOnlyWherePixelsAreDrawn) {
    Scene s;
    s.canvas.trim = 10;
    s.Frame();
    const Op pimuru = s.Draws(Sheet::Pimuru1).at(0);
    EXPECT_EQ(pimuru.x, 150);
    EXPECT_EQ(pimuru.y, 350);
    EXPECT_EQ(pimuru.source, base::MakeRect(10, 10, 149, 110));
    Scene bare;
    bare.canvas.trim = 80; // nothing left of a pimuru
    bare.Frame();
    EXPECT_TRUE(bare.Draws(Sheet::Pimuru1).empty());
}

TEST(Scene, ScoreBlinksButHighScoreAndSpeedDoNot) {
    Scene s;
    int withScore = 0;
    for (int frame = 1; frame <= 32; ++frame) {
        s.Frame();
        const bool shown = s.canvas.HasText("得点 0");
        EXPECT_EQ(shown, s.world.Cycle16() > 4) << frame;
        withScore += shown;
        EXPECT_TRUE(s.canvas.HasText("最高点 0"));
        EXPECT_TRUE(s.canvas.HasText("速度 1"));
    }
    EXPECT_EQ(withScore, 24);
}

TEST(Scene, BackgroundRippleStaysWithinFourPixels) {
    int lowest = 0;
    int highest = 0;
    for (int frame = 0; frame < 200; ++frame) {
        for (int strip = 0; strip < kBackgroundStrips; ++strip) {
            const int offset = BackgroundOffset(frame, strip);
            lowest = std::min(lowest, offset);
            highest = std::max(highest, offset);
        }
    }
    EXPECT_EQ(lowest, -4);
    EXPECT_EQ(highest, 4);
}

TEST(Scene, BackgroundShiftsAreEachStripsOffsetFrameAfterFrameAndAfterAJump) {
    BackgroundShifts shifts;
    for (const std::int32_t frame : {0, 1, 2, 2, 3, 50, 49, 2147483646, 2147483647, 0}) {
        const BackgroundShifts::Shifts& got = shifts.For(frame);
        for (int strip = 0; strip < kBackgroundStrips; ++strip) {
            ASSERT_EQ(got[static_cast<std::size_t>(strip)], BackgroundOffset(frame, strip))
                << frame << ", strip " << strip;
        }
    }
}

TEST(Scene, PimuruAtTheLeftEdgeAndSwingPictures) {
    Scene s;
    FrameInput input;
    input.Pads[0] = {-1, 0, true};
    for (int i = 0; i < 40; ++i) {
        s.Frame(input);
    }
    const Op pimuru1 = s.Draws(Sheet::Pimuru1).at(0);
    EXPECT_EQ(pimuru1.x, -120);
    // Swing frame 17 shows picture 0 again; frame 4 shows picture 11.
    EXPECT_EQ(pimuru1.source, base::MakeRect(0, 0, 159, 120));
    EXPECT_EQ(SwingPicture(4), 11);
    EXPECT_EQ(PimuruSprite(11).Source, base::MakeRect(480, 240, 639, 360));
}

TEST(Scene, DriftersShareOnePictureChangingEveryTwoFramesAcrossBothSheets) {
    Scene s;
    s.world.SpawnDrifter(400, 200);
    std::vector<std::pair<Sheet, int>> looks;
    for (int frame = 0; frame < 16; ++frame) {
        s.Frame();
        const int fc = s.world.FrameCounter();
        const int m = (fc / 2) % 8;
        const Sheet expected = m < 4 ? Sheet::Pimuru1 : Sheet::Pimuru2;
        // Pimuru first, then the drifter from the same sheet family.
        const std::vector<Op> draws = s.Draws(expected);
        ASSERT_EQ(draws.size(), 2u) << fc;
        const Op& drifter = draws[1];
        EXPECT_EQ(drifter.source, base::MakeRect(120 * (m % 4), 360, 120 * (m % 4) + 119, 459));
        EXPECT_EQ(drifter.x, s.world.DrifterAt(1).X - 60);
        EXPECT_EQ(drifter.y, 200 - 50);
    }
}

TEST(Scene, BurstIsDrawnFromTheCharacterSheet) {
    Scene s;
    s.world.BallForTesting() = Ball{220, 380, 0, 0, 0};
    s.Frame(); // arms the ball on pimuru 1
    s.world.BallForTesting() = Ball{320, 200, 0, 4, 3};
    s.world.SpawnDrifter(330, 220);
    s.Frame();
    const std::vector<Op> draws = s.Draws(Sheet::Characters);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[1].source, base::MakeRect(0, 100, 159, 219));
    EXPECT_EQ(draws[1].x, 329 - 80);
    EXPECT_EQ(draws[1].y, 220 - 60);
}

TEST(Scene, EffectsSwayByKindAndAreDrawnInTheirLastFrame) {
    Scene s;
    s.world.AddEffect(300, 200, -1, 2);
    s.world.AddEffect(300, -18, -5, 4); // leaves the screen in this frame
    s.Frame();
    const std::vector<Op> draws = s.Draws(Sheet::Characters);
    ASSERT_EQ(draws.size(), 3u); // ball, two effects
    const int fc = s.world.FrameCounter();
    EXPECT_EQ(draws[1].source, base::MakeRect(40, 220, 64, 239));
    EXPECT_EQ(draws[1].x, 300 + static_cast<int>(std::sin((fc + 1) / 10.0 / 2) * 10) - 17);
    EXPECT_EQ(draws[1].y, 199 - 10);
    EXPECT_EQ(draws[2].source, base::MakeRect(100, 250, 199, 329));
    EXPECT_EQ(draws[2].y, -23 - 40);
    EXPECT_FALSE(s.world.EffectAt(2).Active);
    s.Frame();
    EXPECT_EQ(s.Draws(Sheet::Characters).size(), 2u);

    for (int frame = 0; frame < 300; ++frame) {
        for (int kind = 1; kind <= 4; ++kind) {
            EXPECT_LE(std::abs(EffectSway(frame, 1 + frame % 100, kind)), 9);
        }
    }
}

TEST(Scene, KnockSplashCoversItsPimuru) {
    Scene s;
    s.world.SpawnDrifter(220, 310); // knocks pimuru 1 in the drifter pass
    s.world.PimuruForTesting(0).Y = 300;
    s.Frame();
    ASSERT_TRUE(s.world.PimuruAt(0).Knocked);
    s.world.DrifterForTesting(1).State = 0;
    s.Frame();
    const std::vector<Op> ops = s.AfterBackground();
    ASSERT_EQ(ops[0].sheet, Sheet::Pimuru1);
    ASSERT_EQ(ops[1].sheet, Sheet::Characters);
    const Splash& splash = s.world.SplashOf(0);
    EXPECT_EQ(ops[1].x, splash.X);
    EXPECT_EQ(ops[1].y, splash.Y);
    EXPECT_EQ(ops[1].source, s.world.Cycle2() == 1 ? base::MakeRect(200, 220, 360, 380)
                                                   : base::MakeRect(360, 220, 520, 380));
    EXPECT_EQ(ops[2].sheet, Sheet::Pimuru2);
}

TEST(Scene, LastRallyScoreAfterTheBordersShadowFirst) {
    Scene s;
    s.world.SetScoreForTesting(40);
    s.world.BallForTesting() = Ball{320, 549, 0, 4, 0};
    s.Frame();
    const std::vector<Op>& ops = s.canvas.ops;
    ASSERT_GE(ops.size(), 2u);
    const Op& shadow = ops[ops.size() - 2];
    const Op& text = ops[ops.size() - 1];
    EXPECT_EQ(ops[ops.size() - 3].kind, "lines");
    EXPECT_EQ(shadow.text, "得点 40");
    EXPECT_EQ(shadow.x, 213);
    EXPECT_EQ(shadow.y, 203);
    EXPECT_EQ(shadow.colour, 0u);
    EXPECT_EQ(shadow.points, 40);
    EXPECT_EQ(text.text, "得点 40");
    EXPECT_EQ(text.x, 210);
    EXPECT_EQ(text.y, 200);
    EXPECT_EQ(text.colour, Rgb(255, 255, 255));
}

TEST(Scene, SpeedShowsLevelLessThree) {
    Scene s;
    for (int i = 0; i < 29 * 256 + 10; ++i) {
        s.world.BallForTesting() = Ball{320, -200, 0, 0, 0};
        s.Frame();
    }
    EXPECT_TRUE(s.canvas.HasText("速度 30"));
}
