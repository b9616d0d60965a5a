#pragma once
// The computer partner: plays one pimuru through the same pad input a person
// gives, from what it sees of the world before each step. It forecasts the
// ball with the world's own rules, meets the ball when it comes to its side
// or the other pimuru cannot reach it, leaves it to a better-placed partner,
// aims its strikes back at them and keeps clear of drifters. Its choices come
// from its own seeded generator, so the same seed and world give the same
// input.

#include "partner/ball_forecast.h"
#include "partner/strength.h"
#include "rules/game_random.h"
#include "rules/world.h"

#include <cstdint>
#include <optional>

namespace partner {

class ComputerPartner {
public:
    // The height it keeps: below every drifter's path, with the most time
    // to reach a falling ball.
    static constexpr std::int32_t kHomeY = 440;

    // index: the pimuru it plays, 0 or 1.
    ComputerPartner(int index, Strength strength, std::uint32_t seed);

    // Its pad input for the coming step of this world.
    game::PadInput Next(const game::World& world);

    int Index() const { return index_; }
    // Whether it means to play the coming ball itself, and where it is going.
    bool TakingBall() const { return taking_; }
    std::int32_t TargetX() const { return targetX_; }

private:
    void Notice(const game::World& world);
    void Decide(const game::World& world);
    std::optional<std::int32_t> AimOffset(const game::World& world, std::int32_t landingX);
    std::int32_t WaitingX(const game::World& world,
                          const std::optional<BallForecast::Arrival>& theirs) const;
    game::PadInput Walk(const game::World& world);
    game::PadInput AvoidDrifters(const game::World& world, game::PadInput wanted) const;
    bool StrikesNow(const game::World& world, const game::PadInput& move) const;
    std::int32_t Roll(std::int32_t n) { return random_.Next(n); }
    bool TheyPlay() const { return theirIdle_ < kIdleFrames; }

    // Frames a pimuru may stand still while the ball is theirs and still count as playing.
    static constexpr int kIdleFrames = 80;

    int index_;
    StrengthTraits traits_;
    game::GameRandom random_;
    BallForecast forecast_;
    int noticeIn_ = -1; // frames until it takes in a changed path; −1: nothing pending
    bool taking_ = false;
    // The fall of the ball the offset below is for: each coming down of the
    // ball is aimed anew, and so is each once a forecast changes.
    static constexpr std::int32_t kNotAimed = -1;
    std::int32_t aimedFall_ = kNotAimed;
    std::int32_t aimOffset_ = 0;
    std::int32_t targetX_ = 0;
    std::int32_t theirLastX_ = 0;
    std::int32_t theirLastY_ = 0;
    bool theirKnocked_ = false;   // as they were in the world before
    int theirIdle_ = kIdleFrames; // frames the other stood still on their ball; none moved yet
    bool fireHeld_ = false;
    std::int64_t frames_ = 0;
};

} // namespace partner
