#pragma once
// A run played on this machine: the launcher's devices steer, the computer
// takes the seats chosen for it, and the launcher's options decide the game.

#include "game/device_input.h"
#include "game/launcher_options.h"
#include "game/run_driver.h"
#include "play/live_play.h"
#include "play/seated_input.h"

namespace game {

class Tfrm_main;

class LiveRun : public RunDriver {
public:
    // Starts the run on the launcher's world.
    explicit LiveRun(Tfrm_main& form);

    const World& GameWorld() const override { return play_.GameWorld(); }
    void Advance(FrameSink& shown) override { play_.Advance(shown); }
    bool Continue(bool quitAsked) override { return play_.Continue(quitAsked); }
    std::uint32_t ExtraFrameMs() override { return play_.ExtraFrameMs(); }

    std::optional<replay::Replay> Recording() const override { return play_.Finish(); }

private:
    LiveRun(Tfrm_main& form, const LauncherOptions& options);

    DeviceInput devices_;
    partner::SeatedInput seated_; // the devices, the computer in its seats
    play::LivePlay play_;
};

} // namespace game
