#include "platform/net/room_meeting.h"

#include "meeting/room_exchange.h"

#include <ctime>

namespace net {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The wall clock: messages carry it so that the other side can tell their age.
std::int64_t Now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

// The server forgets a message no one heard after this long.
constexpr std::uint32_t kMessageSeconds = 60;
// A guest asks again this often while no reply came (a host that was still
// gathering hears it queued; one that missed it hears it again).
constexpr auto kAskEvery = 1500ms;

bool Cancelled(const MeetingWatch* watch) {
    return watch && watch->Cancel.load();
}

void Enter(MeetingWatch* watch, MeetingStage stage) {
    if (watch) {
        watch->Stage = stage;
    }
}

// Only the room's own sealed messages wait in the client's short queue, so
// a stranger's flood cannot push a request or a reply out of it.
void KeepRoomMessages(MeetingClient& client, const meeting::Key& roomKey) {
    client.KeepOnly([roomKey](std::span<const std::uint8_t> message) {
        return meeting::OpenMessage(message, roomKey).has_value();
    });
}

bool Publish(MeetingClient& client, const meeting::MeetingMessage& message,
             const meeting::Key& roomKey, MeetingOutcome& outcome) {
    const auto sealed = meeting::SealMessage(message, roomKey);
    if (!sealed) {
        outcome.Error = "接続情報が大きすぎて送れません(ネットワークのアドレスが多すぎます)。";
        return false;
    }
    if (!client.Publish(*sealed, kMessageSeconds)) {
        outcome.Error = client.Error();
        return false;
    }
    return true;
}

// Gathers our side; a server that does not answer leaves fewer candidates,
// not a failure, as long as there are some.
bool Gather(IceTransport& ice, const MeetingTimes& times, MeetingOutcome& outcome) {
    ice.WaitFor(IceState::Gathered, times.Gathering);
    if (ice.Local().Candidates.empty()) {
        outcome.Error = "この機械のネットワークのアドレスが見つかりません。";
        return false;
    }
    return true;
}

bool Connect(IceTransport& ice, Clock::time_point deadline, const MeetingWatch* watch,
             MeetingOutcome& outcome) {
    while (!ice.WaitFor(IceState::Connected, 100ms)) {
        if (Cancelled(watch)) {
            return false;
        }
        if (Clock::now() >= deadline) {
            break;
        }
    }
    if (ice.State() != IceState::Connected) {
        outcome.Error =
            "相手とつながりません。どちらのネットワークからも届く道が見つかりませんでした。";
        return false;
    }
    return true;
}

// The next message of the room within a moment; nullopt also for anything
// that does not open with the room's key.
std::optional<meeting::MeetingMessage> NextRoomMessage(MeetingClient& client,
                                                       const meeting::Key& roomKey) {
    const auto sealed = client.Receive(100ms);
    return sealed ? meeting::OpenMessage(*sealed, roomKey) : std::nullopt;
}

// Only the room's own messages kept, and this side's addresses gathered:
// false with outcome's words when gathering fails.
bool EnterRoom(MeetingClient& client, IceTransport& ice, const meeting::Key& roomKey,
               const MeetingTimes& times, MeetingWatch* watch, MeetingOutcome& outcome) {
    KeepRoomMessages(client, roomKey);
    Enter(watch, MeetingStage::Gathering);
    if (!Gather(ice, times, outcome)) {
        return false;
    }
    Enter(watch, MeetingStage::InRoom);
    return true;
}

} // namespace

void RefuseGuest(MeetingClient& client, const meeting::MeetingMessage& request,
                 meeting::HostReading reading, const online::Versions& mine,
                 const meeting::Key& roomKey) {
    MeetingOutcome ignored;
    if (reading == meeting::HostReading::Take) {
        Publish(client, meeting::MakeTaken(request.Ice.Ufrag, Now()), roomKey, ignored);
    } else if (reading == meeting::HostReading::Mismatch) {
        Publish(client, meeting::MakeOffer({}, mine, {}, request.Ice.Ufrag, Now()), roomKey,
                ignored);
    }
}

