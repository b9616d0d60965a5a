#pragma once
// What a room code stands for on the meeting server: the one topic the room's
// messages use and the key that seals them, both derived from the code so
// that only those who know the code can find the room or read it; and the key
// of a run's packets, made from both sides' fresh contributions.

#include <array>
#include <cstdint>
#include <string>

namespace meeting {

using Key = std::array<std::uint8_t, 32>;

// "pimuru/v1/room/" and 32 lower-case hex digits. code: the plain code.
std::string RoomTopic(const std::string& code);
// The key of crypto_secretbox for the room's messages.
Key RoomSealingKey(const std::string& code);

// A fresh random key (each side's contribution to a run's packet key).
Key NewSessionKey();
// The run's packet key: both sides compute the same from the host's offer
// and the guest's answer, and neither side alone chooses it.
Key RunPacketKey(const Key& hostKey, const Key& guestKey);

} // namespace meeting
