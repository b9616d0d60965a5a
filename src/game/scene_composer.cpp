#include "game/scene_composer.h"

#include "game/world.h"

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

void SceneComposer::DrawOver(Sheet sheet, std::int32_t x, std::int32_t y,
                             const base::Rect& source) {
    canvas_.Draw(sheet, x, y, source, true);
    const base::Rect area = base::MakeRect(x, y, x + source.Width(), y + source.Height());
    repaint_.Cover(area);
    borders_.Drawn(area);
}

void SceneComposer::DrawText(std::int32_t x, std::int32_t y, const std::string& text,
                             std::int32_t points, std::uint32_t colour) {
    const base::Rect area = canvas_.DrawScreenText(x, y, text, points, colour);
    repaint_.Cover(area);
    borders_.Drawn(area);
}

void SceneComposer::DrawBackground(const World& world) {
    // Overlapping 10-row strips, each shifted by a travelling sine wave; the
    // back buffer is never cleared, the strips cover it. Only the parts of
    // them that stay in sight are drawn, and of those only the parts the
    // back buffer does not already show: where a strip moved or something
    // was drawn over it since the frame the buffer holds.
    const BackgroundShifts::Shifts& shifts = shifts_.For(world.FrameCounter());
    repaint_.StartFrame(shifts, canvas_.FramesHeld());
    borders_.StartFrame(repaint_.Whole());
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
    canvas.DrawScreenText(60, 100, "ピムルのゲーム", kTitlePoints, kMagenta);
    canvas.DrawScreenText(160, 250, "はじまるよ！", kTitlePoints, kMagenta);
}

} // namespace game
