#include "support/scripted_player.h"

#include "replay/recorder.h"

#include <algorithm>
#include <cstdlib>

namespace testsupport {

namespace {

std::int32_t Toward(std::int32_t from, std::int32_t to, std::int32_t slack) {
    if (std::abs(to - from) <= slack)
        return 0;
    return to > from ? 1 : -1;
}

// Where the ball will be after the coming frame's move (before any strike).
game::Ball NextBall(const game::World& world) {
    game::Ball b = world.GetBall();
    b.VY = std::min(b.VY + 1, world.SpeedLevel());
    b.X += std::clamp(b.VX, -4, 4);
    b.Y += b.VY;
    return b;
}

bool InStrikeBox(const game::Ball& ball, const game::Pimuru& p) {
    return game::World::PointInBox(ball.X, ball.Y, p.X - 70, p.Y - 30, p.X + 70, p.Y + 50);
}

} // namespace

std::uint32_t ScriptedPlayer::Roll(std::uint32_t n) {
    random_ = random_ * 1664525u + 1013904223u;
    return (random_ >> 8) % n;
}

// The pimuru that goes for the ball: the one that did not strike it last,
// so that rallies are passes; the nearer one at the start of a rally.
int ScriptedPlayer::Taker(const game::World& world) const {
    if (world.LastStriker() == 1)
        return 1;
    if (world.LastStriker() == 2)
        return 0;
    const std::int32_t x = world.GetBall().X;
    return std::abs(world.PimuruAt(0).X - x) <= std::abs(world.PimuruAt(1).X - x) ? 0 : 1;
}

game::FrameInput ScriptedPlayer::Next(const game::World& world, std::int64_t frame) {
    if (world.LastStriker() != lastStriker_) {
        lastStriker_ = world.LastStriker();
        if (Roll(static_cast<std::uint32_t>(std::max(run_.SloppyOneIn, 1))) == 0)
            sloppyUntil_ = frame + 60;
        if (Roll(4) == 0)
            wanderUntil_ = frame + 120;
    }
    const game::Ball ball = NextBall(world);
    const int taker = Taker(world);
    game::FrameInput input;
    input.Hard = run_.Hard || (run_.HardFromFrame >= 0 && frame >= run_.HardFromFrame);
    for (int i = 0; i < game::kPimuruCount; ++i) {
        const game::Pimuru& p = world.PimuruAt(i);
        game::PadInput pad;
        if (i == taker) {
            // Under the ball where it will come down, a little to the side
            // that sends it back towards the middle.
            const std::int32_t fall = std::max(world.GetBall().VY, 3);
            const std::int32_t frames = std::clamp((p.Y - ball.Y) / fall, 0, 30);
            std::int32_t target = ball.X + ball.VX * frames;
            target += target < 320 ? -12 : 12;
            pad.Dx = Toward(p.X, std::clamp(target, 60, 580), 6);
            pad.Dy = Toward(p.Y, 390, 4);
            const bool chance = InStrikeBox(ball, p) && ball.VY > 0 && ball.Y < p.Y + 10;
            pad.Fire = chance && !fireWas_[i] && frame >= sloppyUntil_;
        } else if (frame < wanderUntil_) {
            // Up into the drifters' rows: a knock, now and then.
            pad.Dx = Toward(p.X, i == 0 ? 160 : 480, 8);
            pad.Dy = Toward(p.Y, 120, 4);
        } else {
            // Waits for the pass beside the taker, on its own side and a
            // little higher, out of the taker's way (they would bump).
            const std::int32_t other = world.PimuruAt(taker).X;
            pad.Dx = Toward(
                p.X, p.X >= other ? std::min(other + 150, 680) : std::max(other - 150, -40), 8);
            pad.Dy = Toward(p.Y, 330, 4);
        }
        fireWas_[i] = pad.Fire;
        if (i == 1 && run_.SecondByKeys) {
            input.Keys = {pad.Dx<0, pad.Dx> 0, pad.Dy<0, pad.Dy> 0, pad.Fire};
        } else {
            input.Pads[i] = pad;
        }
    }
    return input;
}

replay::Replay RecordScriptedRun(const ScriptedRun& run) {
    game::World world;
    world.SetCarryOver(run.Start);
    replay::Recorder recorder(world, run.CoupleMode, run.Hard, "1.1", 1'765'000'000);
    world.StartRun(run.CoupleMode, run.Hard);
    ScriptedPlayer player(run);
    game::FrameSink nowhere;
    for (std::int64_t frame = 0; frame < run.Frames; ++frame) {
        const game::FrameInput input = player.Next(world, frame);
        world.Step(input, nowhere);
        recorder.Record(input, world);
    }
    return recorder.Finish(world);
}

} // namespace testsupport
