#pragma once
// Asks the router for a UDP port to be forwarded to this machine (UPnP IGD
// through libminiupnpc), so that a partner outside can reach a host behind
// it, renews the mapping while the object lives and takes it back when the
// object goes.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace net {

class PortMapping {
public:
    // The router forgets a mapping after this long unless it is renewed, so
    // that one left behind (a crash, a power cut) does not stay open.
    static constexpr int kLeaseSeconds = 7200;

    // Searches the network for a router for up to searchMs and asks it to
    // forward the port (UDP) here for leaseSeconds, renewed every half lease.
    // Blocks meanwhile.
    PortMapping(std::uint16_t port, int searchMs, int leaseSeconds = kLeaseSeconds);
    ~PortMapping();
    PortMapping(const PortMapping&) = delete;
    PortMapping& operator=(const PortMapping&) = delete;

    bool Mapped() const { return mapped_; }
    // The router's outside address when mapped.
    const std::string& ExternalAddress() const { return external_; }
    // Whether a partner outside reaches the outside address: not when the
    // router itself sits in a private or a carrier's shared network.
    bool ReachableFromOutside() const { return reachable_; }
    // For the player: what was done, or why not.
    const std::string& Report() const { return report_; }

private:
    int Add() const; // a UPNPCOMMAND_ code
    void RenewUntilStopped();

    std::uint16_t port_;
    int leaseSeconds_;
    bool mapped_ = false;
    bool reachable_ = false;
    std::string controlUrl_;
    std::string serviceType_;
    std::string lanAddress_;
    std::string external_;
    std::string report_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread renewer_;
};

} // namespace net
