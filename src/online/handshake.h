#pragma once
// The handshake before a run: the guest's Hello says which protocol, program
// and data it runs; the host answers with the run's start (Welcome) or says
// why not (Reject). Both sides turn a refusal into words for the player.

#include "online/packet.h"

#include <cstdint>
#include <string>
#include <variant>

namespace online {

struct Versions {
    std::string Program;
    std::uint32_t Data = 0;
};

// The host's answer to a Hello. offer: the run's start; its HelloNonce is
// filled in. busy: the host already plays with someone else.
Packet AnswerHello(const Hello& hello, const Versions& host, Welcome offer, bool busy);

// What a refusal means, for the guest who was refused.
std::string RefusalForGuest(const Reject& reject, const Versions& guest);
// What a refused Hello means, for the host who refused it.
std::string RefusalForHost(const Hello& hello, const Versions& host);

} // namespace online
