#include "rules/world.h"

#include "rules/knock_sway.h"
#include "rules/steer_by_keys.h"

#include <algorithm>

namespace game {

namespace {

constexpr std::int32_t kPassCooldown = 30;
constexpr std::int32_t kBumpCooldown = 20;
constexpr std::int32_t kKnockCooldown = 20;
constexpr std::int32_t kSwingTime = 50;
constexpr std::int32_t kSwingRestart = 30; // a new swing needs the timer at or below this
constexpr std::int32_t kLastSwingFrame = 17;
constexpr std::int32_t kLossY = 550;

// Cycle counters run 1…period.
std::int32_t NextCycle(std::int32_t value, std::int32_t period) {
    ++value;
    return value > period ? 1 : value;
}

std::int32_t Sign(std::int32_t value) {
    return (value > 0) - (value < 0);
}

} // namespace

bool World::PointInBox(std::int32_t x, std::int32_t y, std::int32_t left, std::int32_t top,
                       std::int32_t right, std::int32_t bottom) {
    return left <= x && x <= right && top <= y && y <= bottom;
}

void World::AddScore() {
    score_ += 10;
    if (score_ > highScore_) {
        highScore_ = score_;
    }
}

void World::SpawnDrifter(std::int32_t x, std::int32_t y) {
    const int capacity = std::clamp<int>(difficulty_.Capacity, 0, kDrifterSlots);
    for (int i = 0; i < capacity; ++i) {
        Drifter& drifter = drifters_[i];
        if (drifter.State == drifter_state::kFree) {
            drifter.State = drifter_state::kMovingLeft;
            drifter.X = x;
            drifter.Y = y;
            return;
        }
    }
}

void World::AddEffect(std::int32_t x, std::int32_t y, std::int32_t dy, std::int32_t kind) {
    for (Effect& effect : effects_) {
        if (!effect.Active) {
            effect = Effect{true, x, y, dy, kind};
            return;
        }
    }
}

void World::SetCarryOver(const CarryOver& carryOver) {
    random_.SetSeed(carryOver.RandomSeed);
    highScore_ = carryOver.HighScore;
}

void World::StartRun(bool coupleMode, bool hard) {
    coupleMode_ = coupleMode;
    difficulty_ = Difficulty::For(hard);
    speedLevel_ = kStartSpeedLevel;

    frameCounter_ = 0;
    cycle2_ = cycle4_ = cycle16_ = cycle256_ = 0;
    ball_ = Ball{};
    const std::int32_t startX[kPimuruCount] = {220, 420};
    for (int i = 0; i < kPimuruCount; ++i) {
        pimuru_[i] = Pimuru{};
        pimuru_[i].X = pimuru_[i].PreviousX = startX[i];
        pimuru_[i].Y = pimuru_[i].PreviousY = 400;
        splash_[i] = Splash{};
    }
    drifters_.fill(Drifter{});
    effects_.fill(Effect{});
    ballArmed_ = false;
    spawnCount_ = 0;
    passCooldown_ = 0;
    bumpCooldown_ = 0;
    finalScoreCounter_ = 0;
    lastStriker_ = -1;
    // A new run starts fresh rather than carrying the interrupted rally over.
    score_ = 0;
    lastRallyScore_ = 0;
    knockCooldown_ = 0;
}

void World::Step(const FrameInput& input, FrameSink& sink) {
    CountDownCooldowns();
    SteerPimuru(0, input.Pads[0], nullptr);
    SteerPimuru(1, input.Pads[1], &input.Keys);
    BumpTest(sink);
    AdvanceCounters();
    SpawnOnSchedule();
    RaiseSpeedLevel();
    AdvanceBallPicture();
    MoveBall();
    if (ball_.Y > kLossY) {
        EndRally(input.Hard, sink);
    }
    SideWalls();

    sink.DrawBackground(*this);
    for (int i = 0; i < kPimuruCount; ++i) {
        SwingStrikeAndLand(i, sink);
        PlaceSplash(i);
        sink.DrawPimuru(*this, i);
    }
    sink.DrawBall(*this);

    const int capacity = std::clamp<int>(difficulty_.Capacity, 0, kDrifterSlots);
    for (int slot = 1; slot <= capacity; ++slot) {
        Drifter& drifter = drifters_[slot - 1];
        if (drifter.State <= drifter_state::kFree) {
            continue;
        }
        UpdateDrifter(drifter, sink);
        if (drifter.State != drifter_state::kFree) {
            sink.DrawDrifter(*this, slot);
        }
        AdvanceBurst(drifter);
    }

    for (int slot = 1; slot <= kEffectSlots; ++slot) {
        Effect& effect = effects_[slot - 1];
        if (!effect.Active) {
            continue;
        }
        effect.Y += effect.DY;
        if (effect.Y < -20) {
            effect.Active = false;
        }
        sink.DrawEffect(*this, slot);
    }

    sink.DrawTexts(*this);
    sink.DrawBorders(*this);
    if (finalScoreCounter_ > 0) {
        sink.DrawLastScore(*this);
        ++finalScoreCounter_;
        if (finalScoreCounter_ > kFinalScoreFrames) {
            finalScoreCounter_ = 0;
        }
    }
    sink.EndFrame();
}

void World::CountDownCooldowns() {
    for (std::int32_t* cooldown : {&passCooldown_, &bumpCooldown_, &knockCooldown_}) {
        if (*cooldown > 0) {
            --*cooldown;
        }
    }
}

void World::SteerPimuru(int index, const PadInput& pad, const KeyFlags* keys) {
    Pimuru& p = pimuru_[index];
    p.PreviousX = p.X;
    p.PreviousY = p.Y;
    std::int32_t dx = Sign(pad.Dx);
    std::int32_t dy = Sign(pad.Dy);
    bool fire = pad.Fire;

    if (p.Knocked) {
        // Sinks and sways; the stick no longer steers, the button still counts.
        dx = 0;
        dy = 0;
        p.Y += 5;
        p.X += KnockSway(frameCounter_);
        if (p.Y > 400) {
            p.Knocked = false;
        }
    }
    if (keys) {
        // The keys come after the knock, so they steer a knocked pimuru too.
        const PadInput steered = SteerByKeys(PadInput{dx, dy, fire}, *keys);
        dx = steered.Dx;
        dy = steered.Dy;
        fire = steered.Fire;
    }
    p.X += dx * p.StepX;
    p.Y += dy * p.StepY;
    p.FireHeld = fire;
    p.X = std::clamp(p.X, -40, 680);
    p.Y = std::clamp(p.Y, 100, 440);
    if (!p.FireHeld) {
        p.ButtonLatch = false;
    }
}

void World::BumpTest(FrameSink& sink) {
    Pimuru& a = pimuru_[0];
    Pimuru& b = pimuru_[1];
    if (!PointInBox(a.X, a.Y, b.X - 50, b.Y - 50, b.X + 50, b.Y + 50)) {
        return;
    }
    for (Pimuru* p : {&a, &b}) {
        p->X = p->PreviousX;
        p->Y = p->PreviousY;
        p->Knocked = false;
    }
    if (bumpCooldown_ == 0) {
        bumpCooldown_ = kBumpCooldown;
        sink.PlaySound(SoundEffect::Bump);
    }
}

void World::AdvanceCounters() {
    ++frameCounter_;
    cycle2_ = NextCycle(cycle2_, 2);
    cycle4_ = NextCycle(cycle4_, 4);
    cycle16_ = NextCycle(cycle16_, 16);
    cycle256_ = NextCycle(cycle256_, 256);
}

void World::SpawnOnSchedule() {
    if (difficulty_.SpawnInterval <= 0 || frameCounter_ % difficulty_.SpawnInterval != 0) {
        return;
    }
    ++spawnCount_;
    SpawnDrifter(difficulty_.SpawnX, difficulty_.SpawnBaseY + 30 * (spawnCount_ % 3));
}

void World::RaiseSpeedLevel() {
    if (cycle256_ == 255 && speedLevel_ < kTopSpeedLevel) {
        ++speedLevel_;
    }
}

void World::AdvanceBallPicture() {
    if (cycle4_ == 1) {
        ball_.Picture = (ball_.Picture + 1) % 4;
    }
}

void World::MoveBall() {
    if (cycle2_ == 1) {
        ++ball_.VY;
    }
    // Only the fall is capped; a struck ball may rise faster.
    ball_.VY = std::min(ball_.VY, speedLevel_);
    ball_.VX = std::clamp(ball_.VX, -4, 4);
    ball_.X += ball_.VX;
    ball_.Y += ball_.VY;
}

void World::EndRally(bool hard, FrameSink& sink) {
    sink.PlaySound(SoundEffect::BallLost);
    ball_.VY = 0;
    ball_.X = 320;
    ball_.Y = -50;
    ball_.VX = 0;
    lastRallyScore_ = score_;
    score_ = 0;
    lastStriker_ = -1;
    spawnCount_ = 0;
    speedLevel_ = kStartSpeedLevel;
    difficulty_ = Difficulty::For(hard);
    const int capacity = std::clamp<int>(difficulty_.Capacity, 0, kDrifterSlots);
    for (int i = 0; i < capacity; ++i) {
        if (drifters_[i].State != drifter_state::kFree) {
            drifters_[i].State = drifter_state::kLeaving;
        }
    }
    for (Pimuru& p : pimuru_) {
        p.Knocked = false;
    }
    ballArmed_ = false;
    finalScoreCounter_ = 1;
    sink.RestartMusic();
}

void World::SideWalls() {
    if (ball_.X > 580) {
        ball_.X = 580;
        ball_.VX = -ball_.VX;
    }
    if (ball_.X < 60) {
        ball_.X = 60;
        ball_.VX = -ball_.VX;
    }
}

bool World::InStrikeBox(const Pimuru& p, const Ball& ball) {
    return PointInBox(ball.X, ball.Y, p.X - 70, p.Y - 30, p.X + 70, p.Y + 50);
}

void World::SwingStrikeAndLand(int index, FrameSink& sink) {
    Pimuru& p = pimuru_[index];
    if (p.SwingTimer > 0) {
        --p.SwingTimer;
    }
    // The latch is tested once: a swing starting here may still strike below.
    if (!p.ButtonLatch) {
        if (p.FireHeld && p.SwingTimer <= kSwingRestart) {
            p.SwingTimer = kSwingTime;
            p.SwingStarted = true;
            p.SwingFrame = 0;
            p.ButtonLatch = true;
        }
        if (InStrikeBox(p, ball_)) {
            ballArmed_ = true;
            if (p.FireHeld) {
                Strike(index, sink);
            }
        }
    }
    // The ball bounces off the lower body without any button.
    if (InStrikeBox(p, ball_) && ball_.Y > p.Y + 10) {
        if (ball_.VY > 0) {
            sink.PlaySound(SoundEffect::Landing);
        }
        ball_.VY = std::min(ball_.VY, -7); // at least 7 upwards
        ball_.VX += (ball_.X - p.X) / 10;
        if (ball_.VX == 0) {
            ball_.VX = Random(3) - 1;
        }
    }
    if (p.SwingStarted && p.SwingFrame < kLastSwingFrame) {
        ++p.SwingFrame;
    }
}

void World::Strike(int index, FrameSink& sink) {
    Pimuru& p = pimuru_[index];
    const std::int32_t striker = index + 1;
    sink.PlaySound(SoundEffect::Strike);
    if (lastStriker_ != -1 && lastStriker_ != striker && passCooldown_ == 0) {
        AddEffect(Random(30) + p.X - 15, p.Y, -5, coupleMode_ ? 3 : 4);
        passCooldown_ = kPassCooldown;
        sink.PlaySound(SoundEffect::PassBonus);
        AddScore();
        lastStriker_ = striker;
    }
    if (lastStriker_ == -1) {
        lastStriker_ = striker;
    }
    for (std::int32_t kind : {2, 1, 2}) {
        const std::int32_t dy = -Random(3) - 1;
        const std::int32_t x = Random(30) + p.X - 15;
        AddEffect(x, p.Y, dy, kind);
    }
    ball_.VX += (ball_.X - p.X) / 10;
    ball_.VY = -(p.SwingTimer / 2) - 10;
    if (ball_.VX == 0) {
        ball_.VX = Random(3) - 1;
    }
    ball_.VY = std::max(ball_.VY, -15);
    if (p.SwingTimer >= 47) {
        ball_.VY = -17;
    }
    p.ButtonLatch = true;
}

void World::PlaceSplash(int index) {
    const Pimuru& p = pimuru_[index];
    Splash& splash = splash_[index];
    splash = Splash{};
    if (!p.Knocked) {
        return;
    }
    // The generator is drawn here even when nothing is drawn, so a replay
    // without a screen follows the same sequence; y is drawn before x.
    const std::int32_t dy = Random(50) - 25;
    const std::int32_t dx = Random(50) - 25;
    splash.Shown = true;
    splash.Picture = cycle2_ == 1 ? 0 : 1;
    splash.X = p.X - 80 + dx;
    splash.Y = p.Y - 60 + dy;
}

void World::UpdateDrifter(Drifter& d, FrameSink& sink) {
    using namespace drifter_state;
    for (Pimuru& p : pimuru_) {
        if (PointInBox(p.X, p.Y, d.X - 30, d.Y - 30, d.X + 30, d.Y + 30)) {
            p.Knocked = true;
            if (knockCooldown_ == 0) {
                sink.PlaySound(SoundEffect::Knock);
                knockCooldown_ = kKnockCooldown;
            }
        }
    }

    const std::int32_t speed = difficulty_.DrifterSpeed;
    // Each test sees the state the tests before it left.
    if (d.State == kMovingLeft) {
        d.X -= speed;
        if (d.X < 0) {
            if (d.Y <= 350) {
                d.State = kSinkingLeft;
            } else if (d.X < -50) {
                d.State = kFree;
            }
        }
        d.PhaseTimer = 0;
    }
    if (d.State == kSinkingLeft) {
        d.Y += 2;
        if (++d.PhaseTimer > 40) {
            d.State = kMovingRight;
        }
    }
    if (d.State == kMovingRight) {
        d.X += speed;
        if (d.X > 640) {
            if (d.Y <= 300) {
                d.State = kSinkingRight;
            } else if (d.X > 690) {
                d.State = kFree;
            }
        }
        d.PhaseTimer = 0;
    }
    if (d.State == kSinkingRight) {
        d.Y += 2;
        if (++d.PhaseTimer > 40) {
            d.State = kMovingLeft;
        }
    }
    if (d.State == kLeaving) {
        d.Y -= 5;
        if (d.Y < -50) {
            d.State = kFree;
        }
    }

    if (ballArmed_ && d.State <= 10 &&
        PointInBox(ball_.X, ball_.Y, d.X - 50, d.Y - 50, d.X + 50, d.Y + 50)) {
        d.State = kBurstFirst;
        ball_.VY = -ball_.VY;
        AddScore();
        DifficultyStep();
        sink.PlaySound(SoundEffect::Burst);
    }
}

void World::AdvanceBurst(Drifter& d) {
    if (d.State >= drifter_state::kBurstFirst && frameCounter_ % 2 == 0) {
        if (++d.State >= drifter_state::kBurstEnd) {
            d.State = drifter_state::kFree;
        }
    }
}

void World::DifficultyStep() {
    struct Line {
        std::int32_t scoreAbove;
        std::int32_t interval;
        std::int32_t speed;
    };
    static constexpr Line kLines[] = {{250, 50, 2}, {500, 40, 3}, {1000, 30, 4}, {1500, 20, 5}};
    for (const Line& line : kLines) {
        if (score_ > line.scoreAbove) {
            difficulty_.SpawnInterval = line.interval;
            difficulty_.DrifterSpeed = line.speed;
        }
    }
}

} // namespace game
