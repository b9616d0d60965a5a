#include "platform/net/handshake_driver.h"

#include <QElapsedTimer>
#include <QHostInfo>

#include <ctime>

namespace net {

namespace {

constexpr int kHelloEveryMs = 250;

} // namespace

JoinResult Join(UdpEndpoint& endpoint, const HostAndPort& host, const online::Versions& versions,
                int timeoutMs, const std::function<bool()>& cancelled) {
    JoinResult result;
    QHostAddress address(QString::fromStdString(host.Host));
    if (address.isNull()) {
        const QHostInfo info = QHostInfo::fromName(QString::fromStdString(host.Host));
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
            result.Error = "ホスト " + host.Host + " が見つかりません(" +
                           info.errorString().toStdString() + ")。";
            return result;
        }
        address = info.addresses().front();
    }
    online::Hello hello;
    hello.Nonce = HandshakeNonce();
    hello.ProgramVersion = versions.Program;
    hello.DataVersion = versions.Data;
    const auto helloBytes = online::EncodePacket(hello);

    QElapsedTimer clock;
    clock.start();
    qint64 sentAt = -kHelloEveryMs;
    while (clock.elapsed() < timeoutMs) {
        if (cancelled && cancelled()) {
            result.Error = "参加を取り消しました。";
            return result;
        }
        if (clock.elapsed() - sentAt >= kHelloEveryMs) {
            endpoint.SendTo(helloBytes, address, host.Port);
            sentAt = clock.elapsed();
        }
        const auto datagram = endpoint.ReceiveAny(50);
        if (!datagram || datagram->Port != host.Port ||
            !datagram->From.isEqual(address, QHostAddress::TolerantConversion)) {
            continue;
        }
        const auto packet = online::DecodePacket(datagram->Bytes);
        if (const auto* welcome = packet ? std::get_if<online::Welcome>(&*packet) : nullptr;
            welcome && welcome->HelloNonce == hello.Nonce) {
            result.Welcome = *welcome;
            result.RoundTripMs = static_cast<int>(clock.elapsed() - sentAt);
            endpoint.SetPartner(address, host.Port);
            // The Hello once more at once: it tells the host the Welcome came,
            // and when, so that the host too knows the round trip before the run.
            endpoint.Send(helloBytes);
            return result;
        }
        if (const auto* reject = packet ? std::get_if<online::Reject>(&*packet) : nullptr;
            reject && reject->HelloNonce == hello.Nonce) {
            result.Error = online::RefusalForGuest(*reject, versions);
            return result;
        }
    }
    result.Error = "ホスト " + host.Host + " のポート " + std::to_string(host.Port) +
                   " から応答がありません。";
    return result;
}

HostResult WaitForGuest(UdpEndpoint& endpoint, const online::Versions& versions,
                        online::Welcome& offer, int timeoutMs,
                        const std::function<void(const std::string&)>& onRefused,
                        const std::function<bool()>& cancelled) {
    HostResult result;
    offer.SessionNonce = HandshakeNonce();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (cancelled && cancelled()) {
            result.Error = "相手を待つのを取り消しました。";
            return result;
        }
        const auto datagram = endpoint.ReceiveAny(50);
        if (!datagram) {
            continue;
        }
        const auto packet = online::DecodePacket(datagram->Bytes);
        const auto* hello = packet ? std::get_if<online::Hello>(&*packet) : nullptr;
        if (!hello) {
            continue; // nothing is answered but a Hello
        }
        // The run starts now: both replays are dated by it.
        offer.StartedAt = std::time(nullptr);
        const online::Packet answer = online::AnswerHello(*hello, versions, offer, false);
        const auto answerBytes = online::EncodePacket(answer);
        const qint64 welcomedAt = clock.elapsed();
        endpoint.SendTo(answerBytes, datagram->From, datagram->Port);
        if (const auto* welcome = std::get_if<online::Welcome>(&answer)) {
            offer = *welcome;
            endpoint.SetPartner(datagram->From, datagram->Port, hello->Nonce, answerBytes);
            endpoint.RefuseOthers(versions);
            result.Accepted = true;
            // The guest repeats its Hello as soon as the Welcome arrives; the
            // datagram stays, and the session's endpoint answers it.
            if (endpoint.WaitForDatagram(1000)) {
                result.RoundTripMs = static_cast<int>(clock.elapsed() - welcomedAt);
            }
            return result;
        }
        result.Error = online::RefusalForHost(*hello, versions);
        if (onRefused) {
            onRefused(result.Error);
        }
    }
    if (result.Error.empty()) {
        result.Error = "相手が来ませんでした。";
    }
    return result;
}

} // namespace net
