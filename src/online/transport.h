#pragma once
// Datagrams to and from the one partner of a session. The UDP back end keeps
// out everything from other addresses; tests put a simulated link here.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace online {

class Transport {
public:
    virtual ~Transport() = default;
    virtual void Send(std::span<const std::uint8_t> datagram) = 0;
    // The next datagram that has arrived, nullopt when none waits.
    virtual std::optional<std::vector<std::uint8_t>> Receive() = 0;
};

} // namespace online
