#pragma once
// The keys of watching a replay, by their virtual-key numbers: Space pauses
// and resumes, the period steps one frame while paused, Right and Left jump
// 10 s, 1, 2, 4 and 8 set the speed and + and - change it, H hides and shows
// the line that tells the time.

#include "play/replay_playback.h"

#include <cstdint>

namespace play {

class WatchKeys {
public:
    explicit WatchKeys(ReplayPlayback& playback) : playback_(playback) {}

    // Whether the key is one of watching's (it has then done its part).
    bool KeyDown(std::uint16_t key);
    bool OverlayShown() const { return overlayShown_; }

private:
    ReplayPlayback& playback_;
    bool overlayShown_ = true;
};

} // namespace play
