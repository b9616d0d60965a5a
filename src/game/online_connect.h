#pragma once
// Hosting or joining, from the launcher's choice to a run ready to start: a
// small window tells how it goes (the port and addresses, the partner
// connected and the round trip) and its button gives up.

#include "game/online_dialog.h"
#include "online/packet.h"
#include "platform/net/port_mapping.h"
#include "platform/net/udp_endpoint.h"
#include "play/online_play.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace game {

struct OnlineConnection {
    std::unique_ptr<net::UdpEndpoint> Endpoint; // the session's transport
    play::OnlineStart Start;
    std::unique_ptr<net::PortMapping> Mapping; // the host's router forwarding, while it lasts
};

// What a test build of the program changes, to meet a partner unlike itself;
// the installed program never sets it.
struct OnlineTestSwitches {
    std::string ProgramVersion;      // empty: the program's own
    std::int32_t DesyncAtFrame = -1; // this side's world parts from the partner's here
};
void SetOnlineTestSwitches(const OnlineTestSwitches& switches);

// offer: the host's run (carry-over and options); a joiner gets the host's.
// quitAsked: the program is asked to end (its window closed, a signal).
// nullopt with error set when no run follows (error empty: the player gave up).
std::optional<OnlineConnection> ConnectOnline(QWidget* parent, const OnlineRequest& request,
                                              const online::Welcome& offer,
                                              const std::function<bool()>& quitAsked,
                                              std::string& error);

} // namespace game
