// Feeds arbitrary datagrams to the packet decoder. What decodes must encode
// back to a packet that decodes the same; a decoded Input or End packet is
// then handed to a running session as if from the partner, so that hostile
// but well-formed values (far frames, odd acknowledgements) meet it too.

#include "online/packet.h"
#include "online/session.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

class StillClock : public online::Clock {
public:
    std::int64_t NowUs() const override { return now; }
    std::int64_t now = 0;
};

class OneDatagram : public online::Transport {
public:
    void Send(std::span<const std::uint8_t>) override {}
    std::optional<std::vector<std::uint8_t>> Receive() override {
        auto next = std::move(waiting);
        waiting.reset();
        return next;
    }
    std::optional<std::vector<std::uint8_t>> waiting;
};

std::uint32_t NonceOf(const online::Packet& packet) {
    if (const auto* input = std::get_if<online::InputPacket>(&packet)) {
        return input->SessionNonce;
    }
    if (const auto* end = std::get_if<online::End>(&packet)) {
        return end->SessionNonce;
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto packet = online::DecodePacket({data, size});
    if (!packet) {
        return 0;
    }
    const auto again = online::DecodePacket(online::EncodePacket(*packet));
    if (!again || !(*again == *packet)) {
        std::abort();
    }

    static const game::World start = [] {
        game::World world;
        world.StartRun(false, false);
        return world;
    }();
    StillClock clock;
    OneDatagram transport;
    online::SessionOptions options;
    options.SessionNonce = NonceOf(*packet);
    options.InputDelay = 2;
    online::Session session(start, options, clock, transport);
    game::FrameSink silent;
    for (int tick = 0; tick < 3; ++tick) {
        clock.now += 26'000;
        session.Advance({}, silent);
    }
    transport.waiting.emplace(data, data + size);
    for (int tick = 0; tick < 3; ++tick) {
        clock.now += 26'000;
        session.Advance({1, 0, true}, silent);
    }
    return 0;
}
