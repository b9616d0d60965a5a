#pragma once
// Where the ball will go if nobody plays it: a copy of the world stepped on
// with the pimuru stepping aside (or one standing still, as a person who
// does not play does), so the forecast follows the world's own rules (walls,
// the fall's cap, bounces, drifters it bursts). It is worked out once per new
// path and kept while the real ball stays on it.

#include "rules/world.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace partner {

class BallForecast {
public:
    // Frames looked ahead: a highest strike's flight and more.
    static constexpr int kHorizon = 260;

    struct Arrival {
        int Frames = 0;      // from the world it is asked about
        std::int32_t X = 0;  // where the ball is then
        std::int32_t VX = 0; // its sideways speed then
        // The world's frame in which this fall began: it tells one coming
        // down of the ball from the next.
        std::int32_t FallFrame = 0;
    };

    // standing: the pimuru that stands still in the forecast, or −1.
    void Compute(const game::World& world, int standing = -1);
    int Standing() const { return standing_; }
    bool Empty() const { return path_.empty(); }
    // Whether the world's ball is where the forecast put it for this frame.
    bool Holds(const game::World& world) const;
    // Frames of the forecast still ahead of the world's present frame.
    int FramesAhead(const game::World& world) const;
    // When and where the falling ball first reaches height y (or lower),
    // counted from the world's present frame; none within the horizon.
    std::optional<Arrival> FallingTo(std::int32_t y, const game::World& world) const;

private:
    std::int32_t startFrame_ = 0; // the world's frame counter when computed
    int standing_ = -1;
    std::vector<game::Ball> path_; // path_[k]: the ball k frames after that
};

} // namespace partner