MeetingOutcome MeetAsHost(MeetingClient& client, IceTransport& ice, const std::string& code,
                          const online::Versions& mine, const MeetingTimes& times,
                          MeetingWatch* watch) {
    MeetingOutcome outcome;
    const meeting::Key roomKey = meeting::RoomSealingKey(code);
    const meeting::Key ownKey = meeting::NewSessionKey();
    if (!EnterRoom(client, ice, roomKey, times, watch, outcome)) {
        return outcome;
    }
    std::optional<meeting::MeetingMessage> guest;
    const auto deadline = Clock::now() + times.Guest;
    while (!guest && !Cancelled(watch) && Clock::now() < deadline) {
        const auto message = NextRoomMessage(client, roomKey);
        if (!message) {
            continue;
        }
        const auto reading = meeting::ReadAsHost(*message, mine, Now());
        if (reading == meeting::HostReading::Take) {
            guest = message;
        } else {
            RefuseGuest(client, *message, reading, mine, roomKey);
        }
    }
    if (!guest) {
        if (!Cancelled(watch)) {
            outcome.Error = "30 分待っても相手が来ませんでした。部屋のコードは使えなくなりました。";
        }
        return outcome;
    }
    outcome.GuestUfrag = guest->Ice.Ufrag;
    const auto offer = meeting::MakeOffer(ice.Local(), mine, ownKey, guest->Ice.Ufrag, Now());
    Enter(watch, MeetingStage::Connecting);
    if (!Publish(client, offer, roomKey, outcome) || !ice.SetRemote(guest->Ice, outcome.Error)) {
        return outcome;
    }
    // While the pair is tried, the guest may ask again (its request crossed
    // our reply) and others may come: each hears its answer.
    const auto connectDeadline = Clock::now() + times.Connecting;
    while (ice.State() != IceState::Connected && ice.State() != IceState::Failed &&
           !Cancelled(watch) && Clock::now() < connectDeadline) {
        const auto message = NextRoomMessage(client, roomKey);
        if (!message) {
            continue;
        }
        const auto reading = meeting::ReadAsHost(*message, mine, Now());
        if (reading == meeting::HostReading::Take && message->Ice.Ufrag == guest->Ice.Ufrag) {
            Publish(client, offer, roomKey, outcome);
        } else {
            RefuseGuest(client, *message, reading, mine, roomKey);
        }
    }
    if (!Connect(ice, connectDeadline, watch, outcome)) {
        return outcome;
    }
    outcome.PacketKey = meeting::RunPacketKey(ownKey, guest->SessionKey);
    outcome.Met = true;
    return outcome;
}

MeetingOutcome MeetAsGuest(MeetingClient& client, IceTransport& ice, const std::string& code,
                           const online::Versions& mine, const MeetingTimes& times,
                           MeetingWatch* watch) {
    MeetingOutcome outcome;
    const meeting::Key roomKey = meeting::RoomSealingKey(code);
    const meeting::Key ownKey = meeting::NewSessionKey();
    if (!EnterRoom(client, ice, roomKey, times, watch, outcome)) {
        return outcome;
    }
    const meeting::IceSide own = ice.Local();
    const auto request = meeting::MakeAnswer(own, mine, ownKey, Now());
    std::optional<meeting::MeetingMessage> offer;
    const auto deadline = Clock::now() + times.Offer;
    auto askedAt = Clock::now() - kAskEvery;
    while (!offer && !Cancelled(watch) && Clock::now() < deadline) {
        if (Clock::now() - askedAt >= kAskEvery) {
            if (!Publish(client, request, roomKey, outcome)) {
                return outcome;
            }
            askedAt = Clock::now();
        }
        const auto message = NextRoomMessage(client, roomKey);
        if (!message) {
            continue;
        }
        const auto reading = meeting::ReadAsGuest(*message, mine, own.Ufrag, Now());
        if (!reading.Refusal.empty()) {
            outcome.Error = reading.Refusal;
            return outcome;
        }
        if (reading.Answer) {
            offer = message;
        }
    }
    if (!offer) {
        if (!Cancelled(watch)) {
            outcome.Error = "その部屋が見つかりません。コードが違うか、期限(30 分)が切れたか、"
                            "ホストが部屋を閉じました。";
        }
        return outcome;
    }
    Enter(watch, MeetingStage::Connecting);
    if (!ice.SetRemote(offer->Ice, outcome.Error) ||
        !Connect(ice, Clock::now() + times.Connecting, watch, outcome)) {
        return outcome;
    }
    outcome.PacketKey = meeting::RunPacketKey(offer->SessionKey, ownKey);
    outcome.Met = true;
    return outcome;
}

} // namespace net
