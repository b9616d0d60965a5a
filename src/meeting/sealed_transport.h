#pragma once
// A transport whose every datagram carries a message authentication code made
// with the run's packet key: a datagram that anyone else made or changed on
// the way is dropped and counted before the session sees it.

#include "meeting/room_keys.h"
#include "online/transport.h"

#include <cstdint>

namespace meeting {

// The code's length at the end of every datagram.
inline constexpr std::size_t kPacketMacSize = 16;

class SealedTransport : public online::Transport {
public:
    // inner: the transport to the partner, kept by the caller for as long as
    // this one is used.
    SealedTransport(online::Transport& inner, const Key& packetKey);

    void Send(std::span<const std::uint8_t> datagram) override;
    std::optional<std::vector<std::uint8_t>> Receive() override;

    // Datagrams dropped because their code was wrong or missing.
    std::int64_t ForgedDatagrams() const { return forged_; }

private:
    std::array<std::uint8_t, kPacketMacSize> Mac(std::span<const std::uint8_t> bytes) const;

    online::Transport& inner_;
    Key key_;
    std::int64_t forged_ = 0;
};

} // namespace meeting
