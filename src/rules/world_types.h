#pragma once
// The records of the game world: the two pimuru, the ball, drifters, effects,
// the difficulty parameters and the per-frame input. Plain values in screen
// pixels and frames, read by the drawing and by tests.

#include <cstdint>

namespace game {

inline constexpr int kPimuruCount = 2;
inline constexpr int kDrifterSlots = 100; // slots 1…100; only 1…capacity are used
inline constexpr int kEffectSlots = 100;  // slots 1…100

struct Pimuru {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t PreviousX = 0;
    std::int32_t PreviousY = 0;
    std::int32_t StepX = 8;
    std::int32_t StepY = 5;
    bool FireHeld = false;
    std::int32_t SwingTimer = 0; // set to 50 when a swing starts, counts down to 0
    bool SwingStarted = false;   // has swung at least once in this run
    std::int32_t SwingFrame = 0; // 0…17, picks the swing picture
    bool ButtonLatch = false;    // set by a swing start or a strike, cleared on release
    bool Knocked = false;
};

struct Ball {
    std::int32_t X = 320;
    std::int32_t Y = 0;
    std::int32_t VX = 0;
    std::int32_t VY = 0;      // > 0 falling
    std::int32_t Picture = 0; // 0…3
};

namespace drifter_state {
inline constexpr std::int32_t kFree = 0;
inline constexpr std::int32_t kMovingLeft = 1;
inline constexpr std::int32_t kSinkingLeft = 2;
inline constexpr std::int32_t kMovingRight = 3;
inline constexpr std::int32_t kSinkingRight = 4;
inline constexpr std::int32_t kLeaving = 9;
inline constexpr std::int32_t kBurstFirst = 11; // 11…14: burst pictures 0…3
inline constexpr std::int32_t kBurstEnd = 15;
} // namespace drifter_state

struct Drifter {
    std::int32_t State = drifter_state::kFree;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t PhaseTimer = 0;
};

struct Effect {
    bool Active = false;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t DY = 0;   // negative: rising
    std::int32_t Kind = 1; // 1…4, picks the picture
};

struct Difficulty {
    std::int32_t Capacity = 50;
    std::int32_t DrifterSpeed = 1;
    std::int32_t SpawnInterval = 100;
    std::int32_t SpawnX = 690;
    std::int32_t SpawnBaseY = 50;

    static Difficulty Normal() { return Difficulty{}; }
    static Difficulty Hard() { return Difficulty{50, 3, 50, 690, 50}; }
    static Difficulty For(bool hard) { return hard ? Hard() : Normal(); }
};

// The sound effect channels the rules trigger.
enum class SoundEffect : int {
    Burst = 0,
    Strike = 1,
    BallLost = 2,
    Landing = 3,
    Bump = 4,
    Knock = 5,
    PassBonus = 6,
};

// One pimuru's device input: the signs (−1, 0, +1) of the joystick axes and
// the swing button.
struct PadInput {
    std::int32_t Dx = 0;
    std::int32_t Dy = 0;
    bool Fire = false;
    bool operator==(const PadInput&) const = default;
};

// The key flags the main window keeps for a pimuru.
struct KeyFlags {
    bool Left = false;
    bool Right = false;
    bool Up = false;
    bool Down = false;
    bool Fire = false;
    bool operator==(const KeyFlags&) const = default;
};

struct FrameInput {
    // Pimuru 1: the first joystick with its keys already beside it; pimuru 2:
    // the keyboard device and the second joystick, its keys in Keys.
    PadInput Pads[kPimuruCount];
    KeyFlags Keys;
    bool Hard = false; // the harder-game box, read again when a rally ends
    bool operator==(const FrameInput&) const = default;
};

} // namespace game
