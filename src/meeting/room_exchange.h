#pragma once
// The steps of a meeting in a room, apart from the server and the ICE agent
// that carry them: the host offers, a guest answers, the host says whom it
// took. What a guest or a host makes of a message it reads is decided here,
// with the words a player sees when the room cannot be joined.

#include "meeting/meeting_message.h"
#include "online/handshake.h"

#include <cstdint>
#include <string>

namespace meeting {

MeetingMessage MakeOffer(const IceSide& ice, const online::Versions& mine, const Key& sessionKey,
                         std::int64_t now);
MeetingMessage MakeAnswer(const IceSide& ice, const online::Versions& mine, const Key& sessionKey,
                          std::int64_t now);
// Kept in the room in the offer's place, so later guests learn it is taken.
MeetingMessage MakeTaken(const std::string& guestUfrag, std::int64_t now);

// What a guest does with a message it read in the room.
struct GuestReading {
    bool Answer = false; // an offer it can answer
    std::string Refusal; // not empty: the room cannot be joined, and why
};
// ownUfrag: the guest's own ICE user fragment (the host's word that it took
// this guest is no refusal).
GuestReading ReadAsGuest(const MeetingMessage& message, const online::Versions& mine,
                         const std::string& ownUfrag, std::int64_t now);

// Whether a host takes this message as its guest's answer.
bool TakeAsHost(const MeetingMessage& message, const online::Versions& mine, std::int64_t now);

} // namespace meeting
