#pragma once
// A host's room after it met its guest: for as long as the run lasts, anyone
// else who asks with the code is told at once that the room is taken, rather
// than waiting for a reply that never comes.

#include "online/handshake.h"
#include "platform/net/meeting_client.h"

#include <atomic>
#include <string>
#include <thread>

namespace net {

class RoomKeeper {
public:
    // client: the host's, still in the room; guestUfrag: the guest it took
    // (whose repeated requests need no answer).
    RoomKeeper(MeetingClient& client, const std::string& code, std::string guestUfrag,
               online::Versions mine);
    ~RoomKeeper();
    RoomKeeper(const RoomKeeper&) = delete;
    RoomKeeper& operator=(const RoomKeeper&) = delete;

private:
    void Keep();

    MeetingClient& client_;
    std::string code_;
    std::string guestUfrag_;
    online::Versions mine_;
    std::atomic<bool> stopping_ = false;
    std::thread thread_;
};

} // namespace net
