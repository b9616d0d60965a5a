#pragma once
// A run played online as a run of this program: this machine's devices steer
// its own player's pimuru through the rollback session, the line over the
// picture tells how the link goes, and the confirmed frames are kept as the
// replay both machines keep.

#include "game/back_buffer_canvas.h"
#include "game/device_input.h"
#include "game/online_overlay.h"
#include "game/run_driver.h"
#include "online/steady_clock.h"
#include "play/online_play.h"

namespace game {

class Tfrm_main;
struct OnlineConnection;

class OnlineRun : public RunDriver {
public:
    // Starts the run the handshake on `connection` agreed, on the launcher's world.
    OnlineRun(Tfrm_main& form, OnlineConnection& connection, BackBufferCanvas& canvas);

    const World& GameWorld() const override { return play_.GameWorld(); }
    void Advance(FrameSink& shown) override;
    bool Continue(bool quitAsked) override { return play_.Continue(quitAsked); }
    std::uint32_t ExtraFrameMs() override { return play_.ExtraFrameMs(); }

    std::optional<replay::Replay> Recording() const override { return play_.Finish(); }
    std::string EndMessage() const override { return play_.EndMessage(); }
    std::string DesyncReport() const override { return play_.DesyncReport(); }

private:
    const Tfrm_main& form_;
    DeviceInput devices_;
    online::SteadyClock clock_;
    // After the devices and the clock it uses, so that it ends before them.
    play::OnlinePlay play_;
    OnlineOverlay overlay_;
};

} // namespace game
