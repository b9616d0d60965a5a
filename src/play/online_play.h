#pragma once
// A run played online: the rollback session steps the world, this machine's
// devices steer this side's pimuru (the host's is pimuru 1, the guest's
// pimuru 2), and the confirmed frames are recorded, so that both machines
// keep the same replay. While the world waits for the partner the last frame
// is shown again.

#include "online/packet.h"
#include "online/session.h"
#include "play/frame_driver.h"
#include "play/input_source.h"
#include "replay/recorder.h"

#include <cstdint>
#include <memory>
#include <string>

namespace play {

struct OnlineStart {
    online::Welcome Run; // the host's options and start, from the handshake
    bool Host = true;
    int InputDelay = 0;
    std::int32_t ForceDesyncAtFrame = -1; // tests only
};

class OnlinePlay : public FrameDriver {
public:
    // world: the launcher's; it starts from the host's carry-over and keeps
    // the last confirmed world when the run is over.
    // The replay's start time is the host's, so that both replays are the same.
    // The launcher's high score afterwards is its own best or the run's, whichever is higher.
    OnlinePlay(game::World& world, const OnlineStart& start, InputSource& devices,
               online::Clock& clock, online::Transport& transport, std::string programVersion);
    ~OnlinePlay() override;

    const game::World& GameWorld() const override { return session_->World(); }
    void Advance(game::FrameSink& shown) override;
    bool Continue(bool quitAsked) override;
    std::uint32_t ExtraFrameMs() override;

    const online::Session& Session() const { return *session_; }
    bool Waiting() const { return waiting_; }
    // The confirmed frames as a replay.
    replay::Replay Finish() const { return recorder_.Finish(confirmed_); }
    // Why the run ended, for the player; empty when this player quit.
    std::string EndMessage() const;
    // When the worlds parted: a report kept beside the replay (which frames
    // agreed, which differed, both checksums), else empty.
    std::string DesyncReport() const;

private:
    game::World& world_;
    InputSource& devices_;
    std::int32_t ownBest_;     // this machine's high score before the run
    std::int32_t runBest_ = 0; // the run's highest confirmed score
    replay::Recorder recorder_;
    game::World confirmed_; // the world after the last confirmed frame
    std::unique_ptr<online::Session> session_;
    bool waiting_ = false;
    bool host_ = true;
};

} // namespace play
