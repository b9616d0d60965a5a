#include "online/handshake.h"

namespace online {

namespace {

std::string Describe(std::uint8_t protocol, const std::string& program, std::uint32_t data) {
    return "version " + (program.empty() ? std::string("?") : program) + " (protocol " +
           std::to_string(protocol) + ", data " + std::to_string(data) + ")";
}

} // namespace

Packet AnswerHello(const Hello& hello, const Versions& host, Welcome offer, bool busy) {
    Reject reject{kProtocolVersion, hello.Nonce, RejectReason::Busy, host.Program, host.Data};
    if (hello.Protocol != kProtocolVersion) {
        reject.Reason = RejectReason::ProtocolMismatch;
    } else if (hello.ProgramVersion != host.Program) {
        reject.Reason = RejectReason::ProgramMismatch;
    } else if (hello.DataVersion != host.Data) {
        reject.Reason = RejectReason::DataMismatch;
    } else if (!busy) {
        offer.HelloNonce = hello.Nonce;
        return offer;
    }
    return reject;
}

std::string RefusalForGuest(const Reject& reject, const Versions& guest) {
    if (reject.Reason == RejectReason::Busy) {
        return "The host is already playing with someone else.";
    }
    return "The host runs " + Describe(reject.Protocol, reject.ProgramVersion, reject.DataVersion) +
           ", this game runs " + Describe(kProtocolVersion, guest.Program, guest.Data) +
           ". Both players need the same version.";
}

std::string RefusalForHost(const Hello& hello, const Versions& host) {
    return "A player with " + Describe(hello.Protocol, hello.ProgramVersion, hello.DataVersion) +
           " tried to join; this game runs " + Describe(kProtocolVersion, host.Program, host.Data) +
           ". Both players need the same version.";
}

} // namespace online
