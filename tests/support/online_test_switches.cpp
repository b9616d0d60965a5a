// Linked into a test build of the program only: reads from the environment
// what the two-game tests change about one side before main runs.
//   PIMURU_TEST_PROGRAM_VERSION  another program version, to meet a partner unlike it
//   PIMURU_TEST_DESYNC_AT        the frame from which this side's world parts
#include "game/online_connect.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const bool kRead = [] {
    game::OnlineTestSwitches switches;
    if (const char* version = std::getenv("PIMURU_TEST_PROGRAM_VERSION"))
        switches.ProgramVersion = version;
    if (const char* frame = std::getenv("PIMURU_TEST_DESYNC_AT")) {
        const char* end = frame + std::strlen(frame);
        const auto [stop, error] = std::from_chars(frame, end, switches.DesyncAtFrame);
        if (error != std::errc() || stop != end || switches.DesyncAtFrame < 0) {
            std::fprintf(stderr, "PIMURU_TEST_DESYNC_AT is no frame number: %s\n", frame);
            std::exit(2);
        }
    }
    game::SetOnlineTestSwitches(switches);
    return true;
}();

} // namespace
