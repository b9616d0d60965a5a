#pragma once
// A rollback session between two machines playing one run. Each tick the
// local player's input goes in at once (after the input delay), the
// partner's is predicted by repeating its last known input for up to
// kPredictionFrames, and when the partner's real input differs from the
// prediction the saved world is restored and the frames since are stepped
// again, silently. One Input packet a tick carries what the partner lacks.
// Confirmed frames are handed out in order (for the replay) and compared
// with the partner's by checksum.

#include "online/clock.h"
#include "online/packet.h"
#include "online/player_input.h"
#include "online/time_sync.h"
#include "online/transport.h"
#include "rules/frame_length.h"
#include "rules/frame_sink.h"
#include "rules/world.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace online {

inline constexpr std::int32_t kPredictionFrames = 8;
inline constexpr std::int32_t kChecksumFrames = 16;    // a checksum after every 16th frame
inline constexpr std::int64_t kQuietUs = 500'000;      // the partner counts as quiet after this
inline constexpr std::int64_t kTimeoutUs = 10'000'000; // and the run ends after this
inline constexpr std::int64_t kCloseUs = 3'000'000;    // the longest wait for a clean close

struct SessionOptions {
    bool Host = true;               // the host steers pimuru 1
    std::uint32_t SessionNonce = 0; // from the handshake
    bool Hard = false;              // the host's harder-game box, for the whole run
    // 0…kMaxInputDelay frames; −1: from the first measured round trip (0 until then).
    int InputDelay = 0;
    std::int32_t FrameMs = game::kFrameMs; // the nominal frame length
    // A checksum after every this many frames; both sides must agree on it.
    std::int32_t ChecksumFrames = kChecksumFrames;
    // Every confirmed frame in order: what the world was given and the world
    // after it. A replay records from here.
    std::function<void(const game::FrameInput&, const game::World&)> OnConfirmedFrame;
    // Tests only: from this frame on, this side steps with the partner's button flipped.
    std::int32_t ForceDesyncAtFrame = -1;
};

struct SessionStats {
    std::int64_t FramesStepped = 0; // first steps, each drawn once
    std::int64_t WaitTicks = 0;     // ticks on which the world waited for the partner
    std::int64_t Rollbacks = 0;
    std::int64_t FramesRestepped = 0;
    std::int32_t LongestRollback = 0; // frames
    std::int32_t LastRollback = 0;    // frames, of the latest tick that rolled back
    std::int64_t PacketsSent = 0;
    std::int64_t BytesSent = 0; // datagram payloads only
    std::int64_t PacketsReceived = 0;
    std::int64_t PacketsDropped = 0;   // malformed, another session's, or out of place
    std::int64_t ChecksumsMatched = 0; // checked frames found equal on both sides
};

struct SessionEnd {
    EndReason Reason = EndReason::Quit;
    bool ByPartner = false;          // the partner ended it (or went quiet)
    std::int32_t DesyncFrame = -1;   // the first checked frame whose worlds differ
    std::int32_t LastGoodFrame = -1; // the last checked frame on which they agreed
    std::uint64_t LocalChecksum = 0;
    std::uint64_t PartnerChecksum = 0;
};

class Session {
public:
    // world: started from the agreed carry-over and StartRun, the same on both sides.
    Session(const game::World& world, SessionOptions options, Clock& clock, Transport& transport);

    enum class Tick { Stepped, Waited, Ended };
    // One tick of the frame loop: receive, roll back if needed, step the next
    // frame with sink (drawing and sounds) unless the partner's input is too
    // far behind, send one packet.
    Tick Advance(const PlayerInput& local, game::FrameSink& sink);

    // Esc: both sides end at the same frame once each has the other's inputs
    // up to it; Advance keeps exchanging until then (or kCloseUs).
    void Quit();

    // The last stepped frame's requests again, for a frame on which the world
    // waits: pass a sink that draws and does not sound.
    void DrawAgain(game::FrameSink& pictures) const;

    // What to add to the next frame's length to stay level with the partner.
    std::int32_t ExtraFrameMs();

    const game::World& World() const { return world_; }
    std::int32_t NextFrame() const { return nextFrame_; }
    std::int32_t ConfirmedFrames() const { return confirmed_; }
    bool PartnerQuiet() const;
    bool Closing() const { return closeAt_ >= 0; }
    const std::optional<SessionEnd>& Ending() const { return end_; }
    const SessionStats& Stats() const { return stats_; }
    std::int32_t RoundTripMs() const { return sync_.RoundTripMs(); }
    int InputDelay() const { return inputDelay_; }

private:
    static constexpr std::int32_t kSaved = 16; // > kPredictionFrames + 1

    void Receive();
    void Take(const InputPacket& packet);
    void TakeEnd(const End& packet);
    void RollBack();
    bool CanStep() const;
    void StepFrame(std::int32_t frame, game::FrameSink& sink);
    void Confirm();
    void CheckChecksum(const FrameChecksum& partner);
    void Send();
    void SendEnd(EndReason reason, std::int32_t frame);
    void StartClosing(std::int32_t frame);
    bool ClosedCleanly() const;
    void Finish(SessionEnd end);
    PlayerInput PartnerInputAt(std::int32_t frame) const;
    // The world's input at a frame; stepped: with the test's forced fault.
    game::FrameInput FrameInputAt(std::int32_t frame, const PlayerInput& partner,
                                  bool stepped) const;
    std::uint32_t NowMs() const;

    void ChooseInputDelay();

    SessionOptions options_;
    int inputDelay_ = 0;
    Clock& clock_;
    Transport& transport_;
    TimeSync sync_;
    game::World world_;
    std::int32_t nextFrame_ = 0;
    std::int32_t confirmed_ = 0;              // frames 0…confirmed_−1 are confirmed
    std::int32_t mismatchAt_ = -1;            // the earliest frame stepped with a wrong prediction
    std::vector<PlayerInput> local_;          // every local input by frame
    std::vector<PlayerInput> partner_;        // the partner's real inputs by frame, contiguous
    std::int32_t partnerAck_ = -1;            // the partner has our inputs up to here
    std::array<game::World, kSaved> saved_{}; // the world before each recent frame
    std::array<PlayerInput, kSaved> used_{}; // the partner input each recent frame was stepped with
    // Our checksums of recent checked frames, each with the packets left
    // that are to carry it, and the partner's not yet matched.
    struct OwnChecksum {
        FrameChecksum Sum;
        std::int32_t SendsLeft = 0;
        bool Matched = false; // the partner's came and was equal
    };
    std::vector<OwnChecksum> ownChecksums_;
    std::vector<FrameChecksum> partnerChecksums_;
    std::int32_t lastGoodFrame_ = -1;
    std::uint32_t echoMs_ = 0;
    std::int64_t echoReceivedUs_ = -1;
    std::int64_t lastPacketUs_ = 0;
    std::int64_t lastStepUs_ = 0;
    // Closing: both sides step and confirm up to the larger of their two
    // proposals, so that both replays end at the same frame.
    std::int32_t closeAt_ = -1;
    std::int32_t partnerCloseAt_ = -1;
    bool quitHere_ = false;
    std::int64_t closeStartedUs_ = 0;
    std::optional<SessionEnd> end_;
    SessionStats stats_;
};

} // namespace online
