// mosquitto and coturn of a test script's own on loopback (see
// meeting_servers.h): prints "mqtt PORT turn PORT" once both listen, or the
// reason they did not (status 1; 77 when one is not installed), and stops
// both on SIGTERM or SIGINT.
#include "support/meeting_servers.h"

#include <signal.h>
#include <unistd.h>

#include <iostream>

namespace {

volatile sig_atomic_t stopAsked = 0;

} // namespace

int main() {
    if (const std::string missing = testsupport::MeetingServers::Missing(); !missing.empty()) {
        std::cerr << "not installed: " << missing << '\n';
        return 77;
    }
    struct sigaction stop {};
    stop.sa_handler = [](int) { stopAsked = 1; };
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);
    testsupport::MeetingServers servers;
    if (!servers.Start()) {
        std::cerr << servers.Error() << '\n';
        return 1;
    }
    std::cout << "mqtt " << servers.MqttPort() << " turn " << servers.TurnPort() << std::endl;
    while (!stopAsked) {
        pause();
    }
    return 0;
}
