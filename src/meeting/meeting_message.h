#pragma once
// The messages of a meeting in a room: the host's offer (kept on the server
// for guests to come), the guest's answer, and the host's word that the room
// has its guest. Each is sealed with the room's key and a random nonce;
// anything that does not open or does not read as a whole message is not one.

#include "meeting/room_keys.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace meeting {

enum class MessageType : std::uint8_t {
    Offer = 1,  // the host waits: its ICE side and versions
    Answer = 2, // a guest joins: its ICE side and versions
    Taken = 3,  // the host took a guest, named by its ICE user fragment
};

// One side's part in connecting through ICE: its credentials and candidate
// lines, as the ICE library writes and reads them.
struct IceSide {
    std::string Ufrag;
    std::string Password;
    std::vector<std::string> Candidates;
    bool operator==(const IceSide&) const = default;
};

struct MeetingMessage {
    MessageType Type = MessageType::Offer;
    std::int64_t CreatedAt = 0; // seconds since 1970, the sender's clock
    std::uint8_t Protocol = 0;
    std::string ProgramVersion;
    std::uint32_t DataVersion = 0;
    IceSide Ice;      // Taken: only Ufrag, the guest the host took
    Key SessionKey{}; // the sender's share of the run's packet key
    bool operator==(const MeetingMessage&) const = default;
};

// Bounds on what a message may hold; larger ones are not sent and not read.
inline constexpr std::size_t kMaxSealedMessage = 4096;
inline constexpr std::size_t kMaxCandidates = 32;
inline constexpr std::size_t kMaxMessageText = 256;

// A code is good this long unused; a guest refuses an older offer.
inline constexpr std::int64_t kCodeLifetimeSeconds = 30 * 60;
// How far ahead of the guest's clock an offer's time may be (clocks differ).
inline constexpr std::int64_t kClockSkewSeconds = 5 * 60;

// nullopt when the message is over the bounds above (a field too long, text
// that is not printable ASCII, too many candidates).
std::optional<std::vector<std::uint8_t>> SealMessage(const MeetingMessage& message,
                                                     const Key& roomKey);
// nullopt for anything that is not a whole message sealed with this key.
std::optional<MeetingMessage> OpenMessage(std::span<const std::uint8_t> sealed, const Key& roomKey);

// Whether a message made at createdAt is still good at now (both seconds
// since 1970).
bool StillGood(std::int64_t createdAt, std::int64_t now);

} // namespace meeting
