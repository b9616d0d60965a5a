// Connects to a meeting server at 127.0.0.1:<port> that the caller made
// drop every packet, and says on its output how long the refusal and the
// clean-up took. Exit 0 when both ended in time and the message names the
// server; run inside a network namespace of the test's own.
#include "platform/net/meeting_client.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    const auto port = static_cast<std::uint16_t>(argc > 1 ? std::atoi(argv[1]) : 1883);
    const auto start = Clock::now();
    std::string error;
    {
        net::MeetingClient client;
        if (client.Connect("127.0.0.1", port, "pimuru/v1/room/00")) {
            std::cout << "connected to a server that should drop everything\n";
            return 1;
        }
        error = client.Error();
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    std::cout << error << "\nrefused and cleaned up in " << ms.count() << " ms\n";
    const bool named = error.find("127.0.0.1:" + std::to_string(port)) != std::string::npos;
    return named && ms < std::chrono::milliseconds(6000) ? 0 : 1;
}
