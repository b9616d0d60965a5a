#include "online/address_reach.h"

#include <arpa/inet.h>

#include <array>
#include <cstdint>

namespace online {

namespace {

using V4 = std::array<std::uint8_t, 4>;
using V6 = std::array<std::uint8_t, 16>;

// Whether the first `bits` bits of the address equal those of `prefix`.
template <std::size_t N>
bool InPrefix(const std::array<std::uint8_t, N>& address, const std::array<std::uint8_t, N>& prefix,
              int bits) {
    for (std::size_t i = 0; bits > 0; ++i, bits -= 8) {
        const auto mask = static_cast<std::uint8_t>(bits >= 8 ? 0xFF : 0xFF << (8 - bits));
        if ((address[i] & mask) != (prefix[i] & mask)) {
            return false;
        }
    }
    return true;
}

AddressReach ReachOfV4(const V4& a) {
    struct Range {
        V4 Prefix;
        int Bits;
        AddressReach Reach;
    };
    static constexpr Range kRanges[] = {
        {{0, 0, 0, 0}, 8, AddressReach::None},         // "this network"
        {{127, 0, 0, 0}, 8, AddressReach::None},       // loopback
        {{169, 254, 0, 0}, 16, AddressReach::None},    // link-local
        {{192, 0, 2, 0}, 24, AddressReach::None},      // documentation
        {{198, 51, 100, 0}, 24, AddressReach::None},   // documentation
        {{203, 0, 113, 0}, 24, AddressReach::None},    // documentation
        {{224, 0, 0, 0}, 3, AddressReach::None},       // multicast, reserved, broadcast
        {{10, 0, 0, 0}, 8, AddressReach::SameNetwork}, // private
        {{172, 16, 0, 0}, 12, AddressReach::SameNetwork},
        {{192, 168, 0, 0}, 16, AddressReach::SameNetwork},
        {{100, 64, 0, 0}, 10, AddressReach::SameNetwork}, // shared by a carrier's customers
    };
    for (const Range& range : kRanges) {
        if (InPrefix(a, range.Prefix, range.Bits)) {
            return range.Reach;
        }
    }
    return AddressReach::Anywhere;
}

AddressReach ReachOfV6(const V6& a) {
    static constexpr V6 kMappedV4{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    if (InPrefix(a, kMappedV4, 96)) {
        return ReachOfV4({a[12], a[13], a[14], a[15]});
    }
    if (InPrefix(a, V6{0x20, 0x01, 0x0D, 0xB8}, 32) || InPrefix(a, V6{0x3F, 0xFF}, 20)) {
        return AddressReach::None; // documentation
    }
    if (InPrefix(a, V6{0xFC}, 7)) {
        return AddressReach::SameNetwork; // unique-local
    }
    // Of the rest only global unicast reaches a partner: not loopback,
    // link-local or multicast.
    return InPrefix(a, V6{0x20}, 3) ? AddressReach::Anywhere : AddressReach::None;
}

bool IsV4(std::string_view address) {
    return address.find(':') == std::string_view::npos;
}

} // namespace

AddressReach ReachOf(std::string_view address) {
    const std::string plain(address.substr(0, address.find('%')));
    V4 v4{};
    if (inet_pton(AF_INET, plain.c_str(), v4.data()) == 1) {
        return ReachOfV4(v4);
    }
    V6 v6{};
    if (inet_pton(AF_INET6, plain.c_str(), v6.data()) == 1) {
        return ReachOfV6(v6);
    }
    return AddressReach::None;
}

std::vector<std::string> AddressesToTell(const std::vector<std::string>& addresses) {
    std::vector<std::string> told;
    for (const AddressReach reach : {AddressReach::Anywhere, AddressReach::SameNetwork}) {
        for (const bool v4 : {true, false}) {
            for (const std::string& address : addresses) {
                if (ReachOf(address) == reach && IsV4(address) == v4) {
                    told.push_back(reach == AddressReach::Anywhere
                                       ? address
                                       : address + "(同じネットワークの相手だけ)");
                }
            }
        }
    }
    return told;
}

} // namespace online
