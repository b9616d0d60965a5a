#include "partner/ball_forecast.h"

#include <algorithm>

namespace partner {

namespace {

bool SameBall(const game::Ball& a, const game::Ball& b) {
    return a.X == b.X && a.Y == b.Y && a.VX == b.VX && a.VY == b.VY;
}

// The pimuru step sideways away from the ball, faster than it flies, so the
// path is the ball's own: who should meet it is decided from there.
game::FrameInput SteppingAside(const game::World& world, int standing) {
    game::FrameInput input;
    for (int i = 0; i < game::kPimuruCount; ++i) {
        if (i != standing)
            input.Pads[i].Dx = world.PimuruAt(i).X < world.GetBall().X ? -1 : 1;
    }
    return input;
}

} // namespace

void BallForecast::Compute(const game::World& world, int standing) {
    startFrame_ = world.FrameCounter();
    standing_ = standing;
    path_.clear();
    path_.reserve(kHorizon + 1);
    path_.push_back(world.GetBall());
    game::World ahead = world;
    game::FrameSink quiet;
    for (int k = 1; k <= kHorizon; ++k) {
        ahead.Step(SteppingAside(ahead, standing), quiet);
        path_.push_back(ahead.GetBall());
    }
}

bool BallForecast::Holds(const game::World& world) const {
    const std::int64_t k = std::int64_t{world.FrameCounter()} - startFrame_;
    return k >= 0 && k < static_cast<std::int64_t>(path_.size()) &&
           SameBall(path_[static_cast<std::size_t>(k)], world.GetBall());
}

int BallForecast::FramesAhead(const game::World& world) const {
    const std::int64_t k = std::int64_t{world.FrameCounter()} - startFrame_;
    const auto ahead = static_cast<std::int64_t>(path_.size()) - 1 - k;
    return static_cast<int>(std::clamp<std::int64_t>(ahead, 0, kHorizon));
}

std::optional<BallForecast::Arrival> BallForecast::FallingTo(std::int32_t y,
                                                             const game::World& world) const {
    const std::int64_t now = std::int64_t{world.FrameCounter()} - startFrame_;
    if (now < 0)
        return std::nullopt;
    for (std::size_t k = static_cast<std::size_t>(now) + 1; k < path_.size(); ++k) {
        const game::Ball& ball = path_[k];
        if (ball.VY > 0 && ball.Y >= y) {
            std::size_t fall = k;
            while (fall > 0 && path_[fall - 1].VY > 0)
                --fall;
            return Arrival{static_cast<int>(k - static_cast<std::size_t>(now)), ball.X, ball.VX,
                           startFrame_ + static_cast<std::int32_t>(fall)};
        }
    }
    return std::nullopt;
}

} // namespace partner
