#include "play/watch_keys.h"

namespace play {

namespace {

// Virtual keys; the digits, + and - of the number pad count as well.
constexpr std::uint16_t kSpace = 32;
constexpr std::uint16_t kLeft = 37;
constexpr std::uint16_t kRight = 39;
constexpr std::uint16_t kH = 72;
constexpr std::uint16_t kPadDigit0 = 96;
constexpr std::uint16_t kPadPlus = 107;
constexpr std::uint16_t kPadMinus = 109;
constexpr std::uint16_t kPadPeriod = 110;
constexpr std::uint16_t kPlus = 187; // the key of = and +
constexpr std::uint16_t kMinus = 189;
constexpr std::uint16_t kPeriod = 190;

} // namespace

bool WatchKeys::KeyDown(std::uint16_t key) {
    if (key >= kPadDigit0 && key <= kPadDigit0 + 9)
        key = static_cast<std::uint16_t>('0' + (key - kPadDigit0));
    switch (key) {
    case kSpace:
        playback_.TogglePause();
        return true;
    case kPeriod:
    case kPadPeriod:
        playback_.StepFrame();
        return true;
    case kRight:
        playback_.JumpBy(ReplayPlayback::kJumpFrames);
        return true;
    case kLeft:
        playback_.JumpBy(-ReplayPlayback::kJumpFrames);
        return true;
    case '1':
    case '2':
    case '4':
    case '8':
        playback_.SetSpeed(key - '0');
        return true;
    case kPlus:
    case kPadPlus:
        playback_.Faster();
        return true;
    case kMinus:
    case kPadMinus:
        playback_.Slower();
        return true;
    case kH:
        overlayShown_ = !overlayShown_;
        return true;
    default:
        return false;
    }
}

} // namespace play
