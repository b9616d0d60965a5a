#pragma once
// The packets two online partners exchange over UDP: the handshake (Hello,
// Welcome, Reject), one Input packet a frame each way during the run, and End.
// DecodePacket checks every field before anything is used: a packet from
// anyone on the network may be malformed or hostile.

#include "online/player_input.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace online {

// Raised whenever packets change their meaning; partners must agree on it.
inline constexpr std::uint8_t kProtocolVersion = 1;
inline constexpr std::size_t kMaxVersionText = 32;
// The inputs one packet carries at most. The session never has more than
// the prediction window plus the input delay and a round trip unacknowledged.
inline constexpr std::size_t kMaxInputsPerPacket = 64;
// A Hello is padded to this size: no answer before the handshake is larger
// than the Hello that caused it, so the host cannot amplify a forged sender's
// traffic.
inline constexpr std::size_t kHelloSize = 96;
inline constexpr std::size_t kMaxPacketSize = 512;

// The guest asks to join. Nonce: the guest's own random number, echoed back.
struct Hello {
    std::uint8_t Protocol = kProtocolVersion;
    std::uint32_t Nonce = 0;
    std::string ProgramVersion;
    std::uint32_t DataVersion = 0;
    bool operator==(const Hello&) const = default;
};

// The host accepts: the run's options and the world's start.
struct Welcome {
    std::uint32_t HelloNonce = 0;   // the guest's Hello nonce
    std::uint32_t SessionNonce = 0; // every later packet of the run carries it
    std::uint32_t RandomSeed = 0;   // the host's world carry-over
    std::int32_t HighScore = 0;
    bool CoupleMode = false;
    bool Hard = false;
    std::int64_t StartedAt = 0; // seconds since 1970, when the host took the guest: both replays' date
    bool operator==(const Welcome&) const = default;
};

enum class RejectReason : std::uint8_t {
    ProtocolMismatch = 1,
    ProgramMismatch = 2,
    DataMismatch = 3,
    Busy = 4, // the host already plays with someone
};

// The host refuses and says what it runs, so both can tell the player why.
struct Reject {
    std::uint8_t Protocol = kProtocolVersion;
    std::uint32_t HelloNonce = 0;
    RejectReason Reason = RejectReason::Busy;
    std::string ProgramVersion;
    std::uint32_t DataVersion = 0;
    bool operator==(const Reject&) const = default;
};

// A confirmed frame's world checksum.
struct FrameChecksum {
    std::int32_t Frame = 0;
    std::uint64_t Value = 0;
    bool operator==(const FrameChecksum&) const = default;
};

// One frame's packet during the run.
struct InputPacket {
    std::uint32_t SessionNonce = 0;
    std::int32_t Frame = 0;      // the sender's next frame to step
    std::int32_t Ack = -1;       // the receiver's inputs the sender has, up to this frame
    std::int32_t FirstFrame = 0; // of Inputs[0]
    std::vector<PlayerInput> Inputs;
    std::uint32_t SentAtMs = 0;   // the sender's clock
    std::uint32_t EchoMs = 0;     // the last SentAtMs the sender received
    std::uint16_t EchoHoldMs = 0; // how long the sender held it before this packet
    std::int16_t AdvantageMs = 0; // how far the sender runs ahead of the receiver
    std::optional<FrameChecksum> Checksum;
    bool operator==(const InputPacket&) const = default;
};

enum class EndReason : std::uint8_t {
    Quit = 1,    // a player pressed Esc
    Timeout = 2, // the partner was quiet too long
    Desync = 3,  // the worlds differ
};

struct End {
    std::uint32_t SessionNonce = 0;
    EndReason Reason = EndReason::Quit;
    std::int32_t Frame = 0; // for a desync, the first frame whose checksums differed
    bool operator==(const End&) const = default;
};

using Packet = std::variant<Hello, Welcome, Reject, InputPacket, End>;

std::vector<std::uint8_t> EncodePacket(const Packet& packet);

// nullopt for anything that is not a well-formed packet of ours. Hello and
// Reject decode for any protocol version, so that a mismatch can be told.
std::optional<Packet> DecodePacket(std::span<const std::uint8_t> bytes);

} // namespace online
