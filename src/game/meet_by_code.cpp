// Meeting by a room code: both sides enter the room's topic on the meeting
// server, ICE finds a pair (directly, or through the server's relay when
// nothing else works), every datagram on it is sealed with the run's packet
// key, and the handshake and session run over that as over a socket.
#include "game/connect_steps.h"
#include "game/user_settings.h"

#include "meeting/room_code.h"
#include "meeting/room_keys.h"
#include "meeting/sealed_transport.h"
#include "platform/net/ice_transport.h"
#include "platform/net/meeting_client.h"
#include "platform/net/peer_handshake.h"
#include "platform/net/room_keeper.h"
#include "platform/net/room_meeting.h"
#include "platform/net/udp_endpoint.h"

#include <chrono>
#include <future>
#include <iostream>

namespace game {

namespace {

using namespace std::chrono_literals;

constexpr int kHandshakeMs = 10'000;

class MeetingLink : public OnlineLink {
public:
    online::Transport& Transport() override {
        return Welcoming ? static_cast<online::Transport&>(*Welcoming) : *Sealed;
    }
    bool Relayed() const override { return Ice && Ice->Relayed(); }

    // Destroyed from the last up: nothing outlives what it uses.
    net::MeetingClient Client;
    std::unique_ptr<net::IceTransport> Ice;
    std::unique_ptr<meeting::SealedTransport> Sealed;
    std::unique_ptr<net::WelcomingTransport> Welcoming; // the host's
    std::unique_ptr<net::RoomKeeper> Keeper;            // the host's
};

struct Server {
    std::string Host;
    std::uint16_t Port = net::kMeetingPort;
    std::string Shown; // "host:port", for the player
};

std::optional<Server> ParseServer(const std::string& text, std::string& error) {
    const auto parsed = net::ParseHostAndPort(text, net::kMeetingPort, error);
    if (!parsed) {
        error = "ミーティングサーバーの指定が読めません: " + error;
        return std::nullopt;
    }
    return Server{parsed->Host, parsed->Port, parsed->Host + ":" + std::to_string(parsed->Port)};
}

// A meeting server on this machine serves players on this machine: their
// pairs are found on loopback, which ICE otherwise leaves out.
std::vector<std::string> LocalAddressesFor(const std::string& server) {
    if (server == "localhost" || server.starts_with("127.")) {
        return {"127.0.0.1"};
    }
    if (server == "::1") {
        return {"::1"};
    }
    return {};
}

// Runs work on a thread of its own while the window stays alive; the player
// giving up sets watch.Cancel, which work is expected to heed.
template <class Work>
auto WhileShowing(const Cancelled& cancelled, net::MeetingWatch& watch,
                  const std::function<void()>& each, Work work) {
    auto running = std::async(std::launch::async, std::move(work));
    while (running.wait_for(20ms) != std::future_status::ready) {
        if (cancelled()) {
            watch.Cancel = true;
        }
        each();
    }
    return running.get();
}

bool HasRelay(const net::IceTransport& ice) {
    for (const std::string& candidate : ice.Local().Candidates) {
        if (candidate.find(" typ relay") != std::string::npos) {
            return true;
        }
    }
    return false;
}

// Into the room's topic and ICE started: false with error when either fails.
bool EnterRoom(ProgressWindow& progress, MeetingLink& link, const Server& server,
               const std::string& code, bool host, const Cancelled& cancelled, std::string& error) {
    progress.Say("ミーティングサーバー " + server.Shown + " に接続しています…");
    net::MeetingWatch watch;
    const bool connected = WhileShowing(
        cancelled, watch, [] {},
        [&] { return link.Client.Connect(server.Host, server.Port, meeting::RoomTopic(code)); });
    if (!connected) {
        error = cancelled() ? "" : link.Client.Error();
        return false;
    }
    net::IceOptions options;
    options.Controlling = host;
    options.Server = server.Host;
    options.LocalAddresses = LocalAddressesFor(server.Host);
    if (const std::string user = SavedRelayUser(); !user.empty()) {
        options.RelayUser = user;
        options.RelayPassword = SavedRelayPassword();
    }
    link.Ice = std::make_unique<net::IceTransport>(options);
    if (!link.Ice->Start()) {
        error = link.Ice->Error();
        return false;
    }
    return true;
}

// The meeting itself, with the window saying which step it is at. inRoom:
// called once this side waits in the room (its addresses known).
net::MeetingOutcome Meet(ProgressWindow& progress, MeetingLink& link, const std::string& code,
                         bool host, const std::string& waitingWords,
                         const std::function<void()>& inRoom, const Cancelled& cancelled) {
    net::MeetingWatch watch;
    std::optional<net::MeetingStage> shown;
    const auto each = [&] {
        const net::MeetingStage stage = watch.Stage;
        if (shown == stage) {
            return;
        }
        if (!shown || *shown == net::MeetingStage::Gathering) {
            if (stage != net::MeetingStage::Gathering) {
                inRoom(); // however quickly the stages went by
            }
        }
        shown = stage;
        std::string words;
        switch (stage) {
        case net::MeetingStage::Gathering:
            words = "この機械のアドレスを調べています…";
            break;
        case net::MeetingStage::InRoom:
            words = waitingWords;
            break;
        case net::MeetingStage::Connecting:
            words = "相手とつないでいます(直接つながる道を探し、だめなら中継サーバーを通します)…";
            break;
        }
        if (stage != net::MeetingStage::Gathering && !HasRelay(*link.Ice)) {
            words += "\n(中継サーバーが使えないため、直接つながる道だけを試します)";
        }
        progress.Say(words);
    };
    net::MeetingOutcome outcome = WhileShowing(cancelled, watch, each, [&] {
        return host ? net::MeetAsHost(link.Client, *link.Ice, code, OurVersions(), {}, &watch)
                    : net::MeetAsGuest(link.Client, *link.Ice, code, OurVersions(), {}, &watch);
    });
    if (!outcome.Met && !outcome.Error.empty() && link.Ice->State() != net::IceState::Connected &&
        shown == net::MeetingStage::Connecting && !HasRelay(*link.Ice)) {
        outcome.Error += "\n中継サーバーも使えませんでした(断られたか、上限に達しています)。";
    }
    return outcome;
}

std::string PathWords(const MeetingLink& link, int roundTripMs) {
    std::string words =
        link.Relayed() ? "相手と中継サーバー経由で接続しました" : "相手と直接接続しました";
    if (roundTripMs >= 0) {
        words += "(往復 " + std::to_string(roundTripMs) + " ms)";
    }
    return words + "。";
}

} // namespace

std::optional<OnlineConnection> HostByCode(ProgressWindow& progress, const OnlineRequest& request,
                                           const online::Welcome& offer, const Cancelled& cancelled,
                                           std::string& error) {
    const auto server = ParseServer(request.Server, error);
    if (!server) {
        return std::nullopt;
    }
    const std::string code = meeting::NewRoomCode();
    auto link = std::make_unique<MeetingLink>();
    if (!EnterRoom(progress, *link, *server, code, true, cancelled, error)) {
        return std::nullopt;
    }
    const std::string shown = meeting::ShowRoomCode(code);
    const net::MeetingOutcome met = Meet(
        progress, *link, code, true,
        "部屋のコード: " + shown +
            "\n\nこのコードを相手に伝えてください。相手を待っています…\n"
            "(コードは 30 分使えます。相手はひとりだけ入れます)",
        // The host answers in its room now: a script or a chat bot can pass the code on.
        [&shown] { std::cout << "code: " << shown << std::endl; }, cancelled);
    if (!met.Met) {
        error = cancelled() ? "" : met.Error;
        return std::nullopt;
    }
    link->Keeper =
        std::make_unique<net::RoomKeeper>(link->Client, code, met.GuestUfrag, OurVersions());
    link->Sealed = std::make_unique<meeting::SealedTransport>(*link->Ice, met.PacketKey);
    link->Welcoming = std::make_unique<net::WelcomingTransport>(*link->Sealed);
    OnlineConnection connection;
    connection.Start.Run = offer;
    const net::HostResult hosted = net::WaitForPeer(*link->Welcoming, OurVersions(),
                                                    connection.Start.Run, kHandshakeMs, cancelled);
    if (!hosted.Accepted) {
        error = cancelled() ? "" : hosted.Error;
        return std::nullopt;
    }
    progress.Say(PathWords(*link, hosted.RoundTripMs));
    connection.Link = std::move(link);
    return connection;
}

std::optional<OnlineConnection> JoinByCode(ProgressWindow& progress, const OnlineRequest& request,
                                           const Cancelled& cancelled, std::string& error) {
    const auto server = ParseServer(request.Server, error);
    if (!server) {
        return std::nullopt;
    }
    const auto code = meeting::ParseRoomCode(request.Address, error);
    if (!code) {
        return std::nullopt;
    }
    auto link = std::make_unique<MeetingLink>();
    if (!EnterRoom(progress, *link, *server, *code, false, cancelled, error)) {
        return std::nullopt;
    }
    const net::MeetingOutcome met = Meet(
        progress, *link, *code, false, "部屋 " + meeting::ShowRoomCode(*code) + " を探しています…",
        [] {}, cancelled);
    if (!met.Met) {
        error = cancelled() ? "" : met.Error;
        return std::nullopt;
    }
    link->Sealed = std::make_unique<meeting::SealedTransport>(*link->Ice, met.PacketKey);
    const net::JoinResult joined =
        net::JoinPeer(*link->Sealed, OurVersions(), kHandshakeMs, cancelled);
    if (!joined.Welcome) {
        error = cancelled() ? "" : joined.Error;
        return std::nullopt;
    }
    progress.Say(PathWords(*link, joined.RoundTripMs));
    OnlineConnection connection;
    connection.Start.Run = *joined.Welcome;
    connection.Link = std::move(link);
    return connection;
}

} // namespace game
