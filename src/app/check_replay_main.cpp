// pimuru-check-replay FILE…: the replay check alone, without Qt, so that it
// builds for any processor (a cross build checks that replays recorded here
// play the same there).
#include "app/check_replay_command.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> files(argv + 1, argv + argc);
    return app::CheckReplayFiles(files, std::cout, std::cerr);
}
