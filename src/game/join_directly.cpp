// Joining by address: straight to the host's address and port, no server.
#include "game/connect_steps.h"

#include "platform/net/handshake_driver.h"
#include "platform/net/udp_endpoint.h"

namespace game {

namespace {

constexpr int kJoinTimeoutMs = 15'000;

class DirectJoinLink : public OnlineLink {
public:
    online::Transport& Transport() override { return Endpoint; }
    bool Relayed() const override { return false; }

    net::UdpEndpoint Endpoint;
};

} // namespace

std::optional<OnlineConnection> JoinDirectly(ProgressWindow& progress, const OnlineRequest& request,
                                             const Cancelled& cancelled, std::string& error) {
    const auto target = net::ParseHostAndPort(request.Address, kDefaultOnlinePort, error);
    if (!target) {
        return std::nullopt;
    }
    auto link = std::make_unique<DirectJoinLink>();
    if (!link->Endpoint.Open(0)) {
        error = "通信を始められません(" + link->Endpoint.Error() + ")。";
        return std::nullopt;
    }
    progress.Say("ホスト " + target->Host + " のポート " + std::to_string(target->Port) +
                 " に参加しています…");
    const net::JoinResult joined =
        net::Join(link->Endpoint, *target, OurVersions(), kJoinTimeoutMs, cancelled);
    if (!joined.Welcome) {
        error = cancelled() ? "" : joined.Error;
        return std::nullopt;
    }
    progress.Say("相手と直接接続しました(往復 " + std::to_string(joined.RoundTripMs) + " ms)。");
    OnlineConnection connection;
    connection.Start.Run = *joined.Welcome;
    connection.Link = std::move(link);
    return connection;
}

} // namespace game
