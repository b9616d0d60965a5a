#pragma once
// Two players meeting in a room by its code: through the meeting server the
// host offers its ICE side and a guest answers with its own; then ICE finds a
// pair. Each side ends with the run's packet key, or with words for the player.

#include "meeting/room_keys.h"
#include "online/handshake.h"
#include "platform/net/ice_transport.h"
#include "platform/net/meeting_client.h"

#include <atomic>
#include <chrono>
#include <string>

namespace net {

struct MeetingTimes {
    std::chrono::milliseconds Gathering = std::chrono::seconds(10);
    // The host waits this long for its guest; the code is good as long.
    std::chrono::milliseconds Guest = std::chrono::minutes(30);
    // A guest waits this long for the room's offer after hearing the room.
    std::chrono::milliseconds Offer = std::chrono::seconds(5);
    std::chrono::milliseconds Connecting = std::chrono::seconds(20);
};

struct MeetingOutcome {
    bool Met = false;
    std::string Error; // when not met: what the player is told
    meeting::Key PacketKey{};
};

// client: connected to the room's topic; ice: started with Controlling set
// for the host. cancel, when set, ends the wait with no error.
MeetingOutcome MeetAsHost(MeetingClient& client, IceTransport& ice, const std::string& code,
                          const online::Versions& mine, const MeetingTimes& times = {},
                          const std::atomic<bool>* cancel = nullptr);
MeetingOutcome MeetAsGuest(MeetingClient& client, IceTransport& ice, const std::string& code,
                           const online::Versions& mine, const MeetingTimes& times = {},
                           const std::atomic<bool>* cancel = nullptr);

} // namespace net
