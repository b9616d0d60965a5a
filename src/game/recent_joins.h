#pragma once
// The addresses a player joined last, newest first, kept in the user's state
// folder so that the launcher can offer them again.

#include <string>
#include <vector>

namespace game {

inline constexpr std::size_t kRecentJoinsKept = 5;

// The file in folder; a missing or unreadable one is an empty list.
std::vector<std::string> LoadRecentJoins(const std::string& folder);
// Puts address first (once) and keeps the newest kRecentJoinsKept. A file
// that cannot be written only loses the memory.
void RememberJoin(const std::string& folder, const std::string& address);

} // namespace game
