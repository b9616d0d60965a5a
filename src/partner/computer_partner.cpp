#include "partner/computer_partner.h"

#include "rules/loss_watch.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>

namespace partner {

namespace {

using game::Ball;
using game::FrameInput;
using game::LossWatch;
using game::PadInput;
using game::Pimuru;
using game::World;

constexpr std::int32_t kCatchAbove = 20; // a falling ball is met this far above the centre
constexpr std::int32_t kUnder = 24;      // this near the ball's line it need walk no more
constexpr std::int32_t kUnderBall = 48;  // this near, the ball is the pimuru's to play
constexpr std::int32_t kMiddle = 320;    // pimuru 1 keeps the left half, pimuru 2 the right
constexpr std::int32_t kWaitingX[2] = {180, 460};
constexpr std::int32_t kGiveRoom = 130; // how far it waits from where the other plays the ball
constexpr std::int32_t kBallLeft = 60;  // the ball's walls
constexpr std::int32_t kBallRight = 580;
constexpr std::int32_t kAimReach = 56; // strike offsets tried, either way
constexpr std::int32_t kAimStep = 14;
constexpr std::int32_t kNoLanding = 1000; // the miss of an aim that never comes down
constexpr std::int32_t kSurestReach = 60; // the strike box reaches 70 either way
constexpr int kTheirReaction = 8;         // frames the other needs before they walk
constexpr int kSideWeight = 12;           // a ball on its own half
constexpr int kStayWeight = 10;           // the hysteresis: it keeps to what it or the other began
constexpr int kKnockedDelay = 20;         // a knocked pimuru sinks before it walks again
constexpr int kDrifterLook = 4;           // frames it looks ahead for drifters
// Frames of the ball's path it keeps in view: more than the longest fall,
// that of a new ball from above the screen (some 130 frames).
constexpr int kSeenAhead = 200;

int Sign(std::int32_t value) {
    return (value > 0) - (value < 0);
}

int FramesToReach(const Pimuru& p, std::int32_t x) {
    const std::int32_t distance = std::abs(p.X - x) - kUnder;
    return distance <= 0 ? 0 : (distance + p.StepX - 1) / std::max(1, p.StepX);
}

PadInput Toward(const Pimuru& p, std::int32_t x, std::int32_t y) {
    PadInput pad;
    pad.Dx = std::abs(x - p.X) * 2 <= p.StepX ? 0 : Sign(x - p.X);
    pad.Dy = std::abs(y - p.Y) * 2 <= p.StepY ? 0 : Sign(y - p.Y);
    return pad;
}

// Steps the world on, walking pimuru `index` towards x, until the ball is in
// its reach, and strikes it there. false when the ball is lost first.
bool StrikeFrom(World& world, int index, std::int32_t x) {
    LossWatch watch;
    for (int frame = 0; frame < BallForecast::kHorizon && !watch.lost; ++frame) {
        FrameInput input;
        input.Pads[index] = Toward(world.PimuruAt(index), x, ComputerPartner::kHomeY);
        const World before = world;
        world.Step(input, watch);
        if (World::InStrikeBox(world.PimuruAt(index), world.GetBall())) {
            world = before;
            input.Pads[index].Fire = true;
            world.Step(input, watch);
            return !watch.lost;
        }
    }
    return false;
}

// Where the falling ball reaches height y if nobody moves.
std::optional<std::int32_t> LandingX(World& world, std::int32_t y) {
    LossWatch watch;
    for (int frame = 0; frame < BallForecast::kHorizon && !watch.lost; ++frame) {
        world.Step(FrameInput{}, watch);
        const Ball& ball = world.GetBall();
        if (!watch.lost && ball.VY > 0 && ball.Y >= y)
            return ball.X;
    }
    return std::nullopt;
}

} // namespace

ComputerPartner::ComputerPartner(int index, Strength strength, std::uint32_t seed)
    : index_(index == 0 ? 0 : 1), traits_(TraitsOf(strength)) {
    random_.SetSeed(seed);
}

PadInput ComputerPartner::Next(const World& world) {
    const Pimuru& them = world.PimuruAt(1 - index_);
    if (frames_++ == 0) {
        theirLastX_ = them.X;
        theirLastY_ = them.Y;
    }
    // A person who stands still while the ball is theirs (or has not moved
    // yet) is not playing: it keeps the ball to itself until they join.
    // Waiting while it plays the ball itself does not count.
    // A knock moves them too (they sink and sway), which is not a move of theirs.
    const bool moved =
        !them.Knocked && !theirKnocked_ && (them.X != theirLastX_ || them.Y != theirLastY_);
    if (moved || them.FireHeld)
        theirIdle_ = 0;
    else if (!taking_)
        theirIdle_ = std::min(theirIdle_ + 1, kIdleFrames);
    Notice(world);
    Decide(world);
    PadInput pad = Walk(world);
    pad.Fire = !fireHeld_ && StrikesNow(world, pad);
    fireHeld_ = pad.Fire;
    theirLastX_ = them.X;
    theirLastY_ = them.Y;
    theirKnocked_ = them.Knocked;
    return pad;
}

// A changed path of the ball is taken in only after the reaction time; until
// then it goes on by the old forecast, as a person would.
void ComputerPartner::Notice(const World& world) {
    // A person who stands still is part of the ball's path.
    const int standing = TheyPlay() ? -1 : 1 - index_;
    if (forecast_.Empty() || forecast_.Standing() != standing) {
        forecast_.Compute(world, standing);
        aimedFall_ = kNotAimed;
        noticeIn_ = -1;
        return;
    }
    if (noticeIn_ < 0 && !forecast_.Holds(world))
        noticeIn_ = traits_.ReactionFrames + Roll(traits_.ReactionFrames / 2 + 1);
    // A path it has followed all along is only looked further along, and at
    // once, when nothing comes down in what is left of it: as after a lost
    // ball, whose new ball falls past the end of a forecast made before.
    if (noticeIn_ < 0 && forecast_.FramesAhead(world) < kSeenAhead &&
        !forecast_.FallingTo(kHomeY - kCatchAbove, world)) {
        forecast_.Compute(world, standing);
        aimedFall_ = kNotAimed;
    }
    if (noticeIn_ > 0) {
        --noticeIn_;
    } else if (noticeIn_ == 0) {
        forecast_.Compute(world, standing);
        aimedFall_ = kNotAimed;
        noticeIn_ = -1;
    }
}

void ComputerPartner::Decide(const World& world) {
    const Pimuru& me = world.PimuruAt(index_);
    const Pimuru& them = world.PimuruAt(1 - index_);
    const auto mine = forecast_.FallingTo(kHomeY - kCatchAbove, world);
    const auto theirs = forecast_.FallingTo(them.Y - kCatchAbove, world);
    if (!mine) {
        taking_ = false;
        targetX_ = WaitingX(world, theirs);
        return;
    }

    // Time to spare, and whether each stands under the ball already.
    const int needMine = FramesToReach(me, mine->X);
    const int slackMine = mine->Frames - needMine;
    const bool iAmUnder = std::abs(me.X - mine->X) <= kUnderBall;
    int needTheirs = 0;
    int slackTheirs = -1;
    bool theyAreUnder = false;
    bool theyHeadForIt = false;
    bool onlyMine = false; // the other will not play it
    if (theirs) {
        needTheirs = FramesToReach(them, theirs->X) + (them.Knocked ? kKnockedDelay : 0);
        slackTheirs = theirs->Frames - needTheirs - kTheirReaction;
        theyAreUnder = !them.Knocked && std::abs(them.X - theirs->X) <= kUnderBall;
        theyHeadForIt = std::abs(them.X - theirs->X) < std::abs(theirLastX_ - theirs->X);
        // Beside a person who does not play, only a ball that comes down on
        // them is left to them (it bounces off them, and walking under it
        // would only bump them): any other, such as one between the two, is
        // its own, and it goes for it even when it seems late.
        onlyMine = !TheyPlay() && !theyAreUnder;
    }
    if (onlyMine) {
        taking_ = true;
    } else if (slackTheirs < 0 && slackMine > slackTheirs) {
        taking_ = true; // they cannot make it
    } else if (slackMine < 0) {
        taking_ = false; // it cannot make it, they can
    } else if (iAmUnder != theyAreUnder) {
        taking_ = iAmUnder; // walking in under the other would only bump them
    } else {
        // The nearer takes it; its own half counts for some frames, and so
        // does what either began (the hysteresis that keeps both from
        // chasing one ball).
        const bool ownHalf = index_ == 0 ? mine->X < kMiddle : mine->X >= kMiddle;
        int score = needTheirs - needMine + (ownHalf ? kSideWeight : -kSideWeight);
        if (taking_)
            score += kStayWeight;
        if (theyHeadForIt)
            score -= kStayWeight;
        taking_ = score > 0;
    }

    if (!taking_) {
        targetX_ = WaitingX(world, theirs);
        return;
    }
    // Each fall of the ball is aimed at anew, as the new ball after a lost
    // one; but while a changed path waits to be noticed, the old aim holds.
    const bool unnoticed = noticeIn_ >= 0 && aimedFall_ != kNotAimed;
    if (aimedFall_ != mine->FallFrame && !unnoticed) {
        // A ball that no strike sends anywhere yet (the new ball while the
        // lost one still falls) is aimed at again in the next frame.
        aimOffset_ = 0;
        if (const auto offset = AimOffset(world, mine->X)) {
            // The error never takes it out of reach of the ball.
            aimOffset_ = std::clamp(*offset + Roll(2 * traits_.AimError + 1) - traits_.AimError,
                                    -kSurestReach, kSurestReach);
            aimedFall_ = mine->FallFrame;
        }
    }
    targetX_ = mine->X - aimOffset_;
}

// Tries striking from places left and right of the ball's line on copies of
// the world and keeps the one whose ball comes down nearest the other pimuru:
// a pass earns the bonus only when the other strikes next. None when no
// strike comes down anywhere.
std::optional<std::int32_t> ComputerPartner::AimOffset(const World& world, std::int32_t landingX) {
    const Pimuru& them = world.PimuruAt(1 - index_);
    // To the other when they play, else to its own half.
    const std::int32_t targetX = TheyPlay() ? them.X : kWaitingX[index_];
    const std::int32_t catchY = (TheyPlay() ? them.Y : kHomeY) - kCatchAbove;
    constexpr int kTries = 2 * kAimReach / kAimStep + 1;
    std::array<std::int32_t, kTries> miss;
    bool landed = false;
    for (int i = 0; i < kTries; ++i) {
        const std::int32_t offset = -kAimReach + i * kAimStep;
        miss[i] = kNoLanding;
        World ahead = world;
        if (!StrikeFrom(ahead, index_, landingX - offset))
            continue;
        if (const auto landing = LandingX(ahead, catchY)) {
            miss[i] = std::abs(*landing - targetX);
            landed = true;
        }
    }
    if (!landed)
        return std::nullopt;
    // Each aim is judged with its neighbours, as it will not stand exactly
    // there; of two equal aims, the one nearer the ball's line is surer.
    std::int32_t best = 0;
    std::int32_t bestMiss = INT32_MAX;
    for (int i = 0; i < kTries; ++i) {
        const std::int32_t offset = -kAimReach + i * kAimStep;
        const std::int32_t worst =
            std::max({miss[std::max(i - 1, 0)], miss[i], miss[std::min(i + 1, kTries - 1)]}) +
            std::abs(offset) / 8;
        if (worst < bestMiss) {
            bestMiss = worst;
            best = offset;
        }
    }
    return best;
}

// Out of the way of the other's ball, ready for their pass.
std::int32_t ComputerPartner::WaitingX(const World& world,
                                       const std::optional<BallForecast::Arrival>& theirs) const {
    const std::int32_t theirX = theirs ? theirs->X : world.PimuruAt(1 - index_).X;
    std::int32_t x = kWaitingX[index_];
    if (std::abs(x - theirX) < kGiveRoom)
        x = index_ == 0 ? theirX - kGiveRoom : theirX + kGiveRoom;
    return std::clamp(x, kBallLeft, kBallRight);
}

game::PadInput ComputerPartner::Walk(const World& world) {
    PadInput pad = Toward(world.PimuruAt(index_), targetX_, kHomeY);
    if (traits_.RestEvery > 0 && Roll(traits_.RestEvery) == 0)
        pad = PadInput{};
    return AvoidDrifters(world, pad);
}

// Drifters knock whoever they touch. Near one, each move is tried on copies
// of the world for a few frames, and the safest that still goes its way wins.
game::PadInput ComputerPartner::AvoidDrifters(const World& world, PadInput wanted) const {
    const Pimuru& me = world.PimuruAt(index_);
    if (me.Knocked)
        return wanted;
    const int speed = world.GetDifficulty().DrifterSpeed;
    const std::int32_t nearX = 30 + kDrifterLook * (me.StepX + std::abs(speed));
    const std::int32_t nearY = 30 + kDrifterLook * (me.StepY + 2);
    bool near = false;
    const int capacity = std::clamp(world.GetDifficulty().Capacity, 0, game::kDrifterSlots);
    for (int slot = 1; slot <= capacity && !near; ++slot) {
        const game::Drifter& d = world.DrifterAt(slot);
        near = d.State >= game::drifter_state::kMovingLeft &&
               d.State <= game::drifter_state::kSinkingRight && std::abs(d.X - me.X) <= nearX &&
               std::abs(d.Y - me.Y) <= nearY;
    }
    if (!near)
        return wanted;

    // The frame in which a move kept up would first be knocked, past the look if never.
    const auto knockedAfter = [&](const PadInput& move) {
        World ahead = world;
        game::FrameSink quiet;
        FrameInput input;
        input.Pads[index_] = move;
        for (int frame = 1; frame <= kDrifterLook; ++frame) {
            ahead.Step(input, quiet);
            if (ahead.PimuruAt(index_).Knocked)
                return frame;
        }
        return kDrifterLook + 1;
    };
    if (knockedAfter(wanted) > kDrifterLook)
        return wanted;
    PadInput best = wanted;
    int bestScore = INT_MIN;
    for (std::int32_t dy = -1; dy <= 1; ++dy) {
        for (std::int32_t dx = -1; dx <= 1; ++dx) {
            const PadInput move{dx, dy, false};
            const std::int32_t away = std::abs(targetX_ - (me.X + dx * me.StepX)) +
                                      std::abs(kHomeY - (me.Y + dy * me.StepY));
            const int score = knockedAfter(move) * 10000 - away;
            if (score > bestScore) {
                bestScore = score;
                best = move;
            }
        }
    }
    return best;
}

// Whether, after this move, the ball will be in its reach: the moment to swing.
bool ComputerPartner::StrikesNow(const World& world, const PadInput& move) const {
    const Pimuru& me = world.PimuruAt(index_);
    const Ball& ball = world.GetBall();
    if (std::abs(ball.X - me.X) > 100 || ball.Y < me.Y - 80 || ball.Y > me.Y + 60)
        return false;
    World ahead = world;
    game::FrameSink quiet;
    FrameInput input;
    input.Pads[index_] = move;
    ahead.Step(input, quiet);
    return World::InStrikeBox(ahead.PimuruAt(index_), ahead.GetBall());
}

} // namespace partner
