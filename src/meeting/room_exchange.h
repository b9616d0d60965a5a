#pragma once
// The steps of a meeting in a room, apart from the server and the ICE agent
// that carry them: a guest asks with its ICE side, the host replies to that
// guest with its own, or says the room is taken. What a guest or a host makes
// of a message it reads is decided here, with the words a player sees when
// the room cannot be joined.

#include "meeting/meeting_message.h"
#include "online/handshake.h"

#include <cstdint>
#include <string>

namespace meeting {

// The host's reply to the guest whose ICE user fragment is guestUfrag. A host
// of another version replies with an empty ice: the guest only reads why not.
MeetingMessage MakeOffer(const IceSide& ice, const online::Versions& mine, const Key& sessionKey,
                         const std::string& guestUfrag, std::int64_t now);
// A guest's request to join.
MeetingMessage MakeAnswer(const IceSide& ice, const online::Versions& mine, const Key& sessionKey,
                          std::int64_t now);
// The host's reply to a guest that came after the one it took.
MeetingMessage MakeTaken(const std::string& guestUfrag, std::int64_t now);

// What a guest does with a message it read in the room.
struct GuestReading {
    bool Answer = false; // the host's offer to this guest, to connect with
    std::string Refusal; // not empty: the room cannot be joined, and why
};
// ownUfrag: the guest's own ICE user fragment; replies to other guests are
// no concern of this one.
GuestReading ReadAsGuest(const MeetingMessage& message, const online::Versions& mine,
                         const std::string& ownUfrag, std::int64_t now);

// What a host does with a message it read in the room.
enum class HostReading {
    Ignore,   // not a guest's fresh request (garbage, old, its own kind)
    Take,     // a guest of the host's own version
    Mismatch, // a guest of another version: told so, not taken
};
HostReading ReadAsHost(const MeetingMessage& message, const online::Versions& mine,
                       std::int64_t now);

} // namespace meeting
