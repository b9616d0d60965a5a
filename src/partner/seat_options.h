#pragma once
// The command-line options that choose the computer's seats before the
// launcher shows: `--computer 1|2|both` and `--strength gentle|steady|strong`
// (also written `--computer=2`). They override the remembered choice.

#include "play/seats.h"

#include <string>
#include <vector>

namespace partner {

// Takes the two options out of args (the program name first) and applies
// them to choice; other arguments stay. Returns a message for the player
// when an option is wrong, else an empty string (choice then unchanged).
std::string TakeSeatOptions(std::vector<std::string>& args, SeatChoice& choice);

} // namespace partner
