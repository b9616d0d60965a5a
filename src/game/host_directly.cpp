// Hosting by address: a UDP port of our own, forwarded by the router when it
// agrees, and this machine's addresses to read out to the partner.
#include "game/connect_steps.h"

#include "platform/net/handshake_driver.h"
#include "platform/net/port_mapping.h"
#include "platform/net/udp_endpoint.h"

#include <iostream>

namespace game {

namespace {

constexpr int kHostTimeoutMs = 24 * 3600 * 1000; // the host waits until the player gives up
constexpr int kRouterSearchMs = 1500;

class DirectHostLink : public OnlineLink {
public:
    online::Transport& Transport() override { return Endpoint; }
    bool Relayed() const override { return false; }

    net::UdpEndpoint Endpoint;
    std::unique_ptr<net::PortMapping> Mapping; // the router's forwarding, while it lasts
};

} // namespace

std::optional<OnlineConnection> HostDirectly(ProgressWindow& progress, const OnlineRequest& request,
                                             const online::Welcome& offer,
                                             const Cancelled& cancelled, std::string& error) {
    auto link = std::make_unique<DirectHostLink>();
    net::UdpEndpoint& endpoint = link->Endpoint;
    if (!endpoint.Open(request.Port)) {
        error =
            "ポート " + std::to_string(request.Port) + " で待てません(" + endpoint.Error() + ")。";
        return std::nullopt;
    }
    std::vector<std::string> addresses = LocalAddresses();
    progress.Say("ルーターにポート " + std::to_string(endpoint.Port()) + " の転送を頼んでいます…");
    link->Mapping = std::make_unique<net::PortMapping>(endpoint.Port(), kRouterSearchMs);
    std::cerr << "pimuru: " << link->Mapping->Report() << '\n';
    if (link->Mapping->Mapped() && link->Mapping->ReachableFromOutside()) {
        addresses.insert(addresses.begin(), link->Mapping->ExternalAddress() + "(ルーターの外側)");
    }
    progress.Say("ポート " + std::to_string(endpoint.Port()) + " で相手を待っています。\n" +
                 link->Mapping->Report() + "\n相手に伝えるアドレス:" + AddressLines(addresses));
    OnlineConnection connection;
    connection.Start.Run = offer;
    const net::HostResult hosted = net::WaitForGuest(
        endpoint, OurVersions(), connection.Start.Run, kHostTimeoutMs,
        [&progress](const std::string& refused) {
            std::cerr << "pimuru: " << refused << '\n';
            progress.Say(refused + "\n引き続き相手を待っています。");
        },
        cancelled);
    if (!hosted.Accepted) {
        error = cancelled() ? "" : hosted.Error;
        return std::nullopt;
    }
    progress.Say(hosted.RoundTripMs >= 0 ? "相手と直接接続しました(往復 " +
                                               std::to_string(hosted.RoundTripMs) + " ms)。"
                                         : std::string("相手と直接接続しました。"));
    connection.Link = std::move(link);
    return connection;
}

} // namespace game
