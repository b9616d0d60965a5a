// A UDP relay for tests of two game processes: it stands between a guest and
// a host on this machine and holds each datagram back by a delay with jitter
// or drops it, from a seed, since this kernel has no netem. The first sender
// it hears is the guest; what the host answers goes back to it.
//   pimuru_udp_relay LISTEN-PORT HOST-ADDRESS HOST-PORT SEED DELAY-MS JITTER-MS LOSS-PERCENT
#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Pending {
    sockaddr_storage To{};
    socklen_t ToLength = 0;
    std::vector<char> Bytes;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(
            stderr,
            "usage: %s LISTEN-PORT HOST-ADDRESS HOST-PORT SEED DELAY-MS JITTER-MS LOSS-PERCENT\n",
            argv[0]);
        return 2;
    }
    const int listenPort = std::atoi(argv[1]);
    const int delayMs = std::atoi(argv[5]);
    const int jitterMs = std::atoi(argv[6]);
    const double lossPercent = std::atof(argv[7]);
    std::mt19937 dice(static_cast<unsigned>(std::atoi(argv[4])));

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* hostInfo = nullptr;
    if (getaddrinfo(argv[2], argv[3], &hints, &hostInfo) != 0 || !hostInfo) {
        std::fprintf(stderr, "relay: cannot resolve %s\n", argv[2]);
        return 1;
    }
    sockaddr_storage host{};
    std::memcpy(&host, hostInfo->ai_addr, hostInfo->ai_addrlen);
    const socklen_t hostLength = hostInfo->ai_addrlen;
    freeaddrinfo(hostInfo);

    // One dual-stack socket for both sides.
    const int fd = socket(AF_INET6, SOCK_DGRAM, 0);
    int no = 0;
    setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &no, sizeof no);
    sockaddr_in6 local{};
    local.sin6_family = AF_INET6;
    local.sin6_addr = in6addr_any;
    local.sin6_port = htons(static_cast<std::uint16_t>(listenPort));
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        std::perror("relay: bind");
        return 1;
    }
    // The host is reached through the same dual-stack socket: an IPv4 host as ::ffff:a.b.c.d.
    if (host.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(host);
        sockaddr_in6 mapped{};
        mapped.sin6_family = AF_INET6;
        mapped.sin6_port = v4.sin_port;
        mapped.sin6_addr.s6_addr[10] = 0xFF;
        mapped.sin6_addr.s6_addr[11] = 0xFF;
        std::memcpy(&mapped.sin6_addr.s6_addr[12], &v4.sin_addr, 4);
        std::memset(&host, 0, sizeof host);
        std::memcpy(&host, &mapped, sizeof mapped);
    }
    const socklen_t hostSize = host.ss_family == AF_INET6 ? sizeof(sockaddr_in6) : hostLength;

    sockaddr_storage guest{};
    socklen_t guestLength = 0;
    std::multimap<Clock::time_point, Pending> pending;
    std::uniform_real_distribution<double> percent(0.0, 100.0);
    std::uniform_int_distribution<int> jitter(-jitterMs, jitterMs);
    for (;;) {
        int waitMs = 50;
        if (!pending.empty()) {
            const auto until = std::chrono::duration_cast<std::chrono::milliseconds>(
                pending.begin()->first - Clock::now());
            waitMs = std::max(0, static_cast<int>(until.count()));
        }
        pollfd wait{fd, POLLIN, 0};
        poll(&wait, 1, waitMs);
        while (!pending.empty() && pending.begin()->first <= Clock::now()) {
            const Pending& out = pending.begin()->second;
            sendto(fd, out.Bytes.data(), out.Bytes.size(), 0,
                   reinterpret_cast<const sockaddr*>(&out.To), out.ToLength);
            pending.erase(pending.begin());
        }
        if ((wait.revents & POLLIN) == 0) {
            continue;
        }
        sockaddr_storage from{};
        socklen_t fromLength = sizeof from;
        std::vector<char> bytes(2048);
        const ssize_t size = recvfrom(fd, bytes.data(), bytes.size(), 0,
                                      reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (size < 0) {
            continue;
        }
        bytes.resize(static_cast<std::size_t>(size));
        const bool fromHost = fromLength == hostSize && std::memcmp(&from, &host, hostSize) == 0;
        if (!fromHost && guestLength == 0) {
            guest = from;
            guestLength = fromLength;
        }
        if (percent(dice) < lossPercent || (fromHost && guestLength == 0)) {
            continue;
        }
        Pending out;
        out.Bytes = std::move(bytes);
        if (fromHost) {
            out.To = guest;
            out.ToLength = guestLength;
        } else {
            out.To = host;
            out.ToLength = hostSize;
        }
        const int ms = std::max(0, delayMs + (jitterMs > 0 ? jitter(dice) : 0));
        pending.emplace(Clock::now() + std::chrono::milliseconds(ms), std::move(out));
    }
}
