#pragma once
// The game world and its rules: two pimuru keeping a ball in the air,
// drifters, effects, scores and difficulty. Plain C++: the game run feeds
// one frame's input to Step, which applies the rules in their fixed order and
// asks a FrameSink for every sound and drawing step between them.

#include "rules/frame_sink.h"
#include "rules/game_random.h"
#include "rules/world_types.h"

#include <array>
#include <cstdint>

namespace game {

// A knock splash drawn over a knocked pimuru in this frame.
struct Splash {
    bool Shown = false;
    std::int32_t Picture = 0; // 0: splash A, 1: splash B
    std::int32_t X = 0;       // top-left corner of the picture
    std::int32_t Y = 0;
};

class World {
public:
    static constexpr std::int32_t kFinalScoreFrames = 130;
    static constexpr std::int32_t kStartSpeedLevel = 4;
    static constexpr std::int32_t kTopSpeedLevel = 33;

    // Program start: high score 0, generator seeded with 0.
    World() = default;

    // What a run takes over from the runs before it: StartRun keeps these.
    // A replay or an online partner starts its world from them.
    struct CarryOver {
        std::uint32_t RandomSeed = 0;
        std::int32_t HighScore = 0;
        bool operator==(const CarryOver&) const = default;
    };
    CarryOver GetCarryOver() const { return {random_.Seed(), highScore_}; }
    void SetCarryOver(const CarryOver& carryOver);

    // A new run: everything but the high score and the generator starts afresh.
    void StartRun(bool coupleMode, bool hard);
    // One frame of the rules (the game run tests its quit request before).
    // Rules and drawing steps interleave, so their order is kept here in one
    // place: a splash takes its position from the same generator as the
    // rules, and a drifter is drawn between its update and its burst step.
    void Step(const FrameInput& input, FrameSink& sink);

    // A checksum of the whole state, the same for equal worlds on every
    // machine and build: replays and online partners compare worlds by it.
    std::uint64_t Checksum() const;

    // The operations the rules are built from.
    static bool PointInBox(std::int32_t x, std::int32_t y, std::int32_t left, std::int32_t top,
                           std::int32_t right, std::int32_t bottom);
    // Whether the ball is where a pimuru can strike it (and, in its lower
    // part, bounces off it).
    static bool InStrikeBox(const Pimuru& pimuru, const Ball& ball);
    void AddScore();
    void SpawnDrifter(std::int32_t x, std::int32_t y);
    void AddEffect(std::int32_t x, std::int32_t y, std::int32_t dy, std::int32_t kind);
    std::int32_t Random(std::int32_t n) { return random_.Next(n); }

    const Pimuru& PimuruAt(int index) const { return pimuru_.at(index); } // 0 or 1
    const Splash& SplashOf(int index) const { return splash_.at(index); }
    const Ball& GetBall() const { return ball_; }
    const Drifter& DrifterAt(int slot) const { return drifters_.at(slot - 1); } // 1…100
    const Effect& EffectAt(int slot) const { return effects_.at(slot - 1); }    // 1…100
    const Difficulty& GetDifficulty() const { return difficulty_; }

    std::int32_t FrameCounter() const { return frameCounter_; }
    std::int32_t Cycle2() const { return cycle2_; }
    std::int32_t Cycle4() const { return cycle4_; }
    std::int32_t Cycle16() const { return cycle16_; }
    std::int32_t Cycle256() const { return cycle256_; }
    std::int32_t SpeedLevel() const { return speedLevel_; }
    std::int32_t Score() const { return score_; }
    std::int32_t LastRallyScore() const { return lastRallyScore_; }
    std::int32_t HighScore() const { return highScore_; }
    std::int32_t SpawnCount() const { return spawnCount_; }
    bool BallArmed() const { return ballArmed_; }
    std::int32_t LastStriker() const { return lastStriker_; } // −1, 1 or 2
    std::int32_t PassCooldown() const { return passCooldown_; }
    std::int32_t BumpCooldown() const { return bumpCooldown_; }
    std::int32_t KnockCooldown() const { return knockCooldown_; }
    std::int32_t FinalScoreCounter() const { return finalScoreCounter_; }
    bool CoupleMode() const { return coupleMode_; }
    std::uint32_t RandomSeed() const { return random_.Seed(); }

    // Tests set up a situation directly instead of playing up to it.
    Pimuru& PimuruForTesting(int index) { return pimuru_.at(index); }
    Ball& BallForTesting() { return ball_; }
    Drifter& DrifterForTesting(int slot) { return drifters_.at(slot - 1); }
    void SetScoreForTesting(std::int32_t score) { score_ = score; }

private:
    void CountDownCooldowns();
    void SteerPimuru(int index, const PadInput& pad, const KeyFlags* keys);
    void BumpTest(FrameSink& sink);
    void AdvanceCounters();
    void SpawnOnSchedule();
    void RaiseSpeedLevel();
    void AdvanceBallPicture();
    void MoveBall();
    void EndRally(bool hard, FrameSink& sink);
    void SideWalls();
    void SwingStrikeAndLand(int index, FrameSink& sink);
    void Strike(int index, FrameSink& sink);
    void PlaceSplash(int index);
    void UpdateDrifter(Drifter& drifter, FrameSink& sink);
    void AdvanceBurst(Drifter& drifter);
    void DifficultyStep();

    std::array<Pimuru, kPimuruCount> pimuru_{};
    std::array<Splash, kPimuruCount> splash_{};
    Ball ball_{};
    std::array<Drifter, kDrifterSlots> drifters_{};
    std::array<Effect, kEffectSlots> effects_{};
    Difficulty difficulty_{};

    std::int32_t frameCounter_ = 0;
    std::int32_t cycle2_ = 0;
    std::int32_t cycle4_ = 0;
    std::int32_t cycle16_ = 0;
    std::int32_t cycle256_ = 0;
    std::int32_t speedLevel_ = kStartSpeedLevel;
    std::int32_t score_ = 0;
    std::int32_t lastRallyScore_ = 0;
    std::int32_t highScore_ = 0;
    std::int32_t spawnCount_ = 0;
    bool ballArmed_ = false;
    std::int32_t lastStriker_ = -1;
    std::int32_t passCooldown_ = 0;
    std::int32_t bumpCooldown_ = 0;
    std::int32_t knockCooldown_ = 0;
    std::int32_t finalScoreCounter_ = 0;
    bool coupleMode_ = false;
    GameRandom random_;
};

} // namespace game
