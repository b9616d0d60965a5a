#pragma once
// Two players meeting in a room by its code: the host stays in the room's
// topic; a guest asks there with its ICE side and the host replies with its
// own (or says the room is taken); then ICE finds a pair. Nothing is left on
// the server. Each side ends with the run's packet key, or with words for
// the player.

#include "meeting/room_exchange.h"
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
    // A guest waits this long for the host's reply to its request.
    std::chrono::milliseconds Offer = std::chrono::seconds(5);
    std::chrono::milliseconds Connecting = std::chrono::seconds(20);
};

enum class MeetingStage {
    Gathering,  // finding this machine's addresses (and its outside ones)
    InRoom,     // the host waits for a guest; a guest waits for the host's reply
    Connecting, // the two try the pairs of addresses
};

// Shared with whoever shows the meeting's progress from another thread.
struct MeetingWatch {
    std::atomic<bool> Cancel = false; // set: the wait ends with no error
    std::atomic<MeetingStage> Stage = MeetingStage::Gathering;
};

struct MeetingOutcome {
    bool Met = false;
    std::string Error; // when not met: what the player is told
    meeting::Key PacketKey{};
    std::string GuestUfrag; // the host's: the guest it took
};

// client: connected to the room's topic; ice: started with Controlling set
// for the host.
MeetingOutcome MeetAsHost(MeetingClient& client, IceTransport& ice, const std::string& code,
                          const online::Versions& mine, const MeetingTimes& times = {},
                          MeetingWatch* watch = nullptr);
MeetingOutcome MeetAsGuest(MeetingClient& client, IceTransport& ice, const std::string& code,
                           const online::Versions& mine, const MeetingTimes& times = {},
                           MeetingWatch* watch = nullptr);

// The host's reply to a guest's request it does not take (reading: what
// ReadAsHost made of it): the room has its guest, or another version asks.
void RefuseGuest(MeetingClient& client, const meeting::MeetingMessage& request,
                 meeting::HostReading reading, const online::Versions& mine,
                 const meeting::Key& roomKey);

} // namespace net
