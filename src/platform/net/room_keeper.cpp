#include "platform/net/room_keeper.h"

#include "platform/net/room_meeting.h"

#include <ctime>

namespace net {

RoomKeeper::RoomKeeper(MeetingClient& client, const std::string& code, std::string guestUfrag,
                       online::Versions mine)
    : client_(client), code_(code), guestUfrag_(std::move(guestUfrag)), mine_(std::move(mine)),
      thread_([this] { Keep(); }) {}

RoomKeeper::~RoomKeeper() {
    stopping_ = true;
    thread_.join();
}

void RoomKeeper::Keep() {
    const meeting::Key roomKey = meeting::RoomSealingKey(code_);
    while (!stopping_) {
        const auto sealed = client_.Receive(std::chrono::milliseconds(100));
        const auto message = sealed ? meeting::OpenMessage(*sealed, roomKey) : std::nullopt;
        if (!message || message->Ice.Ufrag == guestUfrag_) {
            continue;
        }
        const auto reading = meeting::ReadAsHost(*message, mine_, std::time(nullptr));
        RefuseGuest(client_, *message, reading, mine_, roomKey);
    }
}

} // namespace net
