#pragma once
// The handshake over a real socket, blocking: the guest sends its Hello
// every quarter second until the host answers; the host answers every Hello
// and takes the first guest whose versions match its own as its partner.

#include "online/handshake.h"
#include "platform/net/peer_handshake.h"
#include "platform/net/udp_endpoint.h"

#include <functional>
#include <optional>
#include <string>

namespace net {

// The endpoint's partner is the host afterwards. cancelled: asked between
// tries (Esc in the launcher).
JoinResult Join(UdpEndpoint& endpoint, const HostAndPort& host, const online::Versions& versions,
                int timeoutMs, const std::function<bool()>& cancelled = {});

// offer: the run's start (a fresh session nonce is drawn here, and the start
// time set when the guest is taken). Afterwards other guests are told "busy". onRefused: a
// guest was turned away, with the message for the host's player.
HostResult WaitForGuest(UdpEndpoint& endpoint, const online::Versions& versions,
                        online::Welcome& offer, int timeoutMs,
                        const std::function<void(const std::string&)>& onRefused = {},
                        const std::function<bool()>& cancelled = {});

} // namespace net
