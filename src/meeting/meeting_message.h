#pragma once
// The messages of a meeting in a room: a guest's request (its ICE side), the
// host's offer in reply (the host's ICE side), and the host's word to a later
// guest that the room already has its guest. Nothing waits on the server: the
// host stays in the room and answers whoever asks. Each is sealed with the room's key and a random nonce;
// anything that does not open or does not read as a whole message is not one.

#include "meeting/room_keys.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace meeting {

enum class MessageType : std::uint8_t {
    Offer = 1,  // the host's reply to one guest: its ICE side and versions
    Answer = 2, // a guest asks to join: its ICE side and versions
    Taken = 3,  // the host's reply to a guest it cannot take: it has one
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
    IceSide Ice;       // Taken: empty
    std::string Guest; // Offer and Taken: the ICE user fragment of the guest addressed
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
