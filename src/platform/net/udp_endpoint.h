#pragma once
// One UDP socket of an online game (IPv4 and IPv6 on one socket) through Qt
// Network. Before the handshake it hears anyone; once a partner is set it is
// the session's transport to that partner alone, and datagrams from any other
// address are dropped and counted. A repeated Hello from the partner (its
// Welcome was lost) is answered here with the same Welcome; a host answers
// anyone else's Hello with "busy".

#include "online/handshake.h"
#include "online/transport.h"

#include <QHostAddress>
#include <QUdpSocket>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace net {

struct Datagram {
    std::vector<std::uint8_t> Bytes;
    QHostAddress From;
    quint16 Port = 0;
};

class UdpEndpoint : public online::Transport {
public:
    // port 0: any free port. On failure Error() says why.
    bool Open(quint16 port);
    quint16 Port() const { return socket_.localPort(); }
    const std::string& Error() const { return error_; }

    // Before the handshake: the next datagram from anyone, waiting up to waitMs.
    std::optional<Datagram> ReceiveAny(int waitMs);
    void SendTo(std::span<const std::uint8_t> datagram, const QHostAddress& to, quint16 port);
    // Whether a datagram waits or arrives within waitMs; it stays to be received.
    bool WaitForDatagram(int waitMs);

    // From now on only this partner is heard; helloNonce and welcome: the
    // host's answer to repeat when the partner's Hello comes again.
    void SetPartner(const QHostAddress& address, quint16 port, std::uint32_t helloNonce = 0,
                    std::vector<std::uint8_t> welcome = {});
    // A host with its partner: another guest's Hello is refused at once, so
    // that they need not wait for a host that will never answer.
    void RefuseOthers(const online::Versions& host) { refuseAs_ = host; }

    void Send(std::span<const std::uint8_t> datagram) override;
    std::optional<std::vector<std::uint8_t>> Receive() override;

    // Datagrams from others than the partner, dropped (refused Hellos are not counted).
    std::int64_t ForeignDatagrams() const { return foreign_; }

private:
    bool FromPartner(const QHostAddress& address, quint16 port) const;
    // Answers another guest's Hello; false when the datagram is no Hello or nobody is refused.
    bool RefuseHello(const Datagram& datagram);

    QUdpSocket socket_;
    std::string error_;
    QHostAddress partner_;
    quint16 partnerPort_ = 0;
    std::uint32_t helloNonce_ = 0;
    std::vector<std::uint8_t> welcome_;
    std::optional<online::Versions> refuseAs_;
    std::int64_t foreign_ = 0;
};

// An address or host name and port as a player types it: "host", "host:port",
// "[v6]:port" or a bare IPv6 address. nullopt with a message when it is not one.
struct HostAndPort {
    std::string Host;
    quint16 Port = 0;
};
std::optional<HostAndPort> ParseHostAndPort(const std::string& text, quint16 defaultPort,
                                            std::string& error);

} // namespace net
