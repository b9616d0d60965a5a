#pragma once
// Which of a machine's IP addresses are worth telling a partner: those that
// work from anywhere, those that work only on the same network (private,
// shared and unique-local ranges), and those a partner cannot use at all
// (loopback, link-local, documentation, multicast, not an address).

#include <string>
#include <string_view>
#include <vector>

namespace online {

enum class AddressReach {
    None,        // of no use to a partner
    SameNetwork, // only a partner on the same network (or carrier network) reaches it
    Anywhere,    // a public address
};

// address: IPv4 or IPv6 in text, a "%zone" suffix allowed.
AddressReach ReachOf(std::string_view address);

// The addresses to tell a partner, those from anywhere first and IPv4 before
// IPv6 within each, the same-network ones marked as such; the unusable left out.
std::vector<std::string> AddressesToTell(const std::vector<std::string>& addresses);

} // namespace online
