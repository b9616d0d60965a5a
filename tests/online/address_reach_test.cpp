// Which addresses a host tells its partner, and which it marks as working on
// the same network only.
#include "online/address_reach.h"

#include <gtest/gtest.h>

using online::AddressReach;
using online::ReachOf;

TEST(AddressReach, OnlyAddressesAPartnerCanUseAreToldTheLocalOnesMarked) {
    for (const char* none : {"127.0.0.1", "::1", "fe80::1%eth0", "169.254.3.4", "192.0.2.7",
                             "198.51.100.1", "203.0.113.9", "2001:db8::5", "ff02::1", "224.0.0.1",
                             "0.0.0.0", "::", "host.example", ""}) {
        EXPECT_EQ(ReachOf(none), AddressReach::None) << none;
    }
    for (const char* local :
         {"10.1.2.3", "172.16.0.1", "172.31.255.254", "192.168.1.20", "100.64.0.1", "100.127.255.1",
          "fd30::1", "fc00::2", "::ffff:192.168.0.3"}) {
        EXPECT_EQ(ReachOf(local), AddressReach::SameNetwork) << local;
    }
    for (const char* anywhere :
         {"11.30.0.1", "172.32.0.1", "100.128.0.1", "8.8.8.8", "2a00:1450::1", "::ffff:8.8.4.4"}) {
        EXPECT_EQ(ReachOf(anywhere), AddressReach::Anywhere) << anywhere;
    }
    const std::vector<std::string> told =
        online::AddressesToTell({"fe80::1", "fd30::1", "192.168.1.20", "127.0.0.1", "2a00:1450::1",
                                 "2001:db8::1", "11.30.0.1"});
    EXPECT_EQ(told, (std::vector<std::string>{"11.30.0.1", "2a00:1450::1",
                                              "192.168.1.20(同じネットワークの相手だけ)",
                                              "fd30::1(同じネットワークの相手だけ)"}));
}
