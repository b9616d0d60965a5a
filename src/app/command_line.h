#pragma once
// The program's command line: which replay to watch, whether to host or
// join an online game, whether to play in a window, the help text, and the one line said about anything not known.
// Qt's own options (-platform, -display …) pass through to Qt.

#include <string>

namespace app {

struct CommandLine {
    bool Help = false;
    bool Windowed = false;  // unticks the launcher's full-screen box
    std::string ReplayFile; // watched at once; absolute, as the program changes folder
    bool Host = false;      // hosts an online game at once, on HostPort
    int HostPort = 7170;
    std::string Join;       // joins this "host[:port]" at once
    int InputDelay = -1;    // online: frames, −1 from the round trip
    std::string Error;      // one line when the command line is not understood
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

// What --help prints.
std::string HelpText();

} // namespace app
