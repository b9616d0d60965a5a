#pragma once
// The program's command line: which replay to watch, whether to host or
// join an online game, whether to play in a window, the help text, and the one line said about anything not known.
// Qt's own options (-platform, -display …) pass through to Qt. The seat
// options are taken out first, as they apply to the remembered seats.

#include "play/seats.h"

#include <string>
#include <vector>

namespace app {

struct CommandLine {
    bool Help = false;
    bool Windowed = false;  // unticks the launcher's full-screen box
    std::string ReplayFile; // watched at once; absolute, as the program changes folder
    bool Host = false;      // hosts an online game at once, on HostPort
    int HostPort = 7170;
    std::string Join;       // joins this "host[:port]" or room code at once
    bool JoinLooksLikeCode = false; // Join reads as a room code (six code letters, no '.' or ':')
    std::string Server;     // the meeting server "host[:port]"; empty: the saved one, if any
    int InputDelay = -1;    // online: frames, −1 from the round trip
    std::string Error;      // one line when the command line is not understood
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

// Whether what follows --join is a room code rather than an address: six
// letters of the code's alphabet, a dash allowed, no '.' or ':'.
bool LooksLikeRoomCode(const std::string& text);

// `--computer 1|2|both` and `--strength gentle|steady|strong` (also written
// `--computer=2`), which override the remembered choice of seats. Takes the
// two options out of args (the program name first) and applies them to
// choice; other arguments stay. Returns a message for the player when an
// option is wrong, else an empty string (choice then unchanged).
std::string TakeSeatOptions(std::vector<std::string>& args, partner::SeatChoice& choice);

// What --help prints.
std::string HelpText();

} // namespace app
