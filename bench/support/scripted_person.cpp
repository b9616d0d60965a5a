#include "bench/support/scripted_person.h"

#include <cstdlib>

namespace partner {

namespace {

constexpr std::int32_t kMiddle = 320;
constexpr std::int32_t kHomeX[2] = {220, 420};
constexpr std::int32_t kOverMiddle = 40; // they follow the ball this far onto the other half

} // namespace

ScriptedPerson::ScriptedPerson(int index, std::uint32_t seed) : index_(index == 0 ? 0 : 1) {
    random_.SetSeed(seed);
}

game::PadInput ScriptedPerson::Next(const game::World& world) {
    const game::Pimuru& me = world.PimuruAt(index_);
    const game::Ball& ball = world.GetBall();
    seenX_.push_back(ball.X);
    if (seenX_.size() > kReactionFrames)
        seenX_.pop_front();
    if (world.FrameCounter() % 30 == 0)
        wobble_ = random_.Next(41) - 20;

    const std::int32_t seen = seenX_.front();
    const bool ownHalf = index_ == 0 ? seen < kMiddle + kOverMiddle : seen >= kMiddle - kOverMiddle;
    const std::int32_t goal = ownHalf ? seen + wobble_ : kHomeX[index_];
    game::PadInput pad;
    if (std::abs(goal - me.X) > me.StepX)
        pad.Dx = goal > me.X ? 1 : -1;

    const bool close =
        std::abs(ball.X - me.X) < 60 && ball.Y >= me.Y - 40 && ball.Y <= me.Y + 5 && ball.VY > 0;
    pad.Fire = !fireHeld_ && close && random_.Next(4) != 0;
    fireHeld_ = pad.Fire;
    return pad;
}

} // namespace partner
