// Asks the router for a port with the game's own port mapping, says what
// happened, holds the mapping until a line arrives on standard input, then
// lets it go: a test checks the router's rules in between.
//   pimuru_map_port PORT [LEASE-SECONDS]  →  "mapped EXTERNAL-ADDRESS" or
//   "not mapped", then the report the player would see
#include "platform/net/port_mapping.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s PORT [LEASE-SECONDS]\n", argv[0]);
        return 2;
    }
    const int lease = argc == 3 ? std::atoi(argv[2]) : net::PortMapping::kLeaseSeconds;
    {
        net::PortMapping mapping(static_cast<std::uint16_t>(std::atoi(argv[1])), 2000, lease);
        std::cout << (mapping.Mapped() ? "mapped " + mapping.ExternalAddress() : "not mapped")
                  << '\n'
                  << mapping.Report() << std::endl;
        std::string line;
        std::getline(std::cin, line);
    }
    std::cout << "released" << std::endl;
    return 0;
}
