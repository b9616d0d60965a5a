#pragma once
// Two online sessions, host and guest, playing one run over a simulated
// link on a virtual clock. Each side's player is a script that chases the
// ball in its own (possibly predicted) world, so that the ball is struck,
// passed and lost and drifters burst. The run ends with a quit from the host
// once enough frames are confirmed.

#include "online/session.h"
#include "rules/world_types.h"
#include "support/sim_link.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace onlinetest {

struct PairSetup {
    LinkConditions Link;
    std::uint32_t Seed = 1;
    std::int32_t Frames = 5000;           // confirmed frames before the host quits
    int InputDelay = -1;                  // −1: chosen from the link's round trip
    bool MeasureDelay = false;            // the sessions choose it from the round trip they measure
    std::int32_t ForceDesyncAtFrame = -1; // on the guest
    // The guest's frames are this much longer: two machines' clocks differ.
    std::int32_t GuestDriftPpm = 300;
    // Each side keeps a copy of every datagram it sent (SideResult::Sent).
    bool RecordSent = false;
};

struct SideResult {
    online::SessionStats Stats;
    std::optional<online::SessionEnd> End;
    std::vector<game::FrameInput> Confirmed; // what the world was given, frame by frame
    std::vector<std::uint64_t> Checksums;    // of the world after each confirmed frame
    std::array<int, 7> Sounds{};             // sounds played, by effect
    std::int64_t FramesDrawn = 0;            // frames whose drawing finished
    std::int64_t TickCount = 0;
    int InputDelay = 0; // at the end
    std::vector<std::vector<std::uint8_t>> Sent; // with PairSetup::RecordSent
};

struct PairRun {
    std::array<SideResult, 2> Sides; // host, guest
    std::int64_t DurationUs = 0;     // virtual time from the host's start to both ends
    std::array<LinkCounts, 2> Link;
    int InputDelay = 0;
};

PairRun RunPair(const PairSetup& setup);

} // namespace onlinetest
