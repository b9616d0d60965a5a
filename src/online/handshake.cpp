#include "online/handshake.h"

namespace online {

namespace {

std::string Describe(std::uint8_t protocol, const std::string& program, std::uint32_t data) {
    return (program.empty() ? std::string("?") : program) + "(通信 " + std::to_string(protocol) +
           "、データ " + std::to_string(data) + ")";
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
        return "ホストは既に別の相手と遊んでいます。";
    }
    return "ホストの版は " + Describe(reject.Protocol, reject.ProgramVersion, reject.DataVersion) +
           "、こちらの版は " + Describe(kProtocolVersion, guest.Program, guest.Data) +
           " です。同じ版どうしでないと一緒に遊べません。";
}

std::string RefusalForHost(const Hello& hello, const Versions& host) {
    return "版 " + Describe(hello.Protocol, hello.ProgramVersion, hello.DataVersion) +
           " の相手が参加しようとしました。こちらの版は " +
           Describe(kProtocolVersion, host.Program, host.Data) +
           " です。同じ版どうしでないと一緒に遊べません。";
}

} // namespace online
