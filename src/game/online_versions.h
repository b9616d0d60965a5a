#pragma once
// What this program tells a partner it is (program and rules versions), and
// what a test build changes about that to meet a partner unlike itself.

#include "online/handshake.h"

#include <cstdint>
#include <string>

namespace game {

// The installed program never sets these.
struct OnlineTestSwitches {
    std::string ProgramVersion;      // empty: the program's own
    std::int32_t DesyncAtFrame = -1; // this side's world parts from the partner's here
};
void SetOnlineTestSwitches(const OnlineTestSwitches& switches);
const OnlineTestSwitches& CurrentTestSwitches();

online::Versions OurVersions();

} // namespace game
