#pragma once
// The short code a host reads out and a guest types to meet in a room: six
// characters from an alphabet without look-alikes (no 0/O, 1/I/L), shown in
// two groups of three, read back forgivingly.

#include <optional>
#include <string>
#include <string_view>

namespace meeting {

inline constexpr std::string_view kRoomCodeAlphabet = "23456789ABCDEFGHJKMNPQRSTUVWXYZ";
inline constexpr std::size_t kRoomCodeLength = 6;

// A fresh code from the system's random source, in its plain form ("K7Q4MX").
std::string NewRoomCode();

// The code as players see it: "K7Q-4MX".
std::string ShowRoomCode(const std::string& code);

// What a player typed, as the plain code: lower case is read as upper case;
// spaces and dashes anywhere are ignored. nullopt with a message for the
// player when it is not a code.
std::optional<std::string> ParseRoomCode(std::string_view text, std::string& error);

} // namespace meeting
