#include "game/online_versions.h"

namespace game {

namespace {

// What the rules of a run depend on besides the program: raised when a
// change would make two machines' worlds part.
constexpr std::uint32_t kRulesDataVersion = 1;

OnlineTestSwitches& Switches() {
    static OnlineTestSwitches switches;
    return switches;
}

} // namespace

void SetOnlineTestSwitches(const OnlineTestSwitches& switches) {
    Switches() = switches;
}

const OnlineTestSwitches& CurrentTestSwitches() {
    return Switches();
}

online::Versions OurVersions() {
    const std::string& testVersion = Switches().ProgramVersion;
    return {testVersion.empty() ? PIMURU_VERSION : testVersion, kRulesDataVersion};
}

} // namespace game
