#include "game/scene_composer.h"

#include "rules/world.h"

#include <algorithm>

namespace game {

namespace {

constexpr std::uint32_t kWhite = Rgb(255, 255, 255);
constexpr std::uint32_t kYellow = Rgb(255, 255, 0);
constexpr std::uint32_t kGreen = Rgb(0, 255, 0);
constexpr std::uint32_t kBlack = Rgb(0, 0, 0);
constexpr std::uint32_t kMagenta = Rgb(255, 0, 255);
constexpr std::int32_t kTextPoints = 20;
constexpr std::int32_t kLastScorePoints = 40;
constexpr std::int32_t kTitlePoints = 50;

} // namespace

void SceneComposer::DrawSprite(Sheet sheet, std::int32_t x, std::int32_t y, const Sprite& sprite) {
    DrawOver(sheet, x + sprite.OffsetX, y + sprite.OffsetY, sprite.Source);
}

SceneDraw& SceneComposer::NextDraw() {
    if (count_ == draws_.size()) {
        draws_.emplace_back();
    }
    return draws_[count_++];
}

const base::Rect& SceneComposer::Inked(Sheet sheet, const base::Rect& source) {
    for (const InkedSource& known : inked_) {
        if (known.sheet == sheet && known.source == source) {
            return known.inked;
        }
    }
    constexpr std::size_t kMostKept = 256; // the game has far fewer pictures
    if (inked_.size() == kMostKept) {
        inked_.clear();
    }
    inked_.push_back({sheet, source, canvas_.InkedPart(sheet, source)});
    return inked_.back().inked;
}

void SceneComposer::DrawOver(Sheet sheet, std::int32_t x, std::int32_t y,
                             const base::Rect& whole) {
    // Only the part that holds the picture's pixels is copied: the rest of
    // the rectangle is left out by the key anyway.
    const base::Rect source = Inked(sheet, whole);
    if (base::IsEmpty(source)) {
        return;
    }
    x += source.Left - whole.Left;
    y += source.Top - whole.Top;
    SceneDraw& draw = NextDraw();
    draw.IsText = false;
    draw.X = x;
    draw.Y = y;
    draw.SheetOf = sheet;
    draw.Source = source;
    draw.Text.clear();
    draw.Points = 0;
    draw.Colour = 0;
    draw.Area = base::MakeRect(x, y, x + source.Width(), y + source.Height());
}

void SceneComposer::DrawText(std::int32_t x, std::int32_t y, const std::string& text,
                             std::int32_t points, std::uint32_t colour) {
    SceneDraw& draw = NextDraw();
    draw.IsText = true;
    draw.X = x;
    draw.Y = y;
    draw.SheetOf = Sheet::Background;
    draw.Source = {};
    draw.Text = text;
    draw.Points = points;
    draw.Colour = colour;
    // Most texts were measured in the last frame already.
    for (const SceneDraw& last : repaint_.LastDraws()) {
        if (last.IsText && last.Text == text && last.Points == points) {
            const std::int32_t dx = x - last.X;
            const std::int32_t dy = y - last.Y;
            draw.Area = base::MakeRect(last.Area.Left + dx, last.Area.Top + dy,
                                       last.Area.Right + dx, last.Area.Bottom + dy);
            return;
        }
    }
    draw.Area = canvas_.ScreenTextArea(x, y, text, points);
}

void SceneComposer::DrawStep(const SceneDraw& draw) {
    repaint_.PartsOf(draw.Area, parts_);
    if (draw.IsText) {
        canvas_.DrawScreenText(draw.X, draw.Y, draw.Text, draw.Points, draw.Colour, parts_);
    } else {
        const std::int32_t dx = draw.Source.Left - draw.X;
        const std::int32_t dy = draw.Source.Top - draw.Y;
        for (const base::Rect& part : parts_) {
            canvas_.Draw(draw.SheetOf, part.Left, part.Top,
                         base::MakeRect(part.Left + dx, part.Top + dy, part.Right + dx,
                                        part.Bottom + dy),
                         true);
        }
    }
    for (const base::Rect& part : parts_) {
        borders_.Drawn(part);
    }
}

void SceneComposer::DrawBackground(const World& world) {
    gathering_ = true;
    frameCounter_ = world.FrameCounter();
    count_ = 0;
    afterBorders_ = kNoBorders;
}

void SceneComposer::EndFrame() {
    if (!gathering_) {
        return;
    }
    gathering_ = false;
    afterBorders_ = std::min(afterBorders_, count_);
    const std::span<const SceneDraw> draws(draws_.data(), count_);
    const BackgroundShifts::Shifts& shifts = shifts_.For(frameCounter_);
    repaint_.StartFrame(shifts, draws, afterBorders_, canvas_.FramesHeld());
    borders_.StartFrame(repaint_.Whole());
    DrawBackgroundParts(shifts);
    for (std::size_t i = 0; i < afterBorders_; ++i) {
        if (repaint_.Draws(i)) {
            DrawStep(draws[i]);
        }
    }
    DrawBorderParts();
    for (std::size_t i = afterBorders_; i < draws.size(); ++i) {
        if (repaint_.Draws(i)) {
            DrawStep(draws[i]);
        }
    }
}

void SceneComposer::DrawBackgroundParts(const BackgroundShifts::Shifts& shifts) {
    // Overlapping 10-row strips, each shifted by a travelling sine wave; the
    // back buffer is never cleared, the strips cover it. Only the parts of
    // them that stay in sight are drawn, and of those only the parts the
    // back buffer does not already show.
    BackgroundPieces(shifts, backgroundPieces_);
    for (const BackgroundPiece& piece : backgroundPieces_) {
        if (repaint_.Whole()) {
            canvas_.Draw(Sheet::Background, piece.X, piece.Y, piece.Source, false);
            continue;
        }
        const base::Rect place = base::MakeRect(piece.X, piece.Y, piece.X + piece.Source.Width(),
                                                piece.Y + piece.Source.Height());
        for (const base::Rect& area : repaint_.AreasAcross(place.Top, place.Bottom)) {
            const base::Rect part = base::Intersect(place, area);
            if (base::IsEmpty(part)) {
                continue;
            }
            const std::int32_t dx = piece.Source.Left - piece.X;
            const std::int32_t dy = piece.Source.Top - piece.Y;
            canvas_.Draw(
                Sheet::Background, part.Left, part.Top,
                base::MakeRect(part.Left + dx, part.Top + dy, part.Right + dx, part.Bottom + dy),
                false);
            borders_.Drawn(part);
        }
    }
}

void SceneComposer::DrawPimuru(const World& world, int index) {
    const Pimuru& pimuru = world.PimuruAt(index);
    DrawSprite(index == 0 ? Sheet::Pimuru1 : Sheet::Pimuru2, pimuru.X, pimuru.Y,
               PimuruSprite(SwingPicture(pimuru.SwingFrame)));
    const Splash& splash = world.SplashOf(index);
    if (splash.Shown) {
        DrawOver(Sheet::Characters, splash.X, splash.Y, SplashSource(splash.Picture));
    }
}

void SceneComposer::DrawBall(const World& world) {
    const Ball& ball = world.GetBall();
    DrawSprite(Sheet::Characters, ball.X, ball.Y, BallSprite(ball.Picture));
}

void SceneComposer::DrawDrifter(const World& world, int slot) {
    const Drifter& drifter = world.DrifterAt(slot);
    if (drifter.State >= drifter_state::kBurstFirst && drifter.State < drifter_state::kBurstEnd) {
        DrawSprite(Sheet::Characters, drifter.X, drifter.Y,
                   BurstSprite(drifter.State - drifter_state::kBurstFirst));
    } else if (drifter.State >= drifter_state::kMovingLeft &&
               drifter.State <= drifter_state::kLeaving) {
        const DrifterLook look = DrifterLookAt(world.FrameCounter());
        DrawSprite(look.SheetOf, drifter.X, drifter.Y, DrifterSprite(look.Picture));
    }
}

void SceneComposer::DrawEffect(const World& world, int slot) {
    const Effect& effect = world.EffectAt(slot);
    Sprite sprite;
    if (!EffectSprite(effect.Kind, sprite)) {
        return;
    }
    const std::int32_t x = effect.X + EffectSway(world.FrameCounter(), slot, effect.Kind);
    DrawSprite(Sheet::Characters, x, effect.Y, sprite);
}

std::string SceneComposer::ScoreText(std::int32_t score) {
    return "得点 " + std::to_string(score);
}

void SceneComposer::DrawTexts(const World& world) {
    // The score blinks: shown on 12 frames out of every 16.
    if (world.Cycle16() > 4) {
        DrawText(5, 5, ScoreText(world.Score()), kTextPoints, kWhite);
    }
    DrawText(250, 5, "最高点 " + std::to_string(world.HighScore()), kTextPoints, kYellow);
    DrawText(520, 5, "速度 " + std::to_string(world.SpeedLevel() - 3), kTextPoints, kGreen);
}

void SceneComposer::DrawBorders(const World&) {
    afterBorders_ = count_;
}

void SceneComposer::DrawBorderParts() {
    // Black columns at both edges above the last row, then the lines along
    // the right edge and the last row; only where this frame drew over them.
    constexpr std::int32_t kLastRow = kScreenHeight - 1;
    for (const BorderRepaint::Rows& rows : borders_.Runs()) {
        const std::int32_t bottom = std::min(rows.bottom, kLastRow);
        if (rows.top < bottom) {
            canvas_.FillScreenRect(0, rows.top, BorderRepaint::kLeftEnd, bottom, 0);
            canvas_.FillScreenRect(BorderRepaint::kRightStart, rows.top, kScreenWidth - 1, bottom,
                                   0);
        }
        canvas_.DrawBorderLines(rows.top, rows.bottom);
    }
}

void SceneComposer::DrawLastScore(const World& world) {
    const std::string text = ScoreText(world.LastRallyScore());
    DrawText(213, 203, text, kLastScorePoints, kBlack);
    DrawText(210, 200, text, kLastScorePoints, kWhite);
}

void SceneComposer::DrawTitle(SceneCanvas& canvas) {
    const base::Rect screen = base::MakeRect(0, 0, kScreenWidth, kScreenHeight);
    canvas.DrawScreenText(60, 100, "ピムルのゲーム", kTitlePoints, kMagenta, {&screen, 1});
    canvas.DrawScreenText(160, 250, "はじまるよ！", kTitlePoints, kMagenta, {&screen, 1});
}

} // namespace game
