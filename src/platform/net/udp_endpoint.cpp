#include "platform/net/udp_endpoint.h"

#include "online/packet.h"

#include <QNetworkDatagram>

namespace net {

namespace {

// Addresses compare as IPv6 so that an IPv4 partner seen through the dual
// stack socket (::ffff:a.b.c.d) is the same partner.
bool SameAddress(const QHostAddress& a, const QHostAddress& b) {
    return a.isEqual(b, QHostAddress::TolerantConversion);
}

} // namespace

bool UdpEndpoint::Open(quint16 port) {
    if (!socket_.bind(QHostAddress::Any, port)) {
        error_ = socket_.errorString().toStdString();
        return false;
    }
    return true;
}

std::optional<Datagram> UdpEndpoint::ReceiveAny(int waitMs) {
    if (!socket_.hasPendingDatagrams() && !socket_.waitForReadyRead(waitMs)) {
        return std::nullopt;
    }
    if (!socket_.hasPendingDatagrams()) {
        return std::nullopt;
    }
    const QNetworkDatagram datagram = socket_.receiveDatagram(online::kMaxPacketSize + 1);
    const QByteArray data = datagram.data();
    return Datagram{{data.begin(), data.end()},
                    datagram.senderAddress(),
                    static_cast<quint16>(datagram.senderPort())};
}

bool UdpEndpoint::WaitForDatagram(int waitMs) {
    return socket_.hasPendingDatagrams() || socket_.waitForReadyRead(waitMs);
}

void UdpEndpoint::SendTo(std::span<const std::uint8_t> datagram, const QHostAddress& to,
                         quint16 port) {
    socket_.writeDatagram(reinterpret_cast<const char*>(datagram.data()),
                          static_cast<qint64>(datagram.size()), to, port);
}

void UdpEndpoint::SetPartner(const QHostAddress& address, quint16 port, std::uint32_t helloNonce,
                             std::vector<std::uint8_t> welcome) {
    partner_ = address;
    partnerPort_ = port;
    helloNonce_ = helloNonce;
    welcome_ = std::move(welcome);
}

void UdpEndpoint::Send(std::span<const std::uint8_t> datagram) {
    SendTo(datagram, partner_, partnerPort_);
}

std::optional<std::vector<std::uint8_t>> UdpEndpoint::Receive() {
    while (socket_.hasPendingDatagrams()) {
        auto datagram = ReceiveAny(0);
        if (!datagram) {
            return std::nullopt;
        }
        if (!FromPartner(datagram->From, datagram->Port)) {
            if (!RefuseHello(*datagram)) {
                ++foreign_;
            }
            continue;
        }
        if (!welcome_.empty()) {
            const auto packet = online::DecodePacket(datagram->Bytes);
            const auto* hello = packet ? std::get_if<online::Hello>(&*packet) : nullptr;
            if (hello && hello->Nonce == helloNonce_) {
                Send(welcome_);
                continue;
            }
        }
        return std::move(datagram->Bytes);
    }
    return std::nullopt;
}

bool UdpEndpoint::RefuseHello(const Datagram& datagram) {
    if (!refuseAs_) {
        return false;
    }
    const auto packet = online::DecodePacket(datagram.Bytes);
    const auto* hello = packet ? std::get_if<online::Hello>(&*packet) : nullptr;
    if (!hello) {
        return false;
    }
    // A Reject is smaller than the Hello: a forged sender gains nothing.
    SendTo(online::EncodePacket(online::AnswerHello(*hello, *refuseAs_, {}, true)), datagram.From,
           datagram.Port);
    return true;
}

bool UdpEndpoint::FromPartner(const QHostAddress& address, quint16 port) const {
    return port == partnerPort_ && SameAddress(address, partner_);
}

std::optional<HostAndPort> ParseHostAndPort(const std::string& text, quint16 defaultPort,
                                            std::string& error) {
    HostAndPort result{text, defaultPort};
    std::string port;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string::npos) {
            error = "[ ] で囲んだ IPv6 アドレスに ] がありません: " + text;
            return std::nullopt;
        }
        result.Host = text.substr(1, close - 1);
        if (close + 1 < text.size()) {
            if (text[close + 1] != ':') {
                error = "] の後に書けるのは :ポート番号 だけです: " + text;
                return std::nullopt;
            }
            port = text.substr(close + 2);
        }
    } else if (const auto colon = text.find(':');
               colon != std::string::npos && text.find(':', colon + 1) == std::string::npos) {
        result.Host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (result.Host.empty()) {
        error = "参加するホストがありません。";
        return std::nullopt;
    }
    if (!port.empty()) {
        bool ok = false;
        const uint value = QString::fromStdString(port).toUInt(&ok);
        if (!ok || value == 0 || value > 65535) {
            error = "ポート番号(1〜65535)ではありません: " + port;
            return std::nullopt;
        }
        result.Port = static_cast<quint16>(value);
    }
    return result;
}

} // namespace net
