#pragma once
// The handshake with a partner a transport already leads to (a pair ICE
// chose, sealed with the run's key): the guest sends its Hello every quarter
// second until the host answers; the host answers with its Welcome and, for
// the rest of the run, answers a repeated Hello again (its Welcome was lost)
// without the session ever seeing it. Blocking, free of Qt.

#include "online/handshake.h"
#include "online/transport.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace net {

struct JoinResult {
    std::optional<online::Welcome> Welcome; // set when the host took us
    std::string Error;                      // otherwise why not, for the player
    int RoundTripMs = 0;                    // from the Hello that was answered
};

struct HostResult {
    bool Accepted = false;
    std::string Error; // the last refusal or the reason nobody came
    int RoundTripMs =
        -1; // from the Welcome to the guest's first packet, when it came within a second
};

// A fresh nonce for a Hello or a session, never 0.
std::uint32_t HandshakeNonce();

// The host's transport to its guest: before the Welcome it passes everything;
// afterwards a Hello is answered with the Welcome again and kept from the session.
class WelcomingTransport : public online::Transport {
public:
    explicit WelcomingTransport(online::Transport& inner) : inner_(inner) {}

    void Welcomed(std::vector<std::uint8_t> welcome) { welcome_ = std::move(welcome); }
    // Whether a Hello came after the Welcome.
    bool HelloRepeated() const { return helloRepeated_; }
    // A datagram received too early, given back to come first again.
    void PutBack(std::vector<std::uint8_t> datagram) { putBack_.push_front(std::move(datagram)); }

    void Send(std::span<const std::uint8_t> datagram) override { inner_.Send(datagram); }
    std::optional<std::vector<std::uint8_t>> Receive() override;

private:
    online::Transport& inner_;
    std::vector<std::uint8_t> welcome_;
    bool helloRepeated_ = false;
    std::deque<std::vector<std::uint8_t>> putBack_;
};

// cancelled: asked between tries (the player gave up).
JoinResult JoinPeer(online::Transport& transport, const online::Versions& versions, int timeoutMs,
                    const std::function<bool()>& cancelled = {});
// offer: the run's start (a fresh session nonce is drawn here, and the start
// time set when the guest is taken).
HostResult WaitForPeer(WelcomingTransport& transport, const online::Versions& versions,
                       online::Welcome& offer, int timeoutMs,
                       const std::function<bool()>& cancelled = {});

} // namespace net
