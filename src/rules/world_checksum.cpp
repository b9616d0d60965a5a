// World::Checksum: FNV-1a over every field of the state, each as a 32-bit
// little-endian value in a fixed order, so padding, layout and byte order
// never enter it.
#include "rules/world.h"

#include "base/fnv1a.h"

namespace game {

namespace {

class StateHash {
public:
    void Add(std::int32_t value) {
        auto bits = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i) {
            hash_.AddByte(static_cast<std::uint8_t>(bits & 0xFFu));
            bits >>= 8;
        }
    }
    void Add(std::uint32_t value) { Add(static_cast<std::int32_t>(value)); }
    void Add(bool value) { Add(static_cast<std::int32_t>(value ? 1 : 0)); }
    std::uint64_t Value() const { return hash_.Value(); }

private:
    base::Fnv1a hash_;
};

} // namespace

std::uint64_t World::Checksum() const {
    StateHash h;
    for (const Pimuru& p : pimuru_) {
        h.Add(p.X), h.Add(p.Y), h.Add(p.PreviousX), h.Add(p.PreviousY), h.Add(p.StepX), h.Add(p.StepY);
        h.Add(p.FireHeld), h.Add(p.SwingTimer), h.Add(p.SwingStarted), h.Add(p.SwingFrame);
        h.Add(p.ButtonLatch), h.Add(p.Knocked);
    }
    for (const Splash& s : splash_)
        h.Add(s.Shown), h.Add(s.Picture), h.Add(s.X), h.Add(s.Y);
    h.Add(ball_.X), h.Add(ball_.Y), h.Add(ball_.VX), h.Add(ball_.VY), h.Add(ball_.Picture);
    for (const Drifter& d : drifters_)
        h.Add(d.State), h.Add(d.X), h.Add(d.Y), h.Add(d.PhaseTimer);
    for (const Effect& e : effects_)
        h.Add(e.Active), h.Add(e.X), h.Add(e.Y), h.Add(e.DY), h.Add(e.Kind);
    h.Add(difficulty_.Capacity), h.Add(difficulty_.DrifterSpeed), h.Add(difficulty_.SpawnInterval);
    h.Add(difficulty_.SpawnX), h.Add(difficulty_.SpawnBaseY);
    h.Add(frameCounter_), h.Add(cycle2_), h.Add(cycle4_), h.Add(cycle16_), h.Add(cycle256_);
    h.Add(speedLevel_), h.Add(score_), h.Add(lastRallyScore_), h.Add(highScore_), h.Add(spawnCount_);
    h.Add(ballArmed_), h.Add(lastStriker_), h.Add(passCooldown_), h.Add(bumpCooldown_);
    h.Add(knockCooldown_), h.Add(finalScoreCounter_), h.Add(coupleMode_), h.Add(random_.Seed());
    return h.Value();
}

} // namespace game
