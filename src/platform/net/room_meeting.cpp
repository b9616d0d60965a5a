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

constexpr std::uint32_t kRetainSeconds = meeting::kCodeLifetimeSeconds;
constexpr std::uint32_t kAnswerSeconds = 60;

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load();
}

// Only the room's own sealed messages wait in the client's short queue, so
// a stranger's flood cannot push the offer or the answer out of it.
void KeepRoomMessages(MeetingClient& client, const meeting::Key& roomKey) {
    client.KeepOnly([roomKey](std::span<const std::uint8_t> message) {
        return meeting::OpenMessage(message, roomKey).has_value();
    });
}

bool Publish(MeetingClient& client, const meeting::MeetingMessage& message,
             const meeting::Key& roomKey, bool retain, std::uint32_t expiry,
             MeetingOutcome& outcome) {
    const auto sealed = meeting::SealMessage(message, roomKey);
    if (!sealed) {
        outcome.Error = "接続情報が大きすぎて送れません(ネットワークのアドレスが多すぎます)。";
        return false;
    }
    if (!client.Publish(*sealed, retain, expiry)) {
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

bool Connect(IceTransport& ice, Clock::time_point deadline, const std::atomic<bool>* cancel,
             MeetingOutcome& outcome) {
    while (!ice.WaitFor(IceState::Connected, 100ms)) {
        if (Cancelled(cancel)) {
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

} // namespace

MeetingOutcome MeetAsHost(MeetingClient& client, IceTransport& ice, const std::string& code,
                          const online::Versions& mine, const MeetingTimes& times,
                          const std::atomic<bool>* cancel) {
    MeetingOutcome outcome;
    const meeting::Key roomKey = meeting::RoomSealingKey(code);
    const meeting::Key ownKey = meeting::NewSessionKey();
    KeepRoomMessages(client, roomKey);
    if (!Gather(ice, times, outcome) ||
        !Publish(client, meeting::MakeOffer(ice.Local(), mine, ownKey, Now()), roomKey, true,
                 kRetainSeconds, outcome)) {
        return outcome;
    }
    std::optional<meeting::MeetingMessage> answer;
    const auto deadline = Clock::now() + times.Guest;
    while (!answer && !Cancelled(cancel) && Clock::now() < deadline) {
        if (const auto sealed = client.Receive(100ms)) {
            answer = meeting::OpenMessage(*sealed, roomKey);
            if (answer && !meeting::TakeAsHost(*answer, mine, Now())) {
                answer.reset();
            }
        }
    }
    if (!answer) {
        client.Publish({}, true, 0); // the room closes with the host
        if (!Cancelled(cancel)) {
            outcome.Error = "30 分待っても相手が来ませんでした。部屋のコードは使えなくなりました。";
        }
        return outcome;
    }
    // The room is taken from now on: later guests are told so.
    if (!Publish(client, meeting::MakeTaken(answer->Ice.Ufrag, Now()), roomKey, true,
                 kRetainSeconds, outcome) ||
        !ice.SetRemote(answer->Ice, outcome.Error) ||
        !Connect(ice, Clock::now() + times.Connecting, cancel, outcome)) {
        return outcome;
    }
    outcome.PacketKey = meeting::RunPacketKey(ownKey, answer->SessionKey);
    outcome.Met = true;
    return outcome;
}

MeetingOutcome MeetAsGuest(MeetingClient& client, IceTransport& ice, const std::string& code,
                           const online::Versions& mine, const MeetingTimes& times,
                           const std::atomic<bool>* cancel) {
    MeetingOutcome outcome;
    const meeting::Key roomKey = meeting::RoomSealingKey(code);
    const meeting::Key ownKey = meeting::NewSessionKey();
    KeepRoomMessages(client, roomKey);
    if (!Gather(ice, times, outcome)) {
        return outcome;
    }
    const meeting::IceSide own = ice.Local();
    std::optional<meeting::MeetingMessage> offer;
    const auto deadline = Clock::now() + times.Offer;
    while (!offer && !Cancelled(cancel) && Clock::now() < deadline) {
        const auto sealed = client.Receive(100ms);
        const auto message = sealed ? meeting::OpenMessage(*sealed, roomKey) : std::nullopt;
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
        if (!Cancelled(cancel)) {
            outcome.Error = "その部屋が見つかりません。コードが違うか、ホストが部屋を閉じました。";
        }
        return outcome;
    }
    if (!ice.SetRemote(offer->Ice, outcome.Error) ||
        !Publish(client, meeting::MakeAnswer(own, mine, ownKey, Now()), roomKey, false,
                 kAnswerSeconds, outcome)) {
        return outcome;
    }
    // Another guest may have been quicker: the host's word that it took
    // someone else ends the wait as soon as it comes.
    const auto connectDeadline = Clock::now() + times.Connecting;
    while (ice.State() != IceState::Connected && ice.State() != IceState::Failed &&
           !Cancelled(cancel) && Clock::now() < connectDeadline) {
        const auto sealed = client.Receive(100ms);
        const auto message = sealed ? meeting::OpenMessage(*sealed, roomKey) : std::nullopt;
        if (message) {
            const auto reading = meeting::ReadAsGuest(*message, mine, own.Ufrag, Now());
            if (!reading.Refusal.empty()) {
                outcome.Error = reading.Refusal;
                return outcome;
            }
        }
    }
    if (!Connect(ice, connectDeadline, cancel, outcome)) {
        return outcome;
    }
    outcome.PacketKey = meeting::RunPacketKey(offer->SessionKey, ownKey);
    outcome.Met = true;
    return outcome;
}

} // namespace net
