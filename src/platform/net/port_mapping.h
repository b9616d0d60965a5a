#pragma once
// Asks the router for a UDP port to be forwarded to this machine (UPnP IGD
// through libminiupnpc), so that a partner outside can reach a host behind
// it, and takes the mapping back when the object goes.

#include <cstdint>
#include <string>

namespace net {

class PortMapping {
public:
    // Searches the network for a router for up to searchMs and asks it to
    // forward the port (UDP) here. Blocks meanwhile.
    PortMapping(std::uint16_t port, int searchMs);
    ~PortMapping();
    PortMapping(const PortMapping&) = delete;
    PortMapping& operator=(const PortMapping&) = delete;

    bool Mapped() const { return mapped_; }
    // The router's outside address when mapped (what the partner joins).
    const std::string& ExternalAddress() const { return external_; }
    // For the player: what was done, or why not.
    const std::string& Report() const { return report_; }

private:
    std::uint16_t port_;
    bool mapped_ = false;
    std::string controlUrl_;
    std::string serviceType_;
    std::string external_;
    std::string report_;
};

} // namespace net
